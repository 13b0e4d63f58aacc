#include <cstdio>
#include <memory>
#include <string>

#include "platform/console_backend.h"
#include "platform/terminal_console.h"
#include "session/entry.h"

// The program runs on the terminal it was started from; without one there is
// nothing to show its screens on, so it says so and ends.
int main() {
  std::string reason;
  std::unique_ptr<olm::platform::TerminalConsole> terminal = olm::platform::TerminalConsole::Open(&reason);
  if (!terminal) {
    std::fprintf(stderr, "trelunax: this program needs a terminal (%s)\n", reason.c_str());
    return 1;
  }
  olm::platform::InstallConsole(std::move(terminal));
  const int exitCode = olm::RunProgram();
  olm::platform::InstallConsole(nullptr);
  return exitCode;
}
