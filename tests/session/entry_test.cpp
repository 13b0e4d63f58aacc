#include "session/entry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "platform/file.h"

namespace olm::testing {
namespace {

namespace fs = std::filesystem;

std::string ProgramPath() {
  const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/trelunax";
}

// Runs the built program with an empty environment and no controlling
// terminal; returns its exit status and what it wrote to standard error.
int RunWithoutTerminal(std::string& errors) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    setsid();
    dup2(pipeEnds[1], 2);
    close(pipeEnds[0]);
    std::string path = ProgramPath();
    char* argv[] = {path.data(), nullptr};
    char* envp[] = {nullptr};
    execve(path.c_str(), argv, envp);
    _exit(127);
  }
  close(pipeEnds[1]);
  char buffer[512];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) errors.append(buffer, size_t(got));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using Entry = AppTest;

TEST_F(Entry, WithoutATerminalTheProgramSaysSoAndEndsWithOne) {
  std::string errors;
  EXPECT_EQ(RunWithoutTerminal(errors), 1);
  EXPECT_NE(errors.find("needs a terminal"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

// Without OLMROOT every file is found relative to the start directory: the
// form, the language file and the data files created there.
TEST_F(Entry, EscOnTheFirstScreenEndsWithZeroInTheStartDirectory) {
  Install();
  environment_.Set("OLMROOT", std::nullopt);
  fs::current_path(Root());
  std::string startDirectory = platform::CurrentDirectory();
  std::string directoryInLoop;
  const int exitCode = Run([&](platform::VirtualConsole& c) {
    c.QueueAction([&] { directoryInLoop = platform::CurrentDirectory(); });
    c.QueueKey(kEsc);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(directoryInLoop, startDirectory);
  EXPECT_TRUE(PathExists(Root() + "DADES/PagamV.dat"));
  EXPECT_NE(Row(3).find("CONCEPTE"), std::string::npos);
}

TEST_F(Entry, MovesToTheRootDirectoryBeforeTheScreens) {
  Install();
  std::string directoryInLoop;
  const int exitCode = Run([&](platform::VirtualConsole& c) {
    c.QueueAction([&] { directoryInLoop = platform::CurrentDirectory(); });
    c.QueueKey(kEsc);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(directoryInLoop + "/", Root());
}

// A run that cannot use its form file or open a data file ends, after the
// user has seen the message and pressed a key, with exit code 1.
TEST_F(Entry, FormFileOrDataFileThatCannotBeUsedEndsTheRunWithOne) {
  struct Case {
    const char* name;
    std::function<void(const std::string& root)> breakIt;
  };
  const std::vector<Case> cases = {
      {"no form file", [](const std::string& root) { fs::remove_all(root + "FORMS"); }},
      {"no data template", [](const std::string& root) { fs::remove_all(root + "ddf"); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Install();
    test.breakIt(Root());
    // The message drops keys typed ahead: an empty poll stops that, then a key.
    const int exitCode = Run([](platform::VirtualConsole& c) {
      c.QueueIdle();
      c.QueueKey(kEnter);
    });
    EXPECT_EQ(exitCode, 1);
  }
}

}  // namespace
}  // namespace olm::testing
