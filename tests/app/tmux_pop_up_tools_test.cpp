// The calculator and the calendar in the built program on a real terminal:
// Alt+X and Alt+C typed in tmux, their result arriving in the field.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tmux_program_fixture.h"

namespace olm::testing {
namespace {

const std::string kCalculatorBottom = "\xE2\x94\x94" + [] {
  std::string line;
  for (int i = 0; i < 24; ++i) line += "\xE2\x94\x80";  // U+2500
  return line;
}() + "\xE2\x94\x98";

class TmuxPopUpTools : public TmuxProgramTest {
 protected:
  // Waits a few seconds for `text` to leave the screen.
  static bool WaitForGone(TmuxPane& pane, const std::string& text) {
    for (int i = 0; i < 50; ++i) {
      if (pane.Screen().find(text) == std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // Screen 1, the movement key and screen 3 up to its amount field.
  static void OpenAmount(TmuxPane& pane) {
    ASSERT_TRUE(pane.WaitFor(" DESPESES")) << pane.Screen();
    ASSERT_TRUE(Type(pane, "1", "Carrer Major 3")) << pane.Screen();
    ASSERT_TRUE(Type(pane, "07052023", "7/5/2023")) << pane.Screen();
    ASSERT_TRUE(Type(pane, "1", "Concepte:")) << pane.Screen();
    ASSERT_TRUE(Type(pane, "ab", "Material electric")) << pane.Screen();
    ASSERT_TRUE(Type(pane, "Factura", "Import:")) << pane.Screen();
  }

  // The fields after the amount as they are, the list, and the end.
  void FinishAndLeave(TmuxPane& pane) {
    for (int i = 0; i < 5; ++i) Send(pane, "Enter");
    ASSERT_TRUE(pane.WaitFor("Factura  ")) << pane.Screen();
    PressEscape(pane);
    PressEscape(pane);
    ASSERT_TRUE(pane.WaitFor("finished")) << pane.Screen();
    EXPECT_EQ(ReadFile("rc"), "0\n");
  }
};

TEST_F(TmuxPopUpTools, CalculatorResultLandsInTheAmountField) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxPane pane(PaneScript());
  OpenAmount(pane);
  Send(pane, "M-x");
  ASSERT_TRUE(pane.WaitFor(kCalculatorBottom)) << pane.Screen();
  SendText(pane, "200+10%=");
  ASSERT_TRUE(pane.WaitFor("20 =")) << pane.Screen();
  SendText(pane, "F");
  ASSERT_TRUE(WaitForGone(pane, kCalculatorBottom)) << pane.Screen();
  ASSERT_TRUE(Type(pane, "", "220'00")) << pane.Screen();
  FinishAndLeave(pane);

  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 22000);
}

TEST_F(TmuxPopUpTools, CalculatorLeftWithEscLeavesTheAmountAsItWas) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxPane pane(PaneScript());
  OpenAmount(pane);
  SendText(pane, "11600");
  Send(pane, "M-x");
  ASSERT_TRUE(pane.WaitFor(kCalculatorBottom)) << pane.Screen();
  SendText(pane, "99");
  PressEscape(pane);
  ASSERT_TRUE(WaitForGone(pane, kCalculatorBottom)) << pane.Screen();
  ASSERT_TRUE(Type(pane, "", "116'00")) << pane.Screen();
  FinishAndLeave(pane);

  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 11600);
}

TEST_F(TmuxPopUpTools, CalendarTypesTheDayAfterTheWorkingDate) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxPane pane(PaneScript());
  ASSERT_TRUE(pane.WaitFor(" DESPESES")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "1", "Carrer Major 3")) << pane.Screen();
  Send(pane, "M-c");
  ASSERT_TRUE(pane.WaitFor("MAIG")) << pane.Screen();
  Send(pane, "Right");
  SendText(pane, "F");
  ASSERT_TRUE(WaitForGone(pane, "MAIG")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "", "8/5/2023")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "1", "Concepte:")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "ab", "Material electric")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "Factura", "Import:")) << pane.Screen();
  ASSERT_TRUE(Type(pane, "500", "5'00")) << pane.Screen();
  for (int i = 0; i < 5; ++i) Send(pane, "Enter");
  ASSERT_TRUE(pane.WaitFor("Factura  ")) << pane.Screen();
  PressEscape(pane);
  PressEscape(pane);
  ASSERT_TRUE(pane.WaitFor("finished")) << pane.Screen();

  EXPECT_TRUE(FindMovement(1, "20230508", 1));
}

}  // namespace
}  // namespace olm::testing
