#include "session/ini_reader.h"

#include <gtest/gtest.h>

#include "scratch.h"

namespace olm {
namespace {

class IniReaderTest : public ::testing::Test {
 protected:
  void Write(const std::string& content) { testing::WriteFile(scratch_.Path() + "test.ini", content); }
  std::string Read(const std::string& section, const std::string& key) {
    return ReadIniValue(scratch_.Path() + "test.ini", section, key);
  }
  testing::ScratchDirectory scratch_;
};

TEST_F(IniReaderTest, ReadsValuesAsWrittenAfterTheEqualsSign) {
  Write(
      "[menu]\r\n"
      "titol = Hello ; comment\r\n"
      "Dir=E:\\DATA\r\n"
      "  Spaced = E:\\DATA\r\n"
      "Quoted=\"a value\"\r\n"
      "OneQuote=\"\r\n"
      "Inner=\"a\"b\"\r\n"
      "Semi=\"x;y\"\r\n"
      "=x\r\n"
      "Empty=\r\n"
      "\tTab=t\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Menu", "TITOL", " Hello "},        // blanks around the value are kept
      {" menu ", " titol ", " Hello "},    // names ignore case and blanks
      {"Menu", "Dir", "E:\\DATA"},
      {"Menu", "Spaced", " E:\\DATA"},
      {"Menu", "Quoted", "a value"},      // one pair of quotes goes
      {"Menu", "OneQuote", "\""},          // a lone quote stays
      {"Menu", "Inner", "a\"b"},           // only the outer pair goes
      {"Menu", "Semi", "\"x"},             // a comment starts even inside quotes
      {"Menu", "", "x"},                   // "=x" names the empty key
      {"Menu", "Empty", ""},
      {"Menu", "Tab", ""},                 // a tab is not a blank: the name is "\tTab"
      {"Menu", "Missing", ""},
      {"Other", "titol", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST_F(IniReaderTest, SearchesOnlyTheFirstSectionOfAName) {
  Write(
      "[Other]\r\nKey=other\r\n"
      "[Wanted]\r\nKey=first\r\nKey=second\r\n"
      "[Wanted]\r\nLater=later\r\n");
  EXPECT_EQ(Read("Wanted", "Key"), "first");
  EXPECT_EQ(Read("Other", "Key"), "other");
  EXPECT_EQ(Read("Wanted", "Later"), "");
}

TEST_F(IniReaderTest, HeaderWithoutClosingBracketRunsToTheLineEnd) {
  Write("[Menu\r\nTitol=x\r\n");
  EXPECT_EQ(Read("MENU", "Titol"), "x");
}

TEST_F(IniReaderTest, LinesEndAtLineFeedsAndAtCtrlZ) {
  Write("[A]\nOne=1\nTwo=2\x1a\nThree=3\n");
  EXPECT_EQ(Read("A", "One"), "1");
  EXPECT_EQ(Read("A", "Two"), "2");
  EXPECT_EQ(Read("A", "Three"), "");
}

TEST_F(IniReaderTest, MissingFileOrEmptyPathGivesEmptyText) {
  EXPECT_EQ(ReadIniValue(scratch_.Path() + "none.ini", "A", "B"), "");
  EXPECT_EQ(ReadIniValue("", "A", "B"), "");
}

TEST_F(IniReaderTest, BadInputNeverCrashes) {
  std::string content = "[A]\r\nLong=" + std::string(1 << 20, 'x') + "\r\n";
  content += std::string("Nul=a\0b", 7) + "\r\n";
  content += "\xff\xfe\x80[\x01]=\r\n";
  Write(content);
  EXPECT_EQ(Read("A", "Long").size(), size_t(1) << 20);
  EXPECT_EQ(Read("A", "Nul"), std::string("a\0b", 3));
}

}  // namespace
}  // namespace olm
