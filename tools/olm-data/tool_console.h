#pragma once
// The console of a command-line tool: the data layer draws its message boxes
// on an off-screen grid, and every wait for a key is answered at once with
// Enter, so that a message that would wait for the user never stops the tool.

#include "platform/virtual_console.h"

namespace olm::datatool {

class ToolConsole : public platform::VirtualConsole {
 public:
  // Answers "nothing" and Enter in turn: a loop that drops waiting keys ends,
  // and the key wait after it gets its key.
  platform::ConsoleEvent PollEvent() override;

 private:
  bool enterNext_ = false;
};

}  // namespace olm::datatool
