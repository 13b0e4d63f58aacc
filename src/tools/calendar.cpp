#include "tools/calendar.h"

#include <cstdio>
#include <string_view>

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"
#include "forms/exit_keys.h"
#include "tools/caller_exit_keys.h"
#include "session/session_settings.h"
#include "text/date_display.h"
#include "text/dates.h"
#include "text/fold_case.h"
#include "tools/calendar_moves.h"

namespace olm {

namespace {

constexpr int16_t kTop = 1, kLeftEdge = 59, kBottom = 24, kRightEdge = 80;
constexpr int16_t kShownCursor = 50;
constexpr int16_t kEsc = 0x1b;
constexpr int16_t kAltF = 0x2100;

// The weekday letters above the columns, Monday first.
std::string_view WeekdayHeader() {
  const std::string_view language = std::string_view(Session().Language).substr(0, 3);
  if (language == "SPA" || language == "GLG") return " L  M  X  J  V  S  D";
  if (language == "OCI") return "DL DT DC DJ DD DS DG";
  return "DL DT DC DJ DV DS DG";
}

int16_t InnerWidth() { return static_cast<int16_t>(WindowInnerRight() - WindowInnerLeft() + 1); }

// The column inside the window where a text of `length` characters stands
// centred.
int16_t CentredColumn(size_t length) {
  return static_cast<int16_t>((WindowInnerRight() - WindowInnerLeft() - static_cast<int>(length) + 1) / 2 + 1);
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%2d", value);
  return text;
}

int16_t Weekday(int16_t year, int16_t month, int16_t day) { return DayOfWeek(PackCalendarDay({year, month, day})); }

// Where a day of the quarter stands inside the window.
struct Cell {
  int16_t row;
  int16_t column;
};
Cell DayCell(CalendarDay d) {
  const int firstWeekday = Weekday(d.year, d.month, 1);
  const int block = d.month - FirstMonthOfQuarter(d.month);
  return {static_cast<int16_t>(7 * block + 2 + (firstWeekday + d.day - 2) / 7 + 1),
          static_cast<int16_t>(3 * Weekday(d.year, d.month, d.day) - 2)};
}

// The title row and six week rows of one month, starting at `titleRow`. Every
// one of the 42 cells is written, so nothing of another month remains.
void DrawMonth(int16_t year, int16_t month, int16_t titleRow) {
  SetColour("n");
  LocateInWindow(titleRow, 1);
  WriteBlanks(InnerWidth());
  const std::string title = FoldCase(FormatDate(PackCalendarDay({year, month, 1}), 2, "m"));
  LocateInWindow(titleRow, CentredColumn(title.size()));
  WriteText(title);

  SetColour("h");
  const int firstWeekday = Weekday(year, month, 1);
  const int length = CalendarMonthLength(year, month);
  for (int cell = 0; cell < 42; ++cell) {
    const int day = cell - firstWeekday + 2;
    LocateInWindow(static_cast<int16_t>(titleRow + 1 + cell / 7), static_cast<int16_t>(3 * (cell % 7) + 1));
    WriteText(day >= 1 && day <= length ? TwoDigits(day) : "  ");
  }
}

// The year on the top frame line, the weekday letters, and the three months
// of the quarter that holds the day.
void DrawQuarter(CalendarDay d) {
  SetColour("n");
  char year[12];
  std::snprintf(year, sizeof year, " %4d ", d.year);
  LocateInWindow(0, CentredColumn(6));
  WriteText(year);
  LocateInWindow(1, 1);
  WriteText(WeekdayHeader());
  const int16_t first = FirstMonthOfQuarter(d.month);
  for (int16_t i = 0; i < 3; ++i) DrawMonth(d.year, static_cast<int16_t>(first + i), static_cast<int16_t>(2 + 7 * i));
}

bool SameQuarter(CalendarDay a, CalendarDay b) {
  return a.year == b.year && FirstMonthOfQuarter(a.month) == FirstMonthOfQuarter(b.month);
}

// Shows the highlighted day while a key is awaited, then writes it back in
// the days' own colour.
int16_t ReadKeyOnDay(CalendarDay d) {
  const Cell cell = DayCell(d);
  LocateInWindow(cell.row, cell.column);
  SetColour("+u");
  WriteText(TwoDigits(d.day));
  const int16_t key = GetKey();
  LocateInWindow(cell.row, cell.column);
  SetColour("-");
  WriteText(TwoDigits(d.day));
  return key;
}

// Moves the highlighted day until the user accepts (the date in the regional
// form) or leaves with Esc ("").
std::string RunCalendarKeys(CalendarDay d) {
  DrawQuarter(d);
  for (;;) {
    const int16_t key = ReadKeyOnDay(d);
    if (key == 'F' || key == 'f' || key == kAltF) return FormatDate(PackCalendarDay(d), 0, "dma");
    if (key == kEsc) return "";
    const CalendarDay moved = MoveCalendarDay(d, key);
    if (!SameQuarter(moved, d)) DrawQuarter(moved);
    d = moved;
  }
}

}  // namespace

// The key reader calls this for Alt+C. The window, colour, cursor and
// exit-key table are given back on both ways out.
std::string ShowCalendar() {
  const CallerExitKeys callerKeys;
  SetExitKeys("ea", "4d00,4b00,5000,4800,5100,4900,4700,4f00,2100,1b");
  SetColour("+n");
  SetCursorShape(0);
  PushWindow(kTop, kLeftEdge, kBottom, kRightEdge);
  DrawWindowFrame(1);

  const std::string result = RunCalendarKeys(CalendarStartDay(Session().WorkDate));

  PopWindow();
  SetCursorShape(kShownCursor);
  SetColour("-");
  callerKeys.Restore();
  return result;
}

}  // namespace olm
