#pragma once
// Dates as the records keep them: the eight digits year (4), month (2) and
// day (2) packed into 4 bytes, which compare correctly as bytes; "00000000"
// packed is the empty date. Users type dates as day, month and year, with
// the separators ".", "/" or "-" or by position (DDMMYY...); years of fewer
// than four characters are placed in the hundred years around the system
// date's year. The calendar is Julian before the reform of October 1582.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// The packed date a typed text names; the empty date when it cannot be read.
// Day and month are not validated (IsBadDate does that).
std::string ParseDate(std::string_view typed);

// -1 when the typed text is not a real date (the days dropped in October 1582
// included), 0 when it is.
int16_t IsBadDate(std::string_view typed);

// The digits a user edits for a packed date: day and month in two digits,
// then the year in two digits when ParseDate would complete them to it, else
// in four. Empty when day and month are both 0.
std::string DateDigits(std::string_view date);

// The distance between two packed dates, in either order, in days ("D"),
// months ("M") or whole years ("A"), unit letters in any case; 0 for any
// other unit. Day counts run through October 1582 without its dropped days.
int32_t DateDiff(std::string_view a, std::string_view b, std::string_view unit);

// The weekday of a packed date: 1 Monday .. 7 Sunday, Julian before
// 5 October 1582 and Gregorian from then on.
int16_t DayOfWeek(std::string_view date);

// The year, month and day a packed date holds: the day from its last byte,
// the month from the byte before, the year from the two bytes before those.
struct CalendarDate {
  int year = 0, month = 0, day = 0;
};
CalendarDate UnpackDate(std::string_view date);

// The leap rule of the reformed calendar, applied to every year.
bool IsLeapYear(int year);

// The days of `month` (1..12) in a year that is a leap year or not.
int MonthLength(int month, bool leap);

}  // namespace olm
