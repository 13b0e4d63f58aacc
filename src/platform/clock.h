#pragma once
// Time, pauses, random numbers and the computer name.

#include <cstdint>
#include <optional>
#include <string>

namespace olm::platform {

struct LocalDateTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0;
  double second = 0;  // with its fraction

  double SecondsSinceMidnight() const { return hour * 3600.0 + minute * 60.0 + second; }
};

// The local date and time, or the fixed time set for a test.
LocalDateTime Now();

// Fixes the time that Now() answers (tests of year windows and expiry);
// nullopt returns to the real clock.
void SetFixedTimeForTesting(std::optional<LocalDateTime> time);

void SleepMilliseconds(int64_t milliseconds);

// A uniform random number in [0, 1).
double UniformRandom();

// The computer name as the system reports it; empty when it cannot be read.
std::string HostName();

}  // namespace olm::platform
