// Sets up the demo installation as scripts/run does, starts the program on
// it in a tmux pane of 80 x 25, and reads the screens back.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "scratch.h"
#include "tmux_pane.h"

namespace olm {
namespace {

using testing::RunCommand;

std::string BinaryDir() {
  const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
  return dir ? dir : ".";
}

TEST(DemoTest, FirstScreenShowsTheTitleAndTheBusyPropertyOpensOnItsLastPage) {
  if (!testing::HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing::ScratchDirectory scratch;
  const std::string demo = scratch.Path() + "demo";
  const std::string made = RunCommand(std::string(OLM_SOURCE_DIR) + "/scripts/make-demo " + BinaryDir() + " " + demo);
  ASSERT_EQ(made, "");
  testing::TmuxPane pane("OLMROOT=" + demo + "/root/ OLMTMP=" + demo + "/tmp/ " + BinaryDir() +
                "/trelunax\necho \"ended $?\"\nsleep 600\n");
  ASSERT_TRUE(pane.WaitFor("Demostració de trelunax")) << pane.Screen();
  EXPECT_NE(pane.Row(1).find("Demostració de trelunax"), std::string::npos);

  pane.Tmux("send-keys 101 Enter");
  ASSERT_TRUE(pane.WaitFor("Carrer Major, 12")) << pane.Screen();
  ASSERT_TRUE(pane.WaitFor("29/9/2025")) << pane.Screen();
  // 45 movements: the last page holds the 39th to the 45th.
  EXPECT_EQ(pane.Row(5).substr(0, 15), "2/9/2025   0001");
  EXPECT_EQ(pane.Row(11).substr(0, 30), "29/9/2025  0001  Electricitat ");
  EXPECT_EQ(pane.Row(12).find_first_not_of(' '), std::string::npos);

  // Esc leads back to the first screen and Esc there ends the program.
  for (int i = 0; i < 4 && pane.Screen().find("ended") == std::string::npos; ++i) {
    pane.Tmux("send-keys Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  EXPECT_TRUE(pane.WaitFor("ended 0")) << pane.Screen();
}

}  // namespace
}  // namespace olm
