#include "tools/calendar_moves.h"

#include "platform/clock.h"
#include "text/dates.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

constexpr int16_t kRight = 0x4d00;
constexpr int16_t kLeft = 0x4b00;
constexpr int16_t kDown = 0x5000;
constexpr int16_t kUp = 0x4800;
constexpr int16_t kPageDown = 0x5100;
constexpr int16_t kPageUp = 0x4900;
constexpr int16_t kHome = 0x4700;
constexpr int16_t kEnd = 0x4f00;

bool IsRealDay(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= CalendarMonthLength(static_cast<int16_t>(year), static_cast<int16_t>(month));
}

// Moves by up to a month's worth of days: a day below 1 borrows the length of
// the month before, a day past the month's end carries into the next month.
CalendarDay AddDays(CalendarDay d, int days) {
  d.day = static_cast<int16_t>(d.day + days);
  if (d.day < 1) {
    if (--d.month < 1) {
      d.month = 12;
      --d.year;
    }
    d.day = static_cast<int16_t>(d.day + CalendarMonthLength(d.year, d.month));
  }
  if (d.day > CalendarMonthLength(d.year, d.month)) {
    d.day = static_cast<int16_t>(d.day - CalendarMonthLength(d.year, d.month));
    if (++d.month > 12) {
      d.month = 1;
      ++d.year;
    }
  }
  return d;
}

CalendarDay AddMonths(CalendarDay d, int months) {
  d.month = static_cast<int16_t>(d.month + months);
  if (d.month < 1) {
    d.month = static_cast<int16_t>(d.month + 12);
    --d.year;
  } else if (d.month > 12) {
    d.month = static_cast<int16_t>(d.month - 12);
    ++d.year;
  }
  const int16_t length = CalendarMonthLength(d.year, d.month);
  if (d.day > length) d.day = length;
  return d;
}

}  // namespace

CalendarDay CalendarStartDay(std::string_view workDate) {
  const CalendarDate date = UnpackDate(workDate);
  if (workDate.size() == 4 && IsRealDay(date.year, date.month, date.day)) {
    return {static_cast<int16_t>(date.year), static_cast<int16_t>(date.month), static_cast<int16_t>(date.day)};
  }
  const platform::LocalDateTime now = platform::Now();
  return {static_cast<int16_t>(now.year), static_cast<int16_t>(now.month), static_cast<int16_t>(now.day)};
}

int16_t FirstMonthOfQuarter(int16_t month) { return static_cast<int16_t>((month - 1) / 3 * 3 + 1); }

int16_t CalendarMonthLength(int16_t year, int16_t month) {
  return static_cast<int16_t>(MonthLength(month, IsLeapYear(year)));
}

CalendarDay MoveCalendarDay(CalendarDay day, int16_t key) {
  CalendarDay moved = day;
  switch (key) {
    case kRight: moved = AddDays(day, 1); break;
    case kLeft: moved = AddDays(day, -1); break;
    case kDown: moved = AddDays(day, 7); break;
    case kUp: moved = AddDays(day, -7); break;
    case kPageDown: moved = AddMonths(day, 3); break;
    case kPageUp: moved = AddMonths(day, -3); break;
    case kHome: moved.month = 1; break;
    case kEnd: moved.month = 12; break;
    default: break;
  }
  return moved.year >= 1 && moved.year <= 9999 ? moved : day;
}

std::string PackCalendarDay(CalendarDay d) {
  return PackDigits(ZeroPad(d.year * 10000.0 + d.month * 100 + d.day, 8));
}

}  // namespace olm
