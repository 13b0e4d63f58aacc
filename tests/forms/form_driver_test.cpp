#include "forms/form_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/screen.h"
#include "forms/exit_keys.h"
#include "forms/list_file.h"
#include "forms_fixture.h"

namespace olm::testing {
namespace {

using Calls = std::vector<std::string>;
constexpr int kEnter = 0x0d, kEsc = 0x1b, kUp = 0x4800, kDown = 0x5000, kPgUp = 0x4900, kPgDn = 0x5100;
constexpr int kF2 = 0x3c00, kF4 = 0x3e00;

// Screen 1: A, B (display only), C (starts blank, trail 3, list 1), D (hidden).
// Screen 2: X, continued by screen 3: E, F. Screen 4: a window of display-only G.
const char* const kForm =
    "4,4\n"
    "\"1b,d,4800,5000,4900,5100,3e00\",4,0,0,0,0,0\n"
    "2,1,\"A: \",5,0,0,0,0,0,\"\"\n"
    "3,1,\"B: \",5,0,0,4,0,0,\"\"\n"
    "4,1,\"C: \",5,0,3,1,0,1,\"\"\n"
    "5,1,\"D: \",5,0,0,2,0,0,\"\"\n"
    "\"1b,d,4800,5000,4900,5100,3c00\",1,3,0,0,0,0\n"
    "8,1,\"X: \",4,0,0,0,0,0,\"\"\n"
    "\"1b,d,4800,5000,4900,5100,3c00\",2,0,0,0,0,0\n"
    "10,1,\"E: \",4,0,0,0,0,0,\"\"\n"
    "11,1,\"F: \",4,0,0,0,0,0,\"\"\n"
    "\"1b,d\",1,0,5,10,15,60\n"
    "1,1,\"G: \",4,0,0,4,0,0,\"\"\n"
    "1\n"
    "0,0,3,20,20,59,0,\"T\",0\n";

class FormDriverTest : public FormsTest {
 protected:
  FormDriverTest() { UseForm(kForm); }

  int Run(int screen, int leaveUp = 0, int leaveDown = 0) {
    int16_t s = int16_t(screen), up = int16_t(leaveUp), down = int16_t(leaveDown), key = 0;
    RunFormScreen(s, up, down, key);
    return key;
  }
  void Keys(const std::vector<int>& keys) {
    for (int key : keys) Screen().QueueKey(key);
  }
  // The list file of the list without data file, with `count` lines.
  static void WriteListLines(int count) {
    ListFile list(true);
    for (int i = 1; i <= count; ++i) list.Append(100 + i, "line " + std::to_string(i));
  }
};

TEST_F(FormDriverTest, MovesFieldByFieldCallingTheHooksInOrder) {
  Form().Field(1, 3).FieldValue = "keep ";
  Form().Field(1, 4).FieldValue = "secr ";
  Screen().QueueText("x");
  Keys({kDown, kEnter});  // A, then skip B to C; C left blank
  Screen().QueueText("ab");
  Screen().QueueAction([&] { EXPECT_EQ(Screen().Row(5).substr(3, 5), "XXXXX") << "hidden typing"; });
  // Down on the last field stays (the field starts blank again); Enter leaves.
  Keys({kDown, kEnter});
  EXPECT_EQ(Run(1), kEnter);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 1", "exit 1,1 'x    ' 5000", "exit 1,3 'keep ' d", "exit 1,4 'ab   ' 5000",
                                  "exit 1,4 'secr ' d", "leave 1 d"}));
  EXPECT_EQ(CurrentScreen(), 0);
  EXPECT_EQ(CurrentField(), 0);
  EXPECT_EQ(CurrentFieldText(), "");
  EXPECT_TRUE(ExitKeys().Keys.empty()) << "the caller's exit keys come back";
  EXPECT_EQ(MaskCharacter(), 0);
}

TEST_F(FormDriverTest, AHiddenFieldLeftBlankReachesTheHookWithItsStoredValue) {
  Form().Field(1, 4).FieldValue = "secr ";
  Hooks().fieldExit = [](int16_t, const std::string&, int16_t& field, int16_t&) {
    if (field == 1) field = 3;  // the hook moves the driver to C; Enter goes on to D
    return int16_t(0);
  };
  Keys({kEnter, kEnter});
  EXPECT_EQ(Run(1), kEnter);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 1", "exit 1,1 '     ' d", "exit 1,4 'secr ' d", "leave 1 d"}));
}

TEST_F(FormDriverTest, PgUpLeavesOnlyWhenAllowed) {
  Keys({kPgUp, kEsc});
  EXPECT_EQ(Run(1, 0, 0), kEsc);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 1", "exit 1,1 '     ' 4900", "show 1,1", "leave 1 1b"}));
  EXPECT_EQ(TargetScreen(), 0);
  ResetHooks();
  Keys({kPgUp});
  EXPECT_EQ(Run(1, 1, 0), kPgUp);
  EXPECT_EQ(TargetScreen(), 1);
  ResetHooks();
  Keys({kEnter, kPgDn});  // PgDn on a middle field goes to the last one
  Keys({kEsc, kEsc});
  EXPECT_EQ(Run(1, 1, 1), kEsc);
  EXPECT_EQ(Hooks().calls[2], "exit 1,3 '     ' 5100");
  EXPECT_EQ(Hooks().calls[3], "show 1,4") << "PgDn went to the last field; Esc goes back to the first";
  EXPECT_EQ(Hooks().calls[4], "show 1,1");
}

