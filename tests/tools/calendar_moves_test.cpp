#include "tools/calendar_moves.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

constexpr int16_t kRight = 0x4d00, kLeft = 0x4b00, kDown = 0x5000, kUp = 0x4800;
constexpr int16_t kPageDown = 0x5100, kPageUp = 0x4900, kHome = 0x4700, kEnd = 0x4f00;

TEST(CalendarMoves, KeysMoveAcrossMonthsAndYears) {
  const struct {
    const char* what;
    CalendarDay from;
    int16_t key;
    CalendarDay to;
  } cases[] = {
      {"Right on 31 December", {2023, 12, 31}, kRight, {2024, 1, 1}},
      {"Left on 1 January", {2023, 1, 1}, kLeft, {2022, 12, 31}},
      {"Right in the month", {2023, 5, 15}, kRight, {2023, 5, 16}},
      {"Left on 1 March of a leap year", {2024, 3, 1}, kLeft, {2024, 2, 29}},
      {"Up on 3 January", {2023, 1, 3}, kUp, {2022, 12, 27}},
      {"Down on 28 March", {2023, 3, 28}, kDown, {2023, 4, 4}},
      {"Down on 25 February", {2023, 2, 25}, kDown, {2023, 3, 4}},
      {"PgDn on 31 January", {2023, 1, 31}, kPageDown, {2023, 4, 30}},
      {"PgUp on 31 May", {2023, 5, 31}, kPageUp, {2023, 2, 28}},
      {"PgUp on 31 May of a leap year", {2024, 5, 31}, kPageUp, {2024, 2, 29}},
      {"PgDn on 30 November", {2023, 11, 30}, kPageDown, {2024, 2, 29}},
      {"PgUp on 15 February", {2023, 2, 15}, kPageUp, {2022, 11, 15}},
      {"Home on 31 August", {2023, 8, 31}, kHome, {2023, 1, 31}},
      {"End on 30 April", {2023, 4, 30}, kEnd, {2023, 12, 30}},
      {"another key", {2023, 4, 30}, 'x', {2023, 4, 30}},
      {"Left before year 1", {1, 1, 1}, kLeft, {1, 1, 1}},
      {"PgDn past year 9999", {9999, 11, 15}, kPageDown, {9999, 11, 15}},
      {"1900 is not a leap year", {1900, 3, 1}, kLeft, {1900, 2, 28}},
  };
  for (const auto& c : cases) EXPECT_EQ(MoveCalendarDay(c.from, c.key), c.to) << c.what;
}

TEST(CalendarMoves, QuartersStartInJanuaryAprilJulyOrOctober) {
  const int16_t first[] = {1, 1, 1, 4, 4, 4, 7, 7, 7, 10, 10, 10};
  for (int16_t month = 1; month <= 12; ++month) EXPECT_EQ(FirstMonthOfQuarter(month), first[month - 1]);
}

TEST(CalendarMoves, StartsOnTheWorkingDateOrElseToday) {
  EXPECT_EQ(CalendarStartDay(PackDigits("20230515")), (CalendarDay{2023, 5, 15}));
  platform::SetFixedTimeForTesting(platform::LocalDateTime{2025, 3, 9});
  EXPECT_EQ(CalendarStartDay(""), (CalendarDay{2025, 3, 9}));
  EXPECT_EQ(CalendarStartDay(PackDigits("20230431")), (CalendarDay{2025, 3, 9}));
  EXPECT_EQ(CalendarStartDay(PackDigits("20231300")), (CalendarDay{2025, 3, 9}));
  platform::SetFixedTimeForTesting(std::nullopt);
}

TEST(CalendarMoves, PacksTheDayAsEightDigits) {
  EXPECT_EQ(PackCalendarDay({2023, 5, 7}), PackDigits("20230507"));
  EXPECT_EQ(PackCalendarDay({12, 1, 2}), PackDigits("00120102"));
}

}  // namespace
}  // namespace olm
