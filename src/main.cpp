#include <memory>

#include "platform/console_backend.h"
#include "platform/terminal_console.h"
#include "session/entry.h"
#include "session/program_end.h"

// Installs the terminal console when the process has a terminal; without
// one the run goes on without a console. A fatal condition deep inside the
// run ends it through ProgramEnd, which unwinds to here, so the terminal is
// given back on that way out too.
int main() {
  if (std::unique_ptr<olm::platform::TerminalConsole> terminal = olm::platform::TerminalConsole::Open()) {
    olm::platform::InstallConsole(std::move(terminal));
  }
  int exitCode = 0;
  try {
    exitCode = olm::RunProgram();
  } catch (const olm::ProgramEnd& end) {
    exitCode = end.exitCode;
  }
  olm::platform::InstallConsole(nullptr);
  return exitCode;
}
