#include "text/packed_digits.h"

#include <gtest/gtest.h>

namespace olm {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string text;
  for (int v : values) text += static_cast<char>(v);
  return text;
}

TEST(PackDigits, PacksTwoDigitsPerByteWithBlanksAndOddLengths) {
  const struct {
    std::string text;
    std::string packed;
  } cases[] = {
      {"", ""},
      {"15821015", Bytes({143, 210, 138, 143})},
      {"00000000", Bytes({128, 128, 128, 128})},
      {"123", Bytes({140, 158})},    // odd length: the last digit is the tens of a last byte
      {" 7", Bytes({135})},
      {"7 ", Bytes({135})},          // a trailing blank moves to the front as a zero
      {"12  ", Bytes({128, 140})},
      {"1 2", Bytes({138, 148})},    // inner blank read as 0
      {"a1", Bytes({129})},          // a non-digit counts as 0
      {"20240131", Bytes({148, 152, 129, 159})},
  };
  for (const auto& c : cases) EXPECT_EQ(PackDigits(c.text), c.packed) << "text \"" << c.text << "\"";
}

TEST(UnpackDigits, IgnoresTheHighBitAndKeepsTwoDigits) {
  EXPECT_EQ(UnpackDigits(Bytes({32})), "32");
  EXPECT_EQ(UnpackDigits(Bytes({128})), "00");
  EXPECT_EQ(UnpackDigits(Bytes({133, 5})), "0505");
  EXPECT_EQ(UnpackDigits(Bytes({127, 255})), "2727");
  EXPECT_EQ(UnpackDigits(PackDigits("20231231")), "20231231");
}

TEST(IsAllChar, TestsForOneRepeatedCharacter) {
  EXPECT_TRUE(IsAllChar("", 32));
  EXPECT_TRUE(IsAllChar("", 65));
  EXPECT_TRUE(IsAllChar("   ", 32));
  EXPECT_FALSE(IsAllChar(" a ", 32));
  EXPECT_TRUE(IsAllChar(Bytes({200, 200}), 200));
}

TEST(ZeroPad, RightAlignsInAFixedWidth) {
  EXPECT_EQ(ZeroPad(7, 2), "07");
  EXPECT_EQ(ZeroPad(1582, 4), "1582");
  EXPECT_EQ(ZeroPad(1582, 2), "82");
  EXPECT_EQ(ZeroPad(0, 3), "000");
  EXPECT_EQ(ZeroPad(123, 0), "");
  EXPECT_EQ(ZeroPad(-45, 4), "0045");
  EXPECT_EQ(ZeroPad(99999999, 8), "99999999");
}

}  // namespace
}  // namespace olm
