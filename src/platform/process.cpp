#include "platform/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/codepage.h"
#include "platform/console_backend.h"

namespace olm::platform {

int RunProgramAndWait(std::string_view program, const std::vector<std::string>& arguments) {
  if (program.empty()) return -1;
  // Everything the child needs is built before fork: after it, only
  // async-signal-safe calls are allowed in the child.
  std::vector<std::string> texts;
  texts.push_back(Cp850ToUtf8(program));
  for (const std::string& argument : arguments) texts.push_back(Cp850ToUtf8(argument));
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);

  // A pipe closed on exec tells the parent whether exec succeeded: the child
  // writes to it only when exec failed.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -1;
  if (HasConsole()) Console().Flush();
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (child == 0) {
    close(report[0]);
    execvp(argv[0], argv.data());
    const char failed = 1;
    (void)!write(report[1], &failed, 1);
    _exit(127);
  }
  close(report[1]);
  char failed = 0;
  ssize_t got;
  while ((got = read(report[0], &failed, 1)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (got == 1) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace olm::platform
