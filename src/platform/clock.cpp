#include "platform/clock.h"

#include <unistd.h>

#include <chrono>
#include <climits>
#include <ctime>
#include <random>
#include <thread>

#include "platform/codepage.h"

namespace olm::platform {
namespace {

std::optional<LocalDateTime>& FixedTime() {
  static std::optional<LocalDateTime> fixed;
  return fixed;
}

}  // namespace

LocalDateTime Now() {
  if (FixedTime()) return *FixedTime();
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto fraction = std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds)).count();
  LocalDateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec + fraction;
  return result;
}

void SetFixedTimeForTesting(std::optional<LocalDateTime> time) { FixedTime() = time; }

void SleepMilliseconds(int64_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

double UniformRandom() {
  // Seeded from the system's entropy, so that processes started at the same
  // moment on different workstations do not draw the same numbers.
  static std::mt19937_64 generator{std::random_device{}()};
  return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "";
  return Utf8ToCp850(name);
}

}  // namespace olm::platform
