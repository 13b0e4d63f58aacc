#include "platform/process.h"

#include <gtest/gtest.h>

namespace olm::platform {
namespace {

TEST(RunProgramAndWaitTest, ReportsTheExitStatusOrThatNothingStarted) {
  EXPECT_EQ(RunProgramAndWait("sh", {"-c", "exit 3"}), 3);
  EXPECT_EQ(RunProgramAndWait("true", {}), 0);
  EXPECT_EQ(RunProgramAndWait("/no/such/program", {"x"}), -1);
  EXPECT_EQ(RunProgramAndWait("", {}), -1);
}

}  // namespace
}  // namespace olm::platform
