#pragma once
// A virtual console installed for the length of a test, with colour roles
// that all differ so that every cell's role can be read back, the temporary
// directory in a scratch directory, and the console layer reset.

#include <gtest/gtest.h>

#include "console/console_state.h"
#include "platform/virtual_console.h"
#include "session/session_settings.h"
#include "platform/file.h"
#include "scratch.h"

namespace olm::testing {

class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() {
    NewScreen();
    savedSession_ = Session();
    Session().Colours = {{{15, 0}, {7, 0}, {0, 7}, {1, 7}, {14, 1}}};
    Session().TempDir = "tmp\\";
    platform::MakeDirectory("tmp");
    ResetConsoleState();
  }
  ~ConsoleTest() override {
    ResetConsoleState();
    platform::InstallConsole(nullptr);
    Session() = savedSession_;
  }

  // A fresh console with an empty script, and the console layer reset.
  void NewScreen() {
    auto console = std::make_unique<platform::VirtualConsole>();
    console_ = console.get();
    platform::InstallConsole(std::move(console));
    ResetConsoleState();
  }

  platform::VirtualConsole& Screen() { return *console_; }
  std::string StackFile() const { return scratch_.Path() + "tmp/WinPush.tmp"; }

  ScratchDirectory scratch_;
  platform::VirtualConsole* console_ = nullptr;
  SessionSettings savedSession_;
};

}  // namespace olm::testing
