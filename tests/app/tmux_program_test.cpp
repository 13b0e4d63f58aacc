// The built program on a real terminal: tmux at 80 x 25, keys typed as a
// new user types them, the screen read back, and the data file checked
// once the program has ended.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tmux_program_fixture.h"

namespace olm::testing {
namespace {

using TmuxProgram = TmuxProgramTest;

TEST_F(TmuxProgram, NewMovementIsTypedSavedAndListed) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxPane pane(PaneScript());
  ASSERT_TRUE(pane.WaitFor(" DESPESES")) << pane.Screen();
  EXPECT_TRUE(pane.WaitFor("DATA       ORD.  CONCEPTE")) << pane.Screen();

  ASSERT_TRUE(Type(pane, "1", "Carrer Major 3")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "07052023", "7/5/2023")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "1", "Concepte:")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "ab", "Material electric")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "Bombetes escala", "Import:")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "11600", "116'00")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "16", "16'00")) << pane.Screen();
  for (int i = 0; i < 3; ++i) pane.Tmux("send-keys Enter");
  ASSERT_TRUE(Type(pane, "", "Bombetes escala               116'00")) << pane.Screen();

  const std::string screen = pane.Screen();
  EXPECT_NE(screen.find("7/5/2023   0001  Material electric         Bombetes escala               116'00"),
            std::string::npos)
      << screen;
  EXPECT_NE(screen.find(" Carrer Major 3"), std::string::npos) << screen;

  PressEscape(pane);  // screen 2
  PressEscape(pane);  // screen 1: the program ends
  ASSERT_TRUE(pane.WaitFor("finished")) << pane.Screen();
  EXPECT_EQ(ReadFile("rc"), "0\n");

  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->expenseType, "AB");
  EXPECT_EQ(saved->comment, "Bombetes escala          ");
  EXPECT_EQ(saved->amount, 11600);
  EXPECT_EQ(saved->taxRate, 1600);
  EXPECT_EQ(saved->taxAmount, 1600);
  EXPECT_EQ(saved->document, 42);
  EXPECT_EQ(LinkedCounter("L1"), 42);
}

}  // namespace
}  // namespace olm::testing
