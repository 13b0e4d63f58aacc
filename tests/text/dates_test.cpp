#include "text/dates.h"

#include <chrono>

#include "regional_fixture.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

using Dates = testing::RegionalTest;

std::string Packed(const char* digits) { return PackDigits(digits); }

std::string PackedDate(int year, int month, int day) {
  return PackDigits(ZeroPad(year, 4) + ZeroPad(month, 2) + ZeroPad(day, 2));
}

TEST_F(Dates, ParseDateReadsTypedDatesAndCompletesTwoDigitYears) {
  const struct {
    const char* typed;
    const char* digits;  // year, month, day of the packed result
  } cases[] = {
      {"7/5/23", "20230507"},     {"7.5.23", "20230507"},   {"7-5-23", "20230507"},
      {"070523", "20230507"},     {"7/5/2023", "20230507"}, {" 7/ 5/ 23 ", "20230507"},
      {"7/5/73", "19730507"},     // 2073 is 50 years ahead: a century back
      {"7/5/72", "20720507"},     {"7/5/74", "19740507"},   {"1/1/0", "20000101"},
      {"07052023", "20230507"},   {"7/5/0023", "00230507"}, // four characters: as written
      {"0/5/23", "00230500"},     // day 0: the year stays as typed
      {"7/5", "00000000"},        {"7/5/23/1", "00000000"}, {"7a/5/23", "00000000"},
      {"", "00000000"},           {"7/5/", "20000507"},     // an empty year reads as 0
  };
  for (const auto& c : cases) EXPECT_EQ(UnpackDigits(ParseDate(c.typed)), c.digits) << "typed \"" << c.typed << "\"";
}

TEST_F(Dates, TheYearWindowFollowsTheSystemDate) {
  SetSystemYear(2080);
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/30")), "20300101");
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/29")), "21290101");
  EXPECT_EQ(DateDigits(Packed("20300101")), "010130");
  EXPECT_EQ(DateDigits(Packed("20290101")), "01012029");
  SetSystemYear(1999);
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/00")), "20000101");
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/48")), "20480101");
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/49")), "19490101");
}

TEST_F(Dates, IsBadDateAcceptsOnlyCalendarDates) {
  const struct {
    const char* typed;
    int16_t bad;
  } cases[] = {
      {"29/2/2024", 0},  {"29/2/2023", -1}, {"29/2/1900", -1}, {"29/2/2000", 0},  {"31/4/23", -1},
      {"30/4/23", 0},    {"31/12/23", 0},   {"32/1/23", -1},   {"0/1/23", -1},    {"1/0/23", -1},
      {"1/13/23", -1},   {"10/10/1582", -1}, {"5/10/1582", -1}, {"14/10/1582", -1}, {"4/10/1582", 0},
      {"15/10/1582", 0}, {"", -1},          {"7/5", -1},       {"7/5/23/1", -1},  {"7a/5/23", -1},
      {"290224", 0},     {"290223", -1},    {"29022024", 0},
      {"29/2/1200", 0},  // the leap rule of the reform holds before it too
      {"99999/1/2023", -1}, {"1/99999/2023", -1},  // beyond 16 bits
      {"1/1/12345", -1},    // a year that a packed date cannot hold
  };
  for (const auto& c : cases) EXPECT_EQ(IsBadDate(c.typed), c.bad) << "typed \"" << c.typed << "\"";
}

TEST_F(Dates, ThreeDigitYearsAreStoredAsChecked) {
  // IsBadDate checks the year 123 itself; the date stored must be that one.
  EXPECT_EQ(IsBadDate("1/1/123"), 0);
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/123")), "01230101");
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/999")), "09990101");
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/023")), "20230101");  // below 100: completed
  EXPECT_EQ(UnpackDigits(ParseDate("1/1/12345")), "00000000");
  EXPECT_EQ(UnpackDigits(ParseDate("99999/1/23")), "00000000");
}

TEST_F(Dates, DateDigitsGivesTheDigitsParseDateReadsBack) {
  const struct {
    const char* digits;
    const char* expected;
  } cases[] = {
      {"20230507", "070523"},   {"19730101", "010173"}, {"19720101", "01011972"},
      {"20720101", "010172"},   {"20730101", "01012073"}, {"00000000", ""},
      {"15821015", "15101582"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateDigits(Packed(c.digits)), c.expected) << c.digits;
    if (*c.expected) {
      EXPECT_EQ(UnpackDigits(ParseDate(c.expected)), c.digits) << c.digits;
    }
  }
}

TEST_F(Dates, DateDiffCountsDaysMonthsAndWholeYearsInEitherOrder) {
  const struct {
    const char* a;
    const char* b;
    const char* unit;
    int32_t expected;
  } cases[] = {
      {"20230131", "20230301", "D", 29}, {"20230131", "20230301", "M", 2},
      {"20230315", "20240314", "A", 0},  {"20230315", "20240315", "A", 1},
      {"20230315", "20240315", "a", 1},  {"20230131", "20230301", "d", 29},
      {"20230101", "20240101", "D", 365}, {"20240101", "20250101", "D", 366},
      {"19000101", "19010101", "D", 365}, {"15000101", "15010101", "D", 366},  // Julian leap year
      {"15821004", "15821015", "D", 11},  // the dropped days are counted
      {"20230507", "20230507", "D", 0},  {"20230131", "20230301", "X", 0},
      {"20230131", "20230301", "", 0},   {"20201231", "20230101", "D", 731},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateDiff(Packed(c.a), Packed(c.b), c.unit), c.expected) << c.a << " " << c.b << " " << c.unit;
    EXPECT_EQ(DateDiff(Packed(c.b), Packed(c.a), c.unit), c.expected) << c.b << " " << c.a << " " << c.unit;
  }
}

TEST_F(Dates, DayOfWeekAcrossTheCalendarReform) {
  EXPECT_EQ(DayOfWeek(Packed("20230101")), 7);
  EXPECT_EQ(DayOfWeek(Packed("20230102")), 1);
  EXPECT_EQ(DayOfWeek(Packed("15821004")), 4);  // Thursday, the last Julian day
  EXPECT_EQ(DayOfWeek(Packed("15821015")), 5);  // Friday, the first Gregorian day
}

// Every day from 1583 to 2400 against the standard library's calendar, and
// every day, month and year combination of that range against its validity.
TEST_F(Dates, AgreesWithTheStandardCalendarFrom1583To2400) {
  using namespace std::chrono;
  for (sys_days day = sys_days{1583y / January / 1}; day <= sys_days{2400y / December / 31}; day += days{1}) {
    const year_month_day ymd{day};
    const int y = static_cast<int>(ymd.year());
    const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    const int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    ASSERT_EQ(DayOfWeek(PackedDate(y, m, d)), static_cast<int16_t>(weekday{day}.iso_encoding())) << y << "-" << m << "-" << d;
  }
  for (int y = 1583; y <= 2400; ++y)
    for (int m = 0; m <= 13; ++m)
      for (int d = 0; d <= 32; ++d) {
        const bool exists = year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}.ok();
        const std::string typed = std::to_string(d) + "/" + std::to_string(m) + "/" + std::to_string(y);
        ASSERT_EQ(IsBadDate(typed), exists ? 0 : -1) << typed;
      }
}

}  // namespace
}  // namespace olm
