#include "platform/codepage.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace olm::platform {
namespace {

// The system's iconv turns all 256 bytes of code page 858 (850 with the
// euro at 213) into UTF-8; our table must give the same characters.
TEST(CodePage, AgreesWithTheSystemIconvForEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string command = "printf '";
  for (unsigned char c : all) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\%03o", c);
    command += escaped;
  }
  command += "' | iconv -f IBM858 -t UTF-8";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string expected;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) expected.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0);

  size_t pos = 0;
  for (int b = 1; b < 256; ++b) {
    auto character = DecodeUtf8(expected, pos);
    ASSERT_TRUE(character.has_value());
    EXPECT_EQ(Cp850ToUnicode(static_cast<uint8_t>(b)), *character) << "byte " << b;
  }
  EXPECT_EQ(pos, expected.size());
  EXPECT_EQ(Cp850ToUtf8(all), expected);
  EXPECT_EQ(Utf8ToCp850(expected), all);
}

TEST(CodePage, EuroAndAccentsAndWhatTheCodePageLacks) {
  EXPECT_EQ(Cp850ToUnicode(213), U'\u20AC');
  EXPECT_EQ(Utf8ToCp850("\xe2\x82\xac"), "\xd5");
  EXPECT_EQ(Utf8ToCp850("\xc3\xa7"), "\x87");        // ç
  EXPECT_EQ(Utf8ToCp850("\xe4\xb8\xad"), "?");        // a character outside the code page
  EXPECT_EQ(Utf8ToCp850("a\xff" "b\xc3"), "a?b?");    // invalid and truncated sequences
  EXPECT_EQ(Utf8ToCp850("\xc0\xaf"), "??");           // an overlong form is invalid
  EXPECT_EQ(Utf8ToCp850("\xed\xa0\x80"), "???");      // so is a surrogate
}

}  // namespace
}  // namespace olm::platform
