#include "tools/calculator_engine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace olm {
namespace {

// The state after pressing each character of `keys` ("\b" is Backspace).
CalculatorState Press(std::string_view keys, CalculatorState state = {}) {
  for (char key : keys) PressCalculatorKey(state, key);
  return state;
}

TEST(CalculatorEngine, KeySequencesGiveTheDisplayedNumber) {
  struct Case {
    const char* keys;
    double entry;
    int decimals;
    bool typing;
  };
  const Case cases[] = {
      {"5+=", 5, 0, false},                // "=" needs a newly typed number
      {"5+3=", 8, 0, false},
      {"200+10%=", 220, 0, false},
      {"200-10%=", 180, 0, false},
      {"50*10%", 0.1, 1, true},            // without + or -, % divides by 100
      {"1/4=", 0.25, 2, false},
      {"0.1+0.2=", 0.3, 1, false},         // no binary noise on the display
      {"7-9=", -2, 0, false},
      {"5T3", -53, 0, true},               // digits join a negative entry with its sign
      {"2+3C", 2, 0, false},               // C while typing shows the total again
      {"2.5+3C", 2.5, 1, false},           // ... with the decimals the total needs
      {"2+3C4=", 6, 0, false},             // ... and keeps the pending operator
      {"2+3=C", 0, 0, false},
      {"0.125R", 0.12, 2, true},
      {"0.375R", 0.38, 2, true},
      {"2.675R", 2.68, 2, true},           // the half as typed, not as stored in binary
      {"0.125TR", -0.12, 2, true},         // negative entries round like their magnitude
      {"0.376TR", -0.38, 2, true},
  };
  for (const Case& c : cases) {
    const CalculatorState s = Press(c.keys);
    EXPECT_DOUBLE_EQ(s.entry, c.entry) << c.keys;
    EXPECT_EQ(s.decimals, c.decimals) << c.keys;
    EXPECT_EQ(s.typing, c.typing) << c.keys;
  }
}

TEST(CalculatorEngine, DivisionsShowFifteenDigitsWithoutTrailingZeros) {
  EXPECT_EQ(Press("1/3=").decimals, 15);
  EXPECT_EQ(Press("100/3=").decimals, 13);
  EXPECT_EQ(Press("1/4=").decimals, 2);
  // A negative quotient counts its integer digits like a positive one and
  // so still fits the display.
  const CalculatorState negative = Press("100000T/3=");
  EXPECT_EQ(negative.decimals, 10);
  EXPECT_EQ(CalculatorNumberText(negative.entry, negative.point, negative.decimals).find('!'), std::string::npos);
}

TEST(CalculatorEngine, BackspaceDropsDigitsThenThePoint) {
  CalculatorState s = Press("1.5\b");
  EXPECT_EQ(s.entry, 1);
  EXPECT_TRUE(s.point);
  EXPECT_EQ(s.decimals, 0);
  s = Press("\b", s);
  EXPECT_EQ(s.entry, 1);
  EXPECT_FALSE(s.point);
  EXPECT_TRUE(s.typing);
  s = Press("\b", s);
  EXPECT_EQ(s.entry, 0);
  EXPECT_FALSE(s.typing);

  EXPECT_DOUBLE_EQ(Press("4.30\b").entry, 4.3);
  EXPECT_EQ(Press("53T\b").entry, -5);
}

TEST(CalculatorEngine, TapeRecordsEveryOperation) {
  const CalculatorState s = Press("200+10%=");
  const TapeLine expected[] = {{200, false, 0, '+'}, {10, false, 0, '%'}, {20, false, 0, '='}, {220, false, 0, ' '}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s.tape[18 + i], expected[i]) << "line " << 19 + i;
  EXPECT_EQ(s.firstShownLine, 19);
  EXPECT_EQ(s.pendingOperator, "");
}

TEST(CalculatorEngine, TapeScrollsAndShowsAtMostTwentyOneLines) {
  CalculatorState s;
  for (int i = 1; i <= 30; ++i) s = Press(std::to_string(i) + "+", s);
  EXPECT_EQ(s.firstShownLine, 2);
  EXPECT_EQ(s.tape[21].value, 30);
  EXPECT_EQ(s.tape[0].value, 9);
}

TEST(CalculatorEngine, SecondClearTakesTheTapeOffTheScreenOnly) {
  CalculatorState s = Press("2+3=");
  EXPECT_EQ(PressCalculatorKey(s, 'C'), CalculatorEffect::kDisplay);
  EXPECT_EQ(s.total, 0);
  EXPECT_EQ(PressCalculatorKey(s, 'C'), CalculatorEffect::kTapeCleared);
  EXPECT_EQ(s.firstShownLine, kNoTapeShown);
  EXPECT_EQ(s.tape[21].value, 5);  // still remembered
  s = Press("4+", s);
  EXPECT_EQ(s.firstShownLine, 22);  // only the new line is shown
}

TEST(CalculatorEngine, RefusedKeysLeaveTheStateAsItWas) {
  const CalculatorState divided = Press("7/0");
  CalculatorState s = divided;
  EXPECT_EQ(PressCalculatorKey(s, '='), CalculatorEffect::kRefused);
  EXPECT_EQ(s, divided);

  s = Press("123456789012345");
  const CalculatorState full = s;
  EXPECT_EQ(PressCalculatorKey(s, '6'), CalculatorEffect::kRefused);
  EXPECT_EQ(s, full);
  s = Press("0.00000000000001");
  EXPECT_EQ(PressCalculatorKey(s, '2'), CalculatorEffect::kDisplay);
  EXPECT_EQ(PressCalculatorKey(s, '3'), CalculatorEffect::kRefused);

  s = Press("999999999999999*");
  for (int i = 0; i < 19; ++i) s = Press("999999999999999*", s);
  const CalculatorState huge = s;
  EXPECT_EQ(PressCalculatorKey(s, '9'), CalculatorEffect::kDisplay);
  EXPECT_EQ(PressCalculatorKey(s, '*'), CalculatorEffect::kRefused);
  EXPECT_TRUE(std::isfinite(s.total));
}

TEST(CalculatorEngine, ResultTextIsTheDisplayInHundredths) {
  const struct {
    const char* keys;
    const char* text;
  } cases[] = {
      {"12.5", "1250"},   {"12.345", "1234.5"}, {"0.05", "5"},     {"0.0005", ".05"},
      {"0", "0"},         {"200+10%=", "22000"}, {"3T", "-300"},    {"0.05T", "-5"},
      {"5+3=T", "-800"},  // what the display shows, also after the result
      {"1/3=", "33.3333333333333"},
  };
  for (const auto& c : cases) EXPECT_EQ(CalculatorResultText(Press(c.keys)), c.text) << c.keys;
}

TEST(CalculatorEngine, NumberTextFillsTwentyTwoColumns) {
  EXPECT_EQ(CalculatorNumberText(1234.5, true, 2), "              1.234'50");
  EXPECT_EQ(CalculatorNumberText(-5, false, 0), "-                    5");
  EXPECT_EQ(CalculatorNumberText(1, true, 0), "                    1'");
  EXPECT_EQ(CalculatorNumberText(0.333333333333333, true, 15).size(), 22u);
}

TEST(CalculatorEngine, BoxWrapsAroundTheScreenEdges) {
  EXPECT_EQ(BoxColumnLeft(1), 55);
  EXPECT_EQ(BoxColumnLeft(30), 29);
  EXPECT_EQ(BoxColumnRight(55), 1);
  EXPECT_EQ(BoxColumnRight(1), 2);
}

}  // namespace
}  // namespace olm
