#pragma once
// The console fixture with what the pop-up tools read besides the console:
// a terminal directory for the calculator's state file, the working date and
// language for the calendar, default regional settings, an empty exit-key
// table.

#include "console_fixture.h"
#include "forms/exit_keys.h"
#include "platform/file.h"
#include "text/packed_digits.h"
#include "text/regional_settings.h"

namespace olm::testing {

class ToolsTest : public ConsoleTest {
 protected:
  ToolsTest() {
    environment_.ClearProgramVariables();
    platform::MakeDirectory("term");
    Session().TerminalDir = "term\\";
    Session().Language = "CAT";
    Session().WorkDate = PackDigits("20230515");
    ResetRegionalSettings();
    ResetExitKeyState();
  }
  ~ToolsTest() override {
    ResetExitKeyState();
    ResetRegionalSettings();
  }

  // Screen columns [first, first + count) of a row, as code page 850 bytes.
  std::string Cells(int row, int first, int count) { return Screen().Row(row).substr(first - 1, count); }
  std::string Roles(int row, int first, int count) { return Screen().RoleRow(row).substr(first - 1, count); }

  ScopedEnvironment environment_;
};

}  // namespace olm::testing
