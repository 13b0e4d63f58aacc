#include "platform/virtual_console.h"

#include <gtest/gtest.h>

namespace olm::platform {
namespace {

TEST(VirtualConsoleTest, WaitingPastTheEndOfTheScriptThrowsInsteadOfHanging) {
  VirtualConsole console;
  console.QueueIdle(VirtualConsole::kExhaustedPolls + 10);
  console.QueueKey(0x3b00, kLeftCtrl);
  // Idle polls are part of the script and never count as exhaustion.
  for (int i = 0; i < VirtualConsole::kExhaustedPolls + 10; ++i) {
    ASSERT_EQ(console.PollEvent().kind, ConsoleEvent::Kind::None);
  }
  const ConsoleEvent key = console.PollEvent();
  EXPECT_EQ(key.kind, ConsoleEvent::Kind::Key);
  EXPECT_EQ(key.extended, 0x3b);
  EXPECT_EQ(key.modifiers, kLeftCtrl);
  for (int i = 1; i < VirtualConsole::kExhaustedPolls; ++i) console.PollEvent();
  EXPECT_THROW(console.PollEvent(), VirtualConsole::ScriptExhausted);
}

TEST(VirtualConsoleTest, DumpShowsGlyphsAndRows) {
  VirtualConsole console(4, 2);
  console.PutCell(1, 1, Cell{16, 7});
  console.PutCell(1, 2, Cell{0xD5, 7});
  console.PutCell(2, 4, Cell{'x', 7});
  EXPECT_EQ(console.RowUtf8(1), "►€  ");
  EXPECT_EQ(console.Row(2), "   x");
}

}  // namespace
}  // namespace olm::platform
