// The calculator and the calendar opened from the fields of the program:
// what they give back arrives in the field as if typed.

#include <gtest/gtest.h>

#include "app_fixture.h"

namespace olm::testing {
namespace {

constexpr int kAltX = 0x2d00;
constexpr int kAltC = 0x2e00;
constexpr int kRight = 0x4d00;
constexpr int kCtrlY = 0x19;
constexpr uint8_t kAlt = platform::kRightAlt;

class PopUpTools : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat Carrer Major 3", 41);
    AddProperty(1, "Carrer Major 3");
    AddExpenseType("AB", "Material electric");
  }

  // Screen 3 of a new movement up to its amount field, the amount given by
  // `amount`, then the rest of the fields as they are, and out.
  int RunAmount(const std::string& date, const std::function<void(platform::VirtualConsole&)>& amount) {
    return Run([&](platform::VirtualConsole& c) {
      TypeField(c, "1");
      TypeField(c, date);
      TypeField(c, "1");
      TypeField(c, "ab");
      TypeField(c, "Factura");
      amount(c);
      for (int i = 0; i < 5; ++i) c.QueueKey(kEnter);
      c.QueueKey(kEsc);
      c.QueueKey(kEsc);
    });
  }
};

TEST_F(PopUpTools, CalculatorResultLandsInTheAmountField) {
  EXPECT_EQ(RunAmount("07052023",
                      [](platform::VirtualConsole& c) {
                        c.QueueKey(kCtrlY);
                        c.QueueKey(kAltX, kAlt);
                        c.QueueText("200+10%=F");
                        c.QueueKey(kEnter);
                      }),
            0);
  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 22000);
}

TEST_F(PopUpTools, CalculatorLeftWithEscLeavesTheAmountAsItWas) {
  EXPECT_EQ(RunAmount("07052023",
                      [](platform::VirtualConsole& c) {
                        c.QueueKey(kCtrlY);
                        c.QueueText("11600");
                        c.QueueKey(kAltX, kAlt);
                        c.QueueText("99");
                        c.QueueKey(kEsc);
                        c.QueueKey(kEnter);
                      }),
            0);
  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 11600);
}

TEST_F(PopUpTools, CalendarTypesTheDayAfterTheWorkingDate) {
  EXPECT_EQ(Run([](platform::VirtualConsole& c) {
              TypeField(c, "1");
              c.QueueKey(kCtrlY);
              c.QueueKey(kAltC, kAlt);
              c.QueueKey(kRight);
              c.QueueKey('F');
              c.QueueKey(kEnter);
              TypeField(c, "1");
              TypeField(c, "ab");
              TypeField(c, "Factura");
              TypeField(c, "500");
              for (int i = 0; i < 5; ++i) c.QueueKey(kEnter);
              c.QueueKey(kEsc);
              c.QueueKey(kEsc);
            }),
            0);
  EXPECT_TRUE(FindMovement(1, "20230508", 1));
}

}  // namespace
}  // namespace olm::testing
