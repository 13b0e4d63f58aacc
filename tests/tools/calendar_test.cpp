#include "tools/calendar.h"

#include <gtest/gtest.h>

#include "console/keyboard.h"
#include "console/screen.h"
#include "text/date_display.h"
#include "tools_fixture.h"

namespace olm::testing {
namespace {

constexpr int kAltC = 0x2e00;
constexpr int kRight = 0x4d00, kLeft = 0x4b00, kPageDown = 0x5100, kPageUp = 0x4900;
constexpr int kEsc = 0x1b;

// Screen rows of the calendar: the window's top frame line is row 1, the
// weekday letters row 2, and month i of the quarter has its title on row
// 3 + 7i and its weeks on the six rows below. Inner columns are 60 to 79.
constexpr int kInner = 60;

class CalendarTest : public ToolsTest {
 protected:
  CalendarTest() {
    SetColour("rh");
    for (int row = 1; row <= 25; ++row) {
      SetCursorPosition(row, 1);
      WriteText(std::string(80, '.'));
    }
  }
  std::string Inner(int row) { return Cells(row, kInner, 20); }
  // The title of month block i without the blanks around it.
  std::string Title(int block) {
    std::string t = Inner(3 + 7 * block);
    t.erase(0, t.find_first_not_of(' '));
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
  }
};

TEST_F(CalendarTest, ShowsTheQuarterOfTheWorkingDateWithItHighlighted) {
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(1, 59, 22), "\xDA" + std::string(7, '\xC4') + " 2023 " + std::string(7, '\xC4') + "\xBF");
    EXPECT_EQ(Inner(2), "DL DT DC DJ DV DS DG");
    EXPECT_EQ(Title(0), "ABRIL");
    EXPECT_EQ(Title(1), "MAIG");
    EXPECT_EQ(Title(2), "JUNY");
    // 1 May 2023 is a Monday: 15 May opens the third week row.
    EXPECT_EQ(Inner(11), " 1  2  3  4  5  6  7");
    EXPECT_EQ(Inner(13), "15 16 17 18 19 20 21");
    EXPECT_EQ(Roles(13, kInner, 6), "441001");
    EXPECT_EQ(Roles(10, kInner, 20), std::string(20, '1'));
    EXPECT_EQ(Screen().CursorSize(), 0);
  });
  Screen().QueueKey(kRight);
  Screen().QueueAction([&] { EXPECT_EQ(Roles(13, kInner, 6), "001441"); });
  Screen().QueueAction([&] { EXPECT_EQ(ExitKeys().Keys.size(), 10u); });
  Screen().QueueKey(kEsc);
  const std::string before = Screen().Dump();
  SetExitKeys("a", "4800");
  const ExitKeyTable beforeField = ExitKeys();
  SetExitKeys("+ea", "d,1b");
  const ExitKeyTable field = ExitKeys();

  EXPECT_EQ(ShowCalendar(), "");
  EXPECT_EQ(Screen().Dump(), before);
  EXPECT_EQ(CurrentColourRole(), 2);
  EXPECT_NE(Screen().CursorSize(), 0);
  EXPECT_EQ(ExitKeys(), field);
  SetExitKeys("-", "");
  EXPECT_EQ(ExitKeys(), beforeField);
}

TEST_F(CalendarTest, TitleIsCentredAndTheYearSitsOnTheFrame) {
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(1, 67, 6), " 2023 ");
    EXPECT_EQ(Inner(10), "        MAIG        ");
  });
  Screen().QueueKey(kEsc);
  ShowCalendar();
}

TEST_F(CalendarTest, LeavingTheQuarterRedrawsTheNewOne) {
  Session().WorkDate = PackDigits("20231231");
  Screen().QueueAction([&] { EXPECT_EQ(Title(0), "OCTUBRE"); });
  Screen().QueueKey(kRight);
  Screen().QueueAction([&] {
    EXPECT_EQ(Cells(1, 67, 6), " 2024 ");
    EXPECT_EQ(Title(0), "GENER");
    EXPECT_EQ(Title(2), "MAR\x80");  // Ç in code page 850
    EXPECT_EQ(Roles(4, kInner, 2), "44");  // 1 January 2024, a Monday
  });
  Screen().QueueKey('F');
  EXPECT_EQ(ShowCalendar(), FormatDate(PackDigits("20240101"), 0, "dma"));
}

TEST_F(CalendarTest, MonthsStartingOnSundayAndShortFebruaries) {
  // May 2021 needs six week rows; February 2021 starts on a Monday and fills
  // exactly four, so paging back must blank the other two.
  Session().WorkDate = PackDigits("20210515");
  Screen().QueueAction([&] { EXPECT_EQ(Inner(16), "31                  "); });
  Screen().QueueKey(kPageUp);
  Screen().QueueAction([&] {
    EXPECT_EQ(Title(1), "FEBRER");
    EXPECT_EQ(Inner(11), " 1  2  3  4  5  6  7");
    EXPECT_EQ(Inner(14), "22 23 24 25 26 27 28");
    EXPECT_EQ(Inner(15), std::string(20, ' '));
    EXPECT_EQ(Inner(16), std::string(20, ' '));
  });
  Screen().QueueKey(kPageDown);
  Screen().QueueKey(kPageDown);
  // 1 August 2021 is a Sunday: the last column of the first week row.
  Screen().QueueAction([&] {
    EXPECT_EQ(Title(1), "AGOST");
    EXPECT_EQ(Inner(11), "                   1");
    EXPECT_EQ(Inner(16), "30 31               ");
  });
  Screen().QueueKey(kEsc);
  ShowCalendar();
}

TEST_F(CalendarTest, SpanishHeaderAndMonthNames) {
  Session().Language = "SPA";
  Session().WorkDate = PackDigits("20230210");
  Screen().QueueAction([&] {
    EXPECT_EQ(Inner(2), " L  M  X  J  V  S  D");
    EXPECT_EQ(Title(0), "ENERO");
    EXPECT_EQ(Title(1), "FEBRERO");
    EXPECT_EQ(Title(2), "MARZO");
  });
  Screen().QueueKey(kEsc);
  ShowCalendar();
  Session().Language = "OCI";
  Screen().QueueAction([&] { EXPECT_EQ(Inner(2), "DL DT DC DJ DD DS DG"); });
  Screen().QueueKey(kEsc);
  ShowCalendar();
}

TEST_F(CalendarTest, AcceptGivesTheDateInTheRegionalForm) {
  Session().WorkDate = PackDigits("20230508");
  Screen().QueueKey(kLeft);
  Screen().QueueKey(0x2100);
  EXPECT_EQ(ShowCalendar(), "7/5/2023  ");
  Screen().QueueKey('f');
  EXPECT_EQ(ShowCalendar(), "8/5/2023  ");
}

TEST_F(CalendarTest, AltCTypesTheChosenDateThroughTheKeyReader) {
  Screen().QueueKey(kAltC, platform::kRightAlt);
  Screen().QueueKey(kRight);
  Screen().QueueKey('F');
  EXPECT_EQ(GetKey(), kAltC);
  EXPECT_EQ(PendingKeys(), "16/5/2023 ");
  EXPECT_EQ(InCalendar(), 0);

  PendingKeys().clear();
  Screen().QueueKey(kAltC, platform::kRightAlt);
  Screen().QueueKey(kEsc);
  EXPECT_EQ(GetKey(), kAltC);
  EXPECT_TRUE(PendingKeys().empty());
}

}  // namespace
}  // namespace olm::testing
