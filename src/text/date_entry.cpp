#include <algorithm>

#include "platform/clock.h"
#include "text/dates.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

// Part values beyond the 16-bit range make a typed date unreadable.
constexpr long kLargestPart = 32767;
constexpr long kLargestYear = 9999;

// The day, month and year a typed text names, before any year completion.
struct TypedDate {
  bool bad = false;
  long day = 0, month = 0, year = 0;
  bool yearInFull = false;  // more than three characters once trimmed
};

// Leading blanks skipped, then the digits up to the first other character.
// Held just above kLargestPart at most, so a long run of digits cannot overflow.
long PartValue(std::string_view text) {
  size_t i = text.find_first_not_of(' ');
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(kLargestPart + 1, value * 10 + (text[i] - '0'));
  return value;
}

bool WrittenInFull(std::string_view yearText) {
  size_t first = yearText.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  return yearText.find_last_not_of(' ') - first + 1 > 3;
}

// Day, month, year: split at "." "/" or "-" (exactly two of them), or by
// position without separators (DD MM YY...). Digits and blanks are the only
// other characters a date may hold.
TypedDate ReadTypedDate(std::string_view typed) {
  TypedDate date;
  std::string_view parts[2];
  int separators = 0;
  size_t partStart = 0;
  for (size_t i = 0; i < typed.size(); ++i) {
    const char c = typed[i];
    if ((c >= '0' && c <= '9') || c == ' ') continue;
    if (c == '.' || c == '/' || c == '-') {
      if (separators < 2) parts[separators] = typed.substr(partStart, i - partStart);
      ++separators;
      partStart = i + 1;
    } else {
      date.bad = true;
    }
  }

  std::string_view yearText;
  if (separators == 0) {
    date.day = PartValue(typed.substr(0, 2));
    date.month = PartValue(typed.substr(std::min<size_t>(2, typed.size()), 2));
    yearText = typed.substr(std::min<size_t>(4, typed.size()));
  } else if (separators == 2) {
    date.day = PartValue(parts[0]);
    date.month = PartValue(parts[1]);
    yearText = typed.substr(partStart);
  } else {
    date.bad = true;
  }
  date.year = PartValue(yearText);
  date.yearInFull = WrittenInFull(yearText);
  if (date.day > kLargestPart || date.month > kLargestPart || date.year > kLargestPart) date.bad = true;
  return date;
}

int SystemYear() { return platform::Now().year; }

std::string EmptyDate() { return PackDigits("00000000"); }

}  // namespace

// A two-digit year lands in Y0-50 .. Y0+49 around the system year Y0. Only
// years typed below 100 are completed, as IsBadDate completes them, so the
// date stored is the date that was checked.
std::string ParseDate(std::string_view typed) {
  const TypedDate date = ReadTypedDate(typed);
  if (date.bad) return EmptyDate();
  long year = date.year;
  if (date.day > 0 && date.month > 0 && !date.yearInFull && year < 100) {
    const int y0 = SystemYear();
    year += 100L * (y0 / 100);
    if (year - y0 > 49) year -= 100;
    else if (y0 - year > 50) year += 100;
  }
  if (year > kLargestYear) return EmptyDate();
  return PackDigits(ZeroPad(year, 4) + ZeroPad(date.month, 2) + ZeroPad(date.day, 2));
}

// The Gregorian leap rule holds for every year here; the ten days the reform
// of 1582 dropped (5 to 14 October) do not exist.
int16_t IsBadDate(std::string_view typed) {
  const TypedDate date = ReadTypedDate(typed);
  if (date.bad) return -1;
  long year = date.year;
  if (year < 100 && !date.yearInFull) {
    const int y0 = SystemYear();
    year += 100L * (y0 / 100);
    if (year - y0 > 50) year -= 100;
    else if (y0 - year > 50) year += 100;
  }
  if (year > kLargestYear) return -1;
  const long number = year * 10000 + date.month * 100 + date.day;
  if (number >= 15821005 && number <= 15821014) return -1;
  if (date.day < 1 || date.month < 1 || date.month > 12) return -1;
  if (date.day > MonthLength(static_cast<int>(date.month), IsLeapYear(static_cast<int>(year)))) return -1;
  return 0;
}

std::string DateDigits(std::string_view packed) {
  const CalendarDate date = UnpackDate(packed);
  if (date.day == 0 && date.month == 0) return "";
  const int y0 = SystemYear();
  const bool twoDigits = date.year >= y0 - 50 && date.year <= y0 + 49;
  return ZeroPad(date.day, 2) + ZeroPad(date.month, 2) + (twoDigits ? ZeroPad(date.year % 100, 2) : ZeroPad(date.year, 4));
}

}  // namespace olm
