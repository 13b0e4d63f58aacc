#include "text/number_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace olm {
namespace {

TEST(FormatNumber, WritesWidthDecimalsAndSignAsTheLayoutSays) {
  const struct {
    double value;
    const char* layout;
    const char* expected;
  } cases[] = {
      {-12.5, "5.2S", "-0012.50"},  // the sign replaces the first of the five integer digits
      {12.5, "5.2S", "+0012.50"},   {12.5, "5.2s", "+0012.50"},
      {7, "3.0M", " 07"},           {-7, "3.0M", "N07"},
      {-3, "2.0N", "N3"},           {3, "2.0N", "03"},
      {12.5, "5.2V", "0001250"},    // the point implied
      {0.25, "Z", "0.25"},          {0.5, ".2Z", "0.50"},     {0.5, ".2", ".50"},
      {123456, "3", "456"},         // cut to the last W digits
      {2.5, ".0", "2"},             {3.5, ".0", "4"},         {2.5, "0", "2.5"},
      {-0.5, "", "-.5"},            {1e20, "", "100000000000000000000"},
      {0, "5.2S", "+0000.00"},
      {std::numeric_limits<double>::quiet_NaN(), "5.2", "!"},
      {std::numeric_limits<double>::infinity(), "", "!"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatNumber(c.value, c.layout), c.expected) << c.value << " under \"" << c.layout << "\"";
}

TEST(NumberText, KeepsExactlyTheDecimalsTheValueHas) {
  EXPECT_EQ(NumberText(5), "5");
  EXPECT_EQ(NumberText(2.5), "2.5");
  EXPECT_EQ(NumberText(0.25), ".25");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(0), "");
  EXPECT_EQ(NumberText(99999999), "99999999");
  EXPECT_EQ(NumberText(-99999999), "-99999999");
  EXPECT_EQ(NumberText(123.45), "123.45");
  EXPECT_EQ(NumberText(0.1), ".1");
}

TEST(CheckNumberText, AcceptsDigitsBlanksAndTheAllowedSignAndPoint) {
  const struct {
    const char* typed;
    const char* allowed;
    int16_t result;
  } cases[] = {
      {"-12.5", "-.", 0},  {"+12.5", "+.", 0},  {"-5", "+", 0},     {" 12 ", "", 0},    {"1 2", "", 0},
      {"", "", 0},         {"-", "-", 0},       {"12-", "-", -1},   {"1.2", "-", -1},   {"x-1", "-", -1},
      {"--5", "-", -1},    {".5-", "-.", -1},   {"1..2", ".", -1},  {"-5", "", -1},     {"12a", "", -1},
      {"1,5", ".", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckNumberText(c.typed, c.allowed), c.result) << "\"" << c.typed << "\" allowing \"" << c.allowed << "\"";
}

TEST(CheckNumberRange, ChecksTheRoundedValueAgainstTheBounds) {
  const struct {
    const char* typed;
    double minimum, maximum;
    int16_t decimals;
    int16_t result;
  } cases[] = {
      {"100", 0, 99.99, 2, -1},     {"99.99", 0, 99.99, 2, 0},    {"99.994", 0, 99.99, 2, 0},
      {"99.996", 0, 99.99, 2, -1},  {"0", 0, 99.99, 2, 0},        {"", 0, 99.99, 2, 0},
      {"-99999999", -99999999, 99999999, 0, 0},                  {"99999999", -99999999, 99999999, 0, 0},
      {"100000000", -99999999, 99999999, 0, -1},                 {"-100000000", -99999999, 99999999, 0, -1},
      {"1.5", -99999999, 99999999, 0, -1},                       // no decimals allowed
      {"-5", 0, 10, 0, -1},         // no minus below a minimum of 0
      {"  42  ", 0, 99, 0, 0},
      {"4 2", 0, 99, 0, -1},        // blanks between digits: the text would read as 4
      {"- 5", -10, 10, 0, -1},
      {"5", 10, 0, 0, -1},          {"5", 0, 10, 17, -1},         {"5", 0, 10, -1, -1},
      {"5", 0, 10, 16, 0},
      {"5", std::numeric_limits<double>::quiet_NaN(), 10, 0, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckNumberRange(c.typed, c.minimum, c.maximum, c.decimals), c.result)
        << "\"" << c.typed << "\" in " << c.minimum << ".." << c.maximum << " with " << c.decimals;
  // Too large for a double, such a text would read as 0.
  EXPECT_EQ(CheckNumberRange(std::string(400, '9'), -99999999, 99999999, 0), -1);
}

}  // namespace
}  // namespace olm
