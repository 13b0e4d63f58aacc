#pragma once
// A virtual console, colour roles that all differ, a temporary directory and
// a root in a scratch directory, fresh forms and console state and recording
// hooks, for the length of a test.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "console/console_state.h"
#include "forms/form_definition.h"
#include "forms/forms_state.h"
#include "platform/file.h"
#include "platform/virtual_console.h"
#include "scratch.h"
#include "session/session_settings.h"
#include "session/translation.h"
#include "test_hooks.h"

namespace olm::testing {

class FormsTest : public ::testing::Test {
 protected:
  FormsTest() {
    savedSession_ = Session();
    Session().Colours = {{{15, 0}, {7, 0}, {0, 7}, {1, 7}, {14, 1}}};
    Session().RootDir = scratch_.Path();
    Session().TempDir = scratch_.Path() + "tmp\\";
    Session().Language = "CAT";
    Session().MenuName = "";
    platform::MakeDirectory("tmp");
    auto console = std::make_unique<platform::VirtualConsole>();
    console_ = console.get();
    platform::InstallConsole(std::move(console));
    ResetConsoleState();
    ResetFormsState();
    ResetTranslationState();
    ResetHooks();
  }
  ~FormsTest() override {
    ResetHooks();
    ResetFormsState();
    ResetConsoleState();
    platform::InstallConsole(nullptr);
    Session() = savedSession_;
  }

  // Reads a form text into Form(); the test fails when it is refused.
  void UseForm(const std::string& text) { ASSERT_EQ(ReadFormDefinition(text, Form()), 0) << text; }

  platform::VirtualConsole& Screen() { return *console_; }
  std::string ListFilePath() const { return scratch_.Path() + "tmp/Browse.tmp"; }

  ScratchDirectory scratch_;
  platform::VirtualConsole* console_ = nullptr;
  SessionSettings savedSession_;
};

}  // namespace olm::testing
