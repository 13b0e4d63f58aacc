#include "tools/calculator.h"

#include <gtest/gtest.h>

#include "console/keyboard.h"
#include "console/screen.h"
#include "tools/calculator_state.h"
#include "tools_fixture.h"

namespace olm::testing {
namespace {

constexpr int kAltX = 0x2d00;
constexpr int kLeft = 0x4b00;
constexpr int kRight = 0x4d00;

// The box-drawing rows of a box at column `left`, as code page 850 bytes.
std::string Border(char l, char r) { return l + std::string(24, '\xC4') + r; }

class CalculatorTest : public ToolsTest {
 protected:
  CalculatorTest() {
    SetColour("h");
    for (int row = 1; row <= 25; ++row) {
      SetCursorPosition(row, 1);
      WriteText(std::string(80, static_cast<char>('a' + row % 26)));
    }
    SetCursorShape(50);
  }
  std::string StatePath() const { return scratch_.Path() + "term/OLMCALC.TMP"; }
  std::string Display(int left = 1) { return Cells(24, left, 26); }
};

TEST_F(CalculatorTest, AddsAPercentageOnTheTapeAndGivesTheResult) {
  Screen().QueueText("200+10%=");
  std::string atEnd;
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(18, 1, 26), Border('\xDA', '\xBF'));
    EXPECT_EQ(Cells(19, 1, 26), "\xB3                   200 +\xB3");
    EXPECT_EQ(Cells(20, 1, 26), "\xB3                    10 %\xB3");
    EXPECT_EQ(Cells(21, 1, 26), "\xB3                    20 =\xB3");
    EXPECT_EQ(Cells(22, 1, 26), "\xB3                   220  \xB3");
    EXPECT_EQ(Cells(23, 1, 26), Border('\xC3', '\xB4'));
    EXPECT_EQ(Display(), "\xB3                   220  \xB3");
    EXPECT_EQ(Cells(25, 1, 26), Border('\xC0', '\xD9'));
    EXPECT_EQ(Cells(17, 1, 26), std::string(26, 'r'));  // the screen above the tape stays
    EXPECT_EQ(Screen().CursorSize(), 0);
  });
  Screen().QueueKey('f');
  const std::string before = Screen().Dump();

  EXPECT_EQ(ShowCalculator(), "22000");
  EXPECT_EQ(Screen().Dump(), before);
  EXPECT_EQ(CurrentColourRole(), 0);
  EXPECT_NE(Screen().CursorSize(), 0);
  EXPECT_TRUE(ExitKeys().Keys.empty());
}

// Opened from a field edit, the calculator finds the form driver's saved
// table in the slot; the field must get its own table back, and the form
// driver its saved one afterwards.
TEST_F(CalculatorTest, EmptiesTheExitKeysWhileOpenAndGivesTheFieldsBack) {
  SetExitKeys("a", "4800");
  const ExitKeyTable beforeField = ExitKeys();
  SetExitKeys("+ea", "d,1b=4f00");
  const ExitKeyTable field = ExitKeys();
  Screen().QueueAction([&] { EXPECT_TRUE(ExitKeys().Keys.empty()); });
  Screen().QueueKey(0x1b);
  EXPECT_EQ(ShowCalculator(), "");
  EXPECT_EQ(ExitKeys(), field);
  SetExitKeys("-", "");
  EXPECT_EQ(ExitKeys(), beforeField);
}

TEST_F(CalculatorTest, StateComesBackAtTheNextOpeningAfterEsc) {
  Screen().QueueText("12.5+");
  Screen().QueueKey(kLeft);
  Screen().QueueKey(0x1b);
  EXPECT_EQ(ShowCalculator(), "");
  EXPECT_EQ(ReadCalculatorStateText(ReadFile(StatePath()))->boxColumn, 55);

  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(22, 55, 26), "\xB3                  12'5 +\xB3");
    EXPECT_EQ(Display(55), "\xB3                  12'5  \xB3");
  });
  Screen().QueueText("2=");
  Screen().QueueKey(kRight);
  Screen().QueueAction([&] { EXPECT_EQ(Cells(25, 1, 26), Border('\xC0', '\xD9')); });
  Screen().QueueKey(0x2100);  // Alt+F
  EXPECT_EQ(ShowCalculator(), "1450");
}

TEST_F(CalculatorTest, MovingGivesBackTheScreenBeneathTheOldPlace) {
  Screen().QueueKey(kLeft);
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(25, 1, 54), std::string(54, 'z'));
    EXPECT_EQ(Cells(25, 55, 26), Border('\xC0', '\xD9'));
  });
  Screen().QueueKey(kLeft);
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(25, 54, 26), Border('\xC0', '\xD9'));
    EXPECT_EQ(Cells(25, 80, 1), "z");
  });
  Screen().QueueKey(0x1b);
  ShowCalculator();
}

TEST_F(CalculatorTest, SecondClearGivesBackTheScreenBeneathTheTape) {
  Screen().QueueText("2+3=CC");
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(20, 1, 26), std::string(26, 'u'));
    EXPECT_EQ(Cells(23, 1, 26), Border('\xDA', '\xBF'));
  });
  Screen().QueueText("4+");
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(21, 1, 26), Border('\xDA', '\xBF'));
    EXPECT_EQ(Cells(22, 1, 26), "\xB3                     4 +\xB3");
  });
  Screen().QueueKey(0x1b);
  ShowCalculator();
}

TEST_F(CalculatorTest, DamagedStateFileIsIgnoredAndRewritten) {
  WriteFile(StatePath(), "99,99,x\r\n");
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(23, 1, 26), Border('\xDA', '\xBF'));
    EXPECT_EQ(Display(), "\xB3                     0  \xB3");
  });
  Screen().QueueKey(0x1b);
  EXPECT_EQ(ShowCalculator(), "");
  EXPECT_EQ(ReadFile(StatePath()), CalculatorStateText(CalculatorState{}));
}

TEST_F(CalculatorTest, RefusedDivisionBeepsAndKeepsTheEntry) {
  Screen().QueueText("7/0=");
  Screen().QueueAction([&] { EXPECT_EQ(Display(), "\xB3                     0  \xB3"); });
  Screen().QueueKey(0x1b);
  ShowCalculator();
  EXPECT_EQ(Screen().BeepCount(), 1);
}

TEST_F(CalculatorTest, AltXFeedsTheResultToTheNextReadsAsTyped) {
  Screen().QueueKey(kAltX, platform::kRightAlt);
  Screen().QueueText("3T=f");
  EXPECT_EQ(GetKey(), kAltX);
  std::string typed;
  for (int i = 0; i < 4; ++i) typed += static_cast<char>(GetKey());
  EXPECT_EQ(typed, "-300");
  EXPECT_TRUE(PendingKeys().empty());
  EXPECT_EQ(InCalculator(), 0);

  Screen().QueueKey(kAltX, platform::kRightAlt);
  Screen().QueueKey(0x1b);
  EXPECT_EQ(GetKey(), kAltX);
  EXPECT_TRUE(PendingKeys().empty());
}

}  // namespace
}  // namespace olm::testing
