#include "session/session_settings.h"

#include <gtest/gtest.h>

#include "scratch.h"

namespace olm {
namespace {

class SessionSettingsTest : public ::testing::Test {
 protected:
  SessionSettingsTest() { environment_.ClearProgramVariables(); }
  const SessionSettings& Load() {
    LoadSessionSettings();
    return Session();
  }
  std::string Path(const std::string& name) { return scratch_.Path() + name; }

  testing::ScratchDirectory scratch_;
  testing::ScopedEnvironment environment_;
};

TEST_F(SessionSettingsTest, DefaultsWithoutVariablesOrFiles) {
  const SessionSettings& s = Load();
  EXPECT_EQ(s.RootDir, "");
  EXPECT_EQ(s.TempDir, "");
  EXPECT_EQ(s.TerminalDir, "");
  EXPECT_EQ(s.MenuTitle, "  ");
  EXPECT_EQ(s.MenuName, "");
  EXPECT_EQ(s.Language, "   ");
  EXPECT_EQ(s.RunMode, "DOS");
  EXPECT_EQ(s.WorkDate, "");
  EXPECT_EQ(s.MainCurrency, "E");
  EXPECT_EQ(s.DisplayCurrency, "E");
  EXPECT_EQ(s.SecondCurrency, "");
  const ColourTable defaults = {{{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}}};
  EXPECT_EQ(s.Colours, defaults);
  EXPECT_EQ(s.ProgramName, "TRELUNAX");
}

TEST_F(SessionSettingsTest, DirectoryCompletion) {
  EXPECT_EQ(CompleteDirectory("D:\\TMP"), "D:\\TMP\\");
  EXPECT_EQ(CompleteDirectory("D:"), "D:");
  EXPECT_EQ(CompleteDirectory("D:\\TMP\\"), "D:\\TMP\\");
  EXPECT_EQ(CompleteDirectory(""), "");
  EXPECT_EQ(CompleteDirectory("/srv/olm/"), "/srv/olm/\\");  // harmless: becomes "//"
}

TEST_F(SessionSettingsTest, ReadsTheSessionFileFromTheTemporaryDirectory) {
  testing::WriteFile(Path("tmp/Sessio.ini"), "[Menu]\r\nTitol=Despeses\r\nNomMenu=DEMO\r\n[Terminal]\r\nDir=" +
                                                 Path("term") + "\r\n");
  testing::WriteFile(Path("tmp/VornTerm.ini"), "[Sistema]\r\nData=20240131\r\nIdioma=spa\r\n");
  environment_.Set("OLMTMP", Path("tmp"));
  const SessionSettings& s = Load();
  EXPECT_EQ(s.TempDir, Path("tmp") + "\\");
  EXPECT_EQ(s.MenuTitle, " Despeses ");
  EXPECT_EQ(s.MenuName, "DEMO");
  EXPECT_EQ(s.TerminalDir, Path("term") + "\\");
  EXPECT_EQ(s.WorkDate, "\x94\x98\x81\x9f");  // 148, 152, 129, 159
  EXPECT_EQ(s.Language, "spa");              // not upper-cased
}

TEST_F(SessionSettingsTest, TerminalDirectoryStandsInForAMissingTemporaryDirectory) {
  testing::WriteFile(Path("Sessio.ini"), "[Terminal]\r\nDir=" + Path("term") + "\r\n");
  testing::WriteFile(Path("term/VornTerm.ini"), "[Sistema]\r\nIdioma = CAT\r\n");
  const SessionSettings& s = Load();
  EXPECT_EQ(s.TerminalDir, Path("term") + "\\");
  EXPECT_EQ(s.TempDir, Path("term") + "\\");
  EXPECT_EQ(s.Language, " CA");  // the blank after "=" belongs to the value
}

TEST_F(SessionSettingsTest, TerminalDirectoryFallsBackToTerm) {
  environment_.Set("TERM", "xterm");
  EXPECT_EQ(Load().TerminalDir, "xterm\\");
}

TEST_F(SessionSettingsTest, ColourTableFromTheSelectedEntry) {
  const struct {
    std::string file;
    ColourTable colours;
  } cases[] = {
      {"[Pantalla]\r\nSeleccio=2\r\nCol2=14010700\r\n", {{{14, 1}, {7, 0}, {0, 0}, {0, 0}, {0, 0}}}},
      {"[Pantalla]\r\nSeleccio=2\r\nCol1=14010700\r\n", {{{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}}}},
      {"[Pantalla]\r\nSeleccio=-1\r\nCol-1=01020304050607080910\r\n", {{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}}},
      {"[Pantalla]\r\nCol0=1x\r\n", {{{1, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}}},
  };
  for (const auto& c : cases) {
    testing::WriteFile(Path("VornTerm.ini"), c.file);
    EXPECT_EQ(Load().Colours, c.colours) << c.file;
  }
}

TEST_F(SessionSettingsTest, LanguageFromTheRegionalFileWhenTheTerminalGivesNone) {
  testing::WriteFile(Path("root/Vorn.ini"), "[Usuari]\r\nIdioma=OCITAN\r\n");
  environment_.Set("OLMROOT", Path("root/"));
  EXPECT_EQ(Load().Language, "OCI");
  environment_.Set("OLMROOT", Path("root"));  // no separator is inserted
  EXPECT_EQ(Load().Language, "   ");
  testing::WriteFile(Path("rootVorn.ini"), "[Usuari]\r\nIdioma=GLG\r\n");
  EXPECT_EQ(Load().Language, "GLG");
}

TEST_F(SessionSettingsTest, RunModeFromTheEnvironment) {
  const struct {
    const char* variable;
    const char* mode;
  } cases[] = {{"HTTP_USER_AGENT", "CGI"}, {"HTTP_ACCEPT", "CGI"}, {"WINDIR", "WIN"}, {"SYSTEMROOT", "WIN"}};
  for (const auto& c : cases) {
    testing::ScopedEnvironment one;
    one.Set(c.variable, "x");
    EXPECT_EQ(Load().RunMode, c.mode) << c.variable;
  }
}

TEST_F(SessionSettingsTest, InvalidUtf8InTheEnvironmentIsReplaced) {
  environment_.Set("OLMROOT", "/tmp/\xff\xc3(\xe9/");
  EXPECT_EQ(Load().RootDir, "/tmp/??(?/");
  environment_.Set("OLMROOT", "/srv/caf\xc3\xa9/");
  EXPECT_EQ(Load().RootDir, "/srv/caf\x82/");  // é is byte 130
}

TEST(SetCurrency, CommandsChangeTheCurrencies) {
  Session() = SessionSettings{};
  SetCurrency("a,E");
  EXPECT_EQ(Session().MainCurrency, "E");
  EXPECT_EQ(Session().DisplayCurrency, "E");
  SetCurrency("b, p ");
  EXPECT_EQ(Session().SecondCurrency, "P");
  EXPECT_EQ(Session().DisplayCurrency, "E");
  SetCurrency("P");
  EXPECT_EQ(Session().DisplayCurrency, "P");
  SetCurrency("x");
  EXPECT_EQ(Session().DisplayCurrency, "E");
  Session() = SessionSettings{};
  SetCurrency("a,E");
  SetCurrency("p");  // no second currency: the main one shows
  EXPECT_EQ(Session().DisplayCurrency, "E");
}

}  // namespace
}  // namespace olm
