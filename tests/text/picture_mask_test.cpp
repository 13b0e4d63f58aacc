#include "text/picture_mask.h"

#include <cmath>
#include <limits>
#include <random>

#include "regional_fixture.h"
#include "text/number_reading.h"

namespace olm {
namespace {

using PictureMask = testing::RegionalTest;

// Results are written with "_" for each blank, so that they can be counted.
std::string Blanks(std::string text) {
  for (char& c : text)
    if (c == '_') c = ' ';
  return text;
}

TEST_F(PictureMask, FormatPictureLaysNumbersOutUnderTheirMasks) {
  const struct {
    const char* mask;
    double value;
    const char* expected;
  } cases[] = {
      {"ZZ9", 0, "__0"},          {"ZZ", 0, "__"},             {"ZZ9", 5, "__5"},
      {"999", 5, "005"},          {"ZZ", 7, "_7"},             {"ZZ", 0.4, "_0"},
      {"ZZ9.ZZ", 12.5, "_12'5_"}, {"ZZ9.ZZ", 12, "_12___"},     {"ZZ9.ZZ", 0, "__0___"},
      {"ZZ9.99", 0.05, "__0'05"}, {"ZZ9.ZZ", 0.05, "__0'05"},
      {"ZZ9", -5, "_-5"},         {"999", -5, "0-5"},          {"ZZ9-", -5, "__5-"},
      {"ZZ9-", 5, "__5_"},        {"+ZZ9", 5, "+__5"},         {"+ZZ9", -5, "-__5"},
      {"ZZ9.ZZ", -0.05, "__0'-5"},  // the minus takes the first free position, decimal or not
      {"ZZ9", -0.001, "_-0"},        // negative before rounding
      {"9", -5, "!"},             {"Z9", 1234, "!!"},          {"Z9.99", 123.456, "123'4"},
      {"ZZZ,ZZ9", 1234, "__1.234"}, {"ZZZ,ZZ9", 12, "_____12"}, {"***,**9", 12, "*****12"},
      {"ZZZ,ZZ9", -1234, "_-1.234"}, {"ZZZ,ZZ9", -12, "____-12"}, {"ZZZ,ZZ9.99-", -1234.5, "__1.234'50-"},
      {"***9.99", 5.25, "***5'25"}, {"Z9.99%", 5.25, "_5'25%"},  {"Z9.99%", 99.99, "99'99%"},
      {"Z9", 2.5, "_2"},          {"Z9", 3.5, "_4"},           {"Z9", 0.5, "_0"},
      {"Z9.99", 0.125, "_0'12"},  {"Z9.99", 0.375, "_0'38"},
      {"ZZ9", 999.4, "999"},      {"ZZ9", 999.5, "!!!"},       {"ZZ9.9", 1234.5, "1234'"},
      {"", 5, ""},                {"%", 5, "5"},               // no digit position: plain text
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatPicture(c.mask, c.value), Blanks(c.expected)) << "mask \"" << c.mask << "\" value " << c.value;
}

TEST_F(PictureMask, ANegativeNumberNeverLosesItsMinus) {
  // No position left of the digits can take the minus: the plain text shows it.
  EXPECT_EQ(FormatPicture(".99", -0.05), "-'0");
  EXPECT_EQ(FormatPicture("%9", -5), "-5");
  EXPECT_EQ(FormatPicture("Z9.99%", -5.25), "-5'25%");
  EXPECT_EQ(FormatPicture("Z9.99%", -15.25), "-15'25");
}

TEST_F(PictureMask, NonFiniteValuesShowAsOverflow) {
  for (double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(FormatPicture("ZZ,ZZ9.99", value), "!!!!!!!!!");
  EXPECT_EQ(FormatPicture("ZZ9", 1e300), "!!!");
  EXPECT_EQ(FormatPicture("ZZ9.99", 1e-300), Blanks("__0'00"));
}

TEST_F(PictureMask, UsesTheRegionalCharactersReadOnce) {
  WriteUserSettings("DecCaracter=,\r\nMilCaracter= \r\n");  // a blank thousands character is the default
  EXPECT_EQ(FormatPicture("ZZZ,ZZ9.99", 1234.56), Blanks("__1.234,56"));
  WriteUserSettings("DecCaracter=.\r\nMilCaracter=,\r\n");
  EXPECT_EQ(FormatPicture("ZZZ,ZZ9.99", 1234.56), Blanks("__1,234.56"));
  testing::WriteFile("Vorn.ini", "[Usuari]\r\nDecCaracter=x\r\n");
  EXPECT_EQ(FormatPicture("ZZZ,ZZ9.99", 1234.56), Blanks("__1,234.56"));
}

TEST_F(PictureMask, FormatAmountDerivesThePictureFromTheFieldMask) {
  const struct {
    const char* currency;
    const char* fieldMask;
    double amount;
    const char* expected;
  } cases[] = {
      {"E", "ZZ,ZZZ,ZZ9", 123456, "__1.234'56"},
      {"E", "ZZ,ZZZ,ZZ9", 0, "______0'00"},
      {"E", "ZZ,ZZZ,ZZ9", 5, "______0'05"},
      {"E", "ZZ,ZZZ,ZZZ", 0, "__________"},
      {"E", "ZZ,ZZZ,ZZZ", 5, "______0'05"},
      {"E", "ZZ,ZZZ,ZZ9", -123456, "_-1.234'56"},
      {"E", "ZZ,ZZZ,ZZ9", 99999999, "999.999'99"},
      {"E", "ZZ,ZZZ,ZZ9", -99999999, "-999999'99"},
      {"E", "ZZ,ZZZ,ZZ9-", -123456, "__1.234'56-"},
      {"E", "-ZZ,ZZZ,ZZ9", -123456, "-__1.234'56"},
      {"E", "**,***,**9", 123456, "**1.234'56"},
      {"P", "ZZ,ZZZ,ZZ9", 123456, "___205.414"},
      {"P", "ZZ,ZZZ,ZZ9", 0, "_________0"},
      {"P", "ZZ,ZZZ,ZZ9", 99999999, "_166385998"},  // too wide for the commas
      {"P", "ZZZ,ZZZ,ZZ9", 99999999, "166.385.998"},  // at exactly 166.386
      {"E", "", 5, ""},
  };
  for (const auto& c : cases) {
    Session().DisplayCurrency = c.currency;
    EXPECT_EQ(FormatAmount(c.fieldMask, c.amount), Blanks(c.expected))
        << c.currency << " \"" << c.fieldMask << "\" " << c.amount;
  }
}

// The amount a text shown by FormatAmount stands for, once the thousands
// characters are removed and the decimal character read as a point.
double ReadShownAmount(const std::string& shown) {
  std::string plain;
  for (char c : shown)
    if (c != '.' && c != ' ') plain += c == '\'' ? '.' : c;
  return std::nearbyint(ReadNumber(plain) * 100);
}

// Every amount a record can hold reads back from its text. Scaling an amount
// to units and back to hundredths always lands within less than half a
// hundredth of where it started, so rounding restores every one of them; the
// layout is then checked on every digit count and sign and a broad sample.
TEST_F(PictureMask, EveryStorableAmountReadsBack) {
  for (long amount = 0; amount <= 99999999; ++amount) {
    const double scaledBack = (static_cast<double>(amount) / 100.0) * 100.0;
    if (!(std::fabs(scaledBack - static_cast<double>(amount)) < 0.5)) FAIL() << amount;
  }

  Session().DisplayCurrency = "E";
  std::vector<long> amounts;
  for (long p = 1; p <= 100000000; p *= 10)
    for (long a : {p - 1, p, p + 1, 5 * p, p / 2 + 5}) amounts.push_back(std::min(a, 99999999L));
  std::mt19937 random(1234);
  std::uniform_int_distribution<long> anyAmount(-99999999, 99999999);
  for (int i = 0; i < 100000; ++i) amounts.push_back(anyAmount(random));
  for (long a : amounts)
    for (long amount : {a, -a}) {
      const std::string shown = FormatAmount("ZZ,ZZZ,ZZ9", static_cast<double>(amount));
      ASSERT_EQ(shown.size(), 10u) << amount;
      ASSERT_EQ(ReadShownAmount(shown), static_cast<double>(amount)) << amount << " shown as \"" << shown << "\"";
    }
}

// Random masks of the mask characters under random values of every size:
// the result always has the mask's length.
TEST_F(PictureMask, AlwaysAsLongAsTheMask) {
  std::mt19937_64 random(20230507);
  const std::string characters = "9Zz*.,-+%";
  std::uniform_int_distribution<size_t> length(0, 24), character(0, characters.size() - 1);
  std::uniform_int_distribution<int> exponent(-320, 308), kind(0, 9);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  const double specials[] = {0.0, -0.0, 0.5, -0.5, 2.5, std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
  for (int i = 0; i < 50000; ++i) {
    std::string mask;
    for (size_t n = length(random); n > 0; --n) mask += characters[character(random)];
    const int k = kind(random);
    double value = k == 0   ? specials[random() % std::size(specials)]
                   : k < 4 ? std::trunc(mantissa(random) * 1000) / 100
                           : mantissa(random) * std::pow(10.0, exponent(random));
    ASSERT_EQ(FormatPicture(mask, value).size(), mask.size()) << "mask \"" << mask << "\" value " << value;
  }
}

}  // namespace
}  // namespace olm
