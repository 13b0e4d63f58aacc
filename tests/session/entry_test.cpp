#include "session/entry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "scratch.h"

namespace olm {
namespace {

std::string ProgramPath() {
  const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/trelunax";
}

// Runs the program with an empty environment plus `variables`, without a
// controlling terminal; returns its exit status.
int RunProgramProcess(std::initializer_list<std::string> variables) {
  pid_t child = fork();
  if (child == 0) {
    setsid();
    std::vector<std::string> environment(variables);
    std::vector<char*> envp;
    for (auto& v : environment) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string path = ProgramPath();
    char* argv[] = {path.data(), nullptr};
    execve(path.c_str(), argv, envp.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Entry, EndsWithExitCodeZeroWithoutVariablesOrFiles) {
  testing::ScratchDirectory scratch;
  EXPECT_EQ(RunProgramProcess({}), 0);
}

TEST(Entry, MovesToTheRootDirectory) {
  testing::ScratchDirectory scratch;
  testing::ScopedEnvironment environment;
  environment.ClearProgramVariables();
  std::filesystem::create_directories(scratch.Path() + "root");
  environment.Set("OLMROOT", scratch.Path() + "root/");
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(platform::CurrentDirectory(), scratch.Path() + "root");
}

}  // namespace
}  // namespace olm
