#include "platform/process.h"

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

  if (HasConsole()) Console().Flush();
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace olm::platform
