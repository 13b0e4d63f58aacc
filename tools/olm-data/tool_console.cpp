#include "tool_console.h"

namespace olm::datatool {

platform::ConsoleEvent ToolConsole::PollEvent() {
  platform::ConsoleEvent event;
  if (enterNext_) {
    event.kind = platform::ConsoleEvent::Kind::Key;
    event.character = '\r';
  }
  enterNext_ = !enterNext_;
  return event;
}

}  // namespace olm::datatool
