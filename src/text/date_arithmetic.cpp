#include <algorithm>

#include "text/dates.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

long DateNumber(const CalendarDate& d) { return d.year * 10000L + d.month * 100L + d.day; }

// Julian before 1582, Gregorian from then on, as the day counts reckon.
bool IsLeapYearOfItsCalendar(int year) { return year < 1582 ? year % 4 == 0 : IsLeapYear(year); }

int DaysOfMonth(int year, int month) { return MonthLength(month, IsLeapYearOfItsCalendar(year)); }

// Days from `early` to `late` (late not before early): whole years between
// them, the rest of the first year's months, the months before the last
// one's, and the difference of the days. The days dropped in October 1582
// are counted like any other.
long DaysBetween(const CalendarDate& early, const CalendarDate& late) {
  long days = 0;
  for (int y = early.year + 1; y < late.year; ++y) days += IsLeapYearOfItsCalendar(y) ? 366 : 365;
  if (early.year < late.year) {
    for (int m = early.month; m <= 12; ++m) days += DaysOfMonth(early.year, m);
    for (int m = 1; m < late.month; ++m) days += DaysOfMonth(late.year, m);
  } else {
    for (int m = early.month; m < late.month; ++m) days += DaysOfMonth(early.year, m);
  }
  return days + late.day - early.day;
}

// DaysBetween of two dates in either order; never below zero, which only
// dates with impossible months or days could reach.
long DayDistance(CalendarDate a, CalendarDate b) {
  if (DateNumber(b) < DateNumber(a)) std::swap(a, b);
  return std::max(0L, DaysBetween(a, b));
}

}  // namespace

CalendarDate UnpackDate(std::string_view date) {
  std::string digits = UnpackDigits(date);
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  digits = digits.substr(digits.size() - 8);
  const auto value = [&](size_t from, size_t count) { return std::stoi(digits.substr(from, count)); };
  return CalendarDate{value(0, 4), value(4, 2), value(6, 2)};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthLength(int month, bool leap) {
  return 30 + ((1 + ((month + 1) % 9)) % 2) - (month == 2 ? 2 - (leap ? 1 : 0) : 0);
}

int32_t DateDiff(std::string_view a, std::string_view b, std::string_view unit) {
  CalendarDate early = UnpackDate(a), late = UnpackDate(b);
  if (DateNumber(late) < DateNumber(early)) std::swap(early, late);
  long result = 0;
  const char u = unit.size() == 1 ? unit[0] : '\0';
  if (u == 'D' || u == 'd') {
    result = DayDistance(early, late);
  } else if (u == 'M' || u == 'm') {
    result = (late.year - early.year) * 12L + late.month - early.month;
  } else if (u == 'A' || u == 'a') {
    const bool beforeAnniversary =
        early.month > late.month || (early.month == late.month && early.day > late.day);
    result = late.year - early.year - (beforeAnniversary ? 1 : 0);
  }
  // Only dates with impossible months or days can come out below zero.
  return static_cast<int32_t>(std::max(0L, result));
}

// Days since the 1st of January added to the weekday on which the year
// begins, by the leap rule of the calendar in force on that date.
int16_t DayOfWeek(std::string_view date) {
  const CalendarDate d = UnpackDate(date);
  const long s = DayDistance(d, CalendarDate{d.year, 1, 1}) - 1;
  const long y = d.year - 1;
  long weekday;
  if (DateNumber(d) < 15821005)
    weekday = ((y + y / 4) % 7) + 6 + s;
  else
    weekday = ((y + y / 4 - y / 100 + y / 400) % 7) + 1 + s;
  return static_cast<int16_t>((weekday % 7 + 7) % 7 + 1);
}

}  // namespace olm
