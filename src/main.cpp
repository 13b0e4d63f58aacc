#include <memory>

#include "platform/console_backend.h"
#include "platform/terminal_console.h"
#include "session/entry.h"

// Installs the terminal console when the process has a terminal; without
// one the run goes on without a console.
int main() {
  if (std::unique_ptr<olm::platform::TerminalConsole> terminal = olm::platform::TerminalConsole::Open()) {
    olm::platform::InstallConsole(std::move(terminal));
  }
  return olm::RunProgram();
}
