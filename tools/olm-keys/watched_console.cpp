#include "watched_console.h"

namespace olm::keys {

platform::ConsoleEvent WatchedConsole::PollEvent() {
  platform::ConsoleEvent event = inner_->PollEvent();
  if (event.kind != platform::ConsoleEvent::Kind::None) last_ = event;
  return event;
}

}  // namespace olm::keys