TEST_F(FormDriverTest, ChainedScreensDescendAndReturn) {
  // Up on the first field of the continuation returns Esc to screen 2,
  // which stays on its last field.
  Keys({kEnter, kUp, kEsc});
  EXPECT_EQ(Run(2), kEsc);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 2", "exit 2,1 '    ' d", "enter 3", "exit 3,1 '    ' 4800", "leave 3 1b",
                                  "show 2,1", "leave 2 1b"}));
  ResetHooks();
  // Enter through the continuation leaves both screens.
  Keys({kF2, kEnter, kEnter});
  EXPECT_EQ(Run(2), kEnter);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 2", "exit 2,1 '    ' 3c00", "enter 3", "exit 3,1 '    ' d", "exit 3,2 '    ' d", "leave 3 d",
                                  "leave 2 d"}));
}

TEST_F(FormDriverTest, TargetScreenSkipsThroughTheChain) {
  Keys({kEnter, kEnter, kPgDn});
  EXPECT_EQ(Run(2, 1, 1), kPgDn);
  EXPECT_EQ(TargetScreen(), 3);
  ResetHooks();
  Keys({kEsc, kEsc});
  EXPECT_EQ(Run(2), kEsc);
  // Screen 2 is drawn but not edited; editing starts on screen 3.
  EXPECT_EQ(Hooks().calls, (Calls{"enter 2", "enter 3", "show 3,1", "leave 3 1b", "show 2,1", "leave 2 1b"}));
  EXPECT_EQ(TargetScreen(), 0);
}

TEST_F(FormDriverTest, AScreenWithoutEditableFieldsAsksToLeaveUntilAllowed) {
  int stays = 2;
  Hooks().screenExit = [&](int16_t, int16_t&) { return int16_t(stays-- > 0 ? 1 : 0); };
  Hooks().screenEnter = [&](int16_t) { EXPECT_EQ(Screen().Row(5).substr(9, 1), "\xC9") << "window framed"; };
  Run(4);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 4", "leave 4 0", "leave 4 0", "leave 4 0"}));
  EXPECT_EQ(Screen().Row(5), std::string(80, ' ')) << "window removed";
}

TEST_F(FormDriverTest, ARejectedFieldIsEditedAgainAfterABeep) {
  int rejections = 1;
  Hooks().fieldExit = [&](int16_t, const std::string&, int16_t&, int16_t&) {
    return int16_t(rejections-- > 0 ? -1 : 0);
  };
  Screen().QueueText("x");
  Keys({kEnter, 'y', kEnter, kEsc, kEsc});
  Run(1);
  EXPECT_EQ(Screen().BeepCount(), 1);
  EXPECT_EQ(Hooks().calls[1], "exit 1,1 'x    ' d");
  EXPECT_EQ(Hooks().calls[2], "exit 1,1 'y    ' d") << "the same text, edited again";
}

TEST_F(FormDriverTest, F4OpensTheFieldsBrowseListAndTheHookTakesThePick) {
  Hooks().browseStart = [](int16_t, std::string&, std::string&) {
    WriteListLines(3);
    return int16_t(0);
  };
  int reopen = 1;
  Hooks().browsePick = [&](int16_t& browse, int16_t, int16_t&) {
    if (reopen-- > 0) browse = 0;
  };
  Keys({kF4, kEnter});                     // A has no list: nothing happens
  Keys({kF4, kEsc});                       // C's list left with Esc: beep, C again
  Keys({kF4, kDown, kEnter, kEnter});      // picked, list reopened and picked again
  Keys({kEsc, kEsc});                      // from D back to A, then leave
  Run(1);
  EXPECT_EQ(Screen().BeepCount(), 1);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 1", "exit 1,1 '     ' d", "start 1", "start 1", "pick 1 1,3", "start 1",
                                  "pick 1 1,3", "show 1,4", "show 1,1", "leave 1 1b"}));
  EXPECT_EQ(PopText(), "") << "the text stack is balanced";
  EXPECT_FALSE(PathExists(ListFilePath()));
}

TEST_F(FormDriverTest, AClickOnAnotherFieldMovesThere) {
  Screen().QueueMouseRelease(1, 5, 2);  // on D's label
  Keys({kEsc, kEsc});
  Run(1);
  EXPECT_EQ(Hooks().calls[1], "exit 1,1 '     ' " + std::string("ff33"));
  EXPECT_EQ(Hooks().calls[2], "show 1,4");
}

TEST_F(FormDriverTest, AScreenTheFormLacksReturnsEsc) {
  EXPECT_EQ(Run(9), kEsc);
  EXPECT_EQ(Run(-9), kEsc);
  EXPECT_TRUE(Hooks().calls.empty());
}

}  // namespace
}  // namespace olm::testing
