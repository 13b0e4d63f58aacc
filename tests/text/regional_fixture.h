#pragma once
// A fresh installation directory with its own Vorn.ini, the regional settings
// forgotten so that they are read from it, the system date fixed in 2023 and
// the session's language and currency set. Everything is put back afterwards.

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "scratch.h"
#include "session/session_settings.h"
#include "text/regional_settings.h"

namespace olm::testing {

class RegionalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment_.Set("OLMROOT", scratch_.Path());
    ResetRegionalSettings();
    SetSystemYear(2023);
    saved_ = Session();
  }

  void TearDown() override {
    Session() = saved_;
    platform::SetFixedTimeForTesting(std::nullopt);
    ResetRegionalSettings();
  }

  // Writes the [Usuari] section of Vorn.ini ("Key=value" lines) and makes
  // the next use read it.
  void WriteUserSettings(const std::string& lines) {
    WriteFile(scratch_.Path() + "Vorn.ini", "[Usuari]\r\n" + lines);
    ResetRegionalSettings();
  }

  static void SetSystemYear(int year) {
    platform::LocalDateTime now;
    now.year = year;
    now.month = 6;
    now.day = 15;
    platform::SetFixedTimeForTesting(now);
  }

 private:
  ScratchDirectory scratch_;
  ScopedEnvironment environment_;
  SessionSettings saved_;
};

}  // namespace olm::testing
