#pragma once
// The calendar's highlighted day and how the cursor and paging keys move it
// across months and years.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

struct CalendarDay {
  int16_t year = 0;
  int16_t month = 0;
  int16_t day = 0;
  bool operator==(const CalendarDay&) const = default;
};

// The day the calendar opens on: the packed working date, or today when that
// does not hold a real date.
CalendarDay CalendarStartDay(std::string_view workDate);

// The first month (1, 4, 7 or 10) of the quarter that holds `month`.
int16_t FirstMonthOfQuarter(int16_t month);

// The days of a month, by the reformed leap rule for every year.
int16_t CalendarMonthLength(int16_t year, int16_t month);

// The day after one of the keys Right, Left, Down, Up (a day or a week),
// PgDn, PgUp (three months, the day cut to the new month's length), Home,
// End (January or December, same day). Other keys, and moves that would
// leave the years 1 to 9999, leave the day as it is.
CalendarDay MoveCalendarDay(CalendarDay day, int16_t key);

// The day packed as the records keep dates.
std::string PackCalendarDay(CalendarDay day);

}  // namespace olm
