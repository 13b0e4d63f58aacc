#include "session/translation.h"

#include <gtest/gtest.h>

#include "scratch.h"
#include "session/session_settings.h"

namespace olm {
namespace {

class TranslationTest : public ::testing::Test {
 protected:
  TranslationTest() {
    Session() = SessionSettings{};
    Session().RootDir = scratch_.Path();
    ResetTranslationState();
  }
  std::string FilePath() { return scratch_.Path() + "LOCALE/TRELUNAX.LNG"; }
  void WriteLanguageFile(const std::string& content) { testing::WriteFile(FilePath(), content); }
  std::string In(const std::string& language, const std::string& text) {
    Session().Language = language;
    return TranslateText(text);
  }
  testing::ScratchDirectory scratch_;
};

TEST_F(TranslationTest, PicksTheFieldOfTheLanguage) {
  WriteLanguageFile(
      "\"*** despesa no defin. ***\",\"*** gasto non def. ***\",\"*** despensa pas def. ***\","
      "\"*** gasto no defin. ***\"\r\n"
      "DATA,DATA GLG,DATA OCI,FECHA\r\n");
  EXPECT_EQ(In("OCI", "*** despesa no defin. ***"), "*** despensa pas def. ***");
  EXPECT_EQ(In("SPA", "*** despesa no defin. ***"), "*** gasto no defin. ***");
  EXPECT_EQ(In("GLG", "DATA"), "DATA GLG");
  EXPECT_EQ(In("SPA", "DATA"), "FECHA");
  EXPECT_EQ(In("   ", "DATA"), "DATA");
  EXPECT_EQ(In("spa", "DATA"), "DATA");  // codes compare exactly
  EXPECT_EQ(In("SPA", "DATA "), "DATA ");  // keys compare exactly, blanks included
  EXPECT_EQ(In("SPA", "Missing"), "Missing");
}

TEST_F(TranslationTest, RecordsMaySpanLinesAndTheFirstRecordWins) {
  WriteLanguageFile(
      "\"IMPORT\"\r\n  \"IMPORTE\r\n GLG\"\r\n\"IMPORT OCI\",\"IMPORTE\"\r\n"
      "IMPORT,x,y,second\r\n"
      "  Lead , a\tb , c ,d\r\n"
      "Short,only");
  EXPECT_EQ(In("SPA", "IMPORT"), "IMPORTE");
  EXPECT_EQ(In("GLG", "IMPORT"), "IMPORTE GLG");  // a line break inside quotes is dropped
  EXPECT_EQ(In("GLG", "Lead "), "ab ");  // leading blanks skipped, trailing kept, tabs dropped
  EXPECT_EQ(In("SPA", "Lead "), "d");
  EXPECT_EQ(In("SPA", "Short"), "");  // missing fields at the end are empty
}

TEST_F(TranslationTest, CatalanNeverTouchesTheFile) {
  testing::WriteFile(scratch_.Path() + "LOCALE/.keep", "");
  EXPECT_EQ(In("CAT", "DATA"), "DATA");
  EXPECT_FALSE(testing::PathExists(FilePath()));
}

TEST_F(TranslationTest, AMissingFileIsCreatedEmpty) {
  testing::WriteFile(scratch_.Path() + "LOCALE/.keep", "");
  EXPECT_EQ(In("   ", "DATA"), "DATA");
  ASSERT_TRUE(testing::PathExists(FilePath()));
  EXPECT_EQ(testing::ReadFile(FilePath()), "");
}

TEST_F(TranslationTest, AMissingLocaleDirectoryLeavesTextsUnchanged) {
  EXPECT_EQ(In("SPA", "DATA"), "DATA");
  EXPECT_FALSE(testing::PathExists(scratch_.Path() + "LOCALE"));
}

TEST_F(TranslationTest, TheFileIsFoundWhateverItsLetterCase) {
  testing::WriteFile(scratch_.Path() + "locale/trelunax.lng", "DATA,a,b,FECHA\r\n");
  EXPECT_EQ(In("SPA", "DATA"), "FECHA");
}

TEST_F(TranslationTest, BadInputNeverCrashes) {
  WriteLanguageFile(std::string(100000, 'x') + std::string("\0,\"", 3) + "\r\n\"unterminated\x1a" + "DATA,a,b,c\r\n");
  EXPECT_EQ(In("SPA", "DATA"), "DATA");  // the Ctrl-Z ends the file before the record
  WriteLanguageFile(std::string("A\0B,g,o,s\r\n", 11));
  EXPECT_EQ(In("SPA", std::string("A\0B", 3)), "s");
}

}  // namespace
}  // namespace olm
