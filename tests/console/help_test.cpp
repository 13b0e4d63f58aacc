#include "console/help.h"

#include <sys/stat.h>

#include "console/screen.h"
#include "console/windows.h"
#include "console_fixture.h"

namespace olm::testing {
namespace {

constexpr int kF1 = 0x3b00, kUp = 0x4800, kDown = 0x5000, kPgUp = 0x4900, kPgDn = 0x5100, kHome = 0x4700,
              kEnd = 0x4f00, kEsc = 27;

class HelpTest : public ConsoleTest {
 protected:
  HelpTest() { Session().RunMode = "DOS"; }

  // A help file of 80-byte lines.
  void WriteHelp(const std::string& topic, const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content += (line + std::string(80, ' ')).substr(0, 80);
    WriteFile("AJUDA/" + topic + ".HLP", content);
  }
  std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("Line " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    return lines;
  }
  // The text shown on window row r of the viewer.
  std::string Shown(int r) { return Screen().Row(4 + r).substr(2, 7); }
};

TEST_F(HelpTest, KeysScrollAndPageThroughALongFile) {
  WriteHelp("TOPIC", NumberedLines(40));
  struct Step {
    int key;
    const char* first;
    const char* last;
  };
  const Step steps[] = {
      {0, "Line 01", "Line 17"},     {kDown, "Line 02", "Line 18"}, {kUp, "Line 01", "Line 17"},
      {kUp, "Line 01", "Line 17"},   {kHome, "Line 01", "Line 17"}, {kPgDn, "Line 18", "Line 34"},
      {kPgDn, "Line 24", "Line 40"}, {kPgDn, "Line 24", "Line 40"}, {kDown, "Line 24", "Line 40"},
      {kEnd, "Line 24", "Line 40"},  {kUp, "Line 23", "Line 39"},   {kPgUp, "Line 07", "Line 23"},
      {kPgUp, "Line 01", "Line 17"}, {kPgUp, "Line 01", "Line 17"}, {kEnd, "Line 24", "Line 40"},
      {kHome, "Line 01", "Line 17"}, {'x', "Line 01", "Line 17"},
  };
  std::vector<std::pair<std::string, std::string>> seen;
  for (const Step& step : steps) {
    if (step.key != 0) Screen().QueueKey(step.key);
    Screen().QueueAction([&] { seen.emplace_back(Shown(1), Shown(17)); });
  }
  Screen().QueueKey(kEsc);
  ShowHelp("TOPIC");
  ASSERT_EQ(seen.size(), std::size(steps));
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, steps[i].first) << "step " << i;
    EXPECT_EQ(seen[i].second, steps[i].last) << "step " << i;
  }
}

TEST_F(HelpTest, AShortFileDoesNotMoveAndEscRestoresTheScreen) {
  WriteHelp("TOPIC", NumberedLines(10));
  SetColour("u");
  SetCursorPosition(1, 1);
  for (int row = 1; row <= 25; ++row) WriteText(std::string(80, static_cast<char>('a' + row % 26))), NewLine();
  const std::string before = Screen().Dump();
  std::vector<std::string> pictures;
  std::string frame, lastLine, belowLast;
  Screen().QueueAction([&] {
    pictures.push_back(Screen().Dump());
    frame = Screen().RowUtf8(4);
    lastLine = Screen().Row(14);
    belowLast = Screen().Row(15);
  });
  for (int key : {kDown, kPgDn, kEnd, kUp, kPgUp, kHome}) {
    Screen().QueueKey(key);
    Screen().QueueAction([&] { pictures.push_back(Screen().Dump()); });
  }
  Screen().QueueKey(kEsc);
  ShowHelp("TOPIC");

  const std::string& first = pictures.front();
  for (const std::string& picture : pictures) EXPECT_EQ(picture, first);
  EXPECT_EQ(frame, "╔" + [] {
    std::string s;
    for (int i = 0; i < 78; ++i) s += "═";
    return s;
  }() + "╗");
  EXPECT_EQ(lastLine.substr(0, 9), std::string("\xBA Line 10"));
  EXPECT_EQ(belowLast, "\xBA" + std::string(78, ' ') + "\xBA") << "rows below the last line are blank";
  EXPECT_EQ(Screen().Dump(), before);
  EXPECT_EQ(CurrentColourRole(), 4);
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(HelpTest, StyleBytesSwitchColourRolesAndTakeNoRoom) {
  WriteHelp("TOPIC", {
                         "\x1eword\x1e rest \x1funder\x1f \x10rev\x10 end",
                         "\x1fu\x1eu\x1eu\x1f n",
                         "\x1e" + std::string(79, 'x'),
                         std::string(80, 'y'),
                     });
  std::vector<std::string> texts, roles;
  Screen().QueueAction([&] {
    for (int row = 5; row <= 8; ++row) {
      texts.push_back(Screen().Row(row));
      roles.push_back(Screen().RoleRow(row));
    }
  });
  Screen().QueueKey(kEsc);
  ShowHelp("TOPIC");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].substr(2, 24), "word rest under rev end ");
  EXPECT_EQ(roles[0].substr(2, 23), "00001111114444412221111");
  EXPECT_EQ(roles[1].substr(2, 5), "44411") << "emphasis does not show while underlining";
  EXPECT_EQ(texts[2].substr(2, 77), std::string(76, 'x') + " ") << "at most 76 characters";
  EXPECT_EQ(texts[3].substr(2, 77), std::string(76, 'y') + " ");
}

TEST_F(HelpTest, F1OpensTheGeneralHelpOnceAndEscReturns) {
  WriteHelp("TOPIC", {"Topic help"});
  WriteHelp("KAPRISOL", {"General help"});
  std::vector<std::pair<int, std::string>> seen;
  auto look = [&] { Screen().QueueAction([&] { seen.emplace_back(WindowDepth(), Screen().Row(5).substr(2, 12)); }); };
  Screen().QueueKey(kF1);
  look();
  Screen().QueueKey(kF1);
  look();
  Screen().QueueKey(kEsc);
  look();
  Screen().QueueKey(kEsc);
  const std::string before = Screen().Dump();
  ShowHelp("TOPIC");
  const std::vector<std::pair<int, std::string>> expected = {
      {2, "General help"}, {2, "General help"}, {1, "Topic help  "}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(Screen().Dump(), before);
}

TEST_F(HelpTest, AMissingFileOpensAnEmptyViewer) {
  bool empty = false;
  Screen().QueueAction([&] { empty = Screen().Row(5) == "\xBA" + std::string(78, ' ') + "\xBA"; });
  Screen().QueueKey(kEsc);
  ShowHelp("NOTHERE");
  EXPECT_TRUE(empty);
  EXPECT_EQ(WindowDepth(), 0);
}

TEST_F(HelpTest, WinModeRunsTheDocumentToolWithTheTopicAsOneArgumentAndWaits) {
  Session().RunMode = "WIN";
  const std::string script = scratch_.Path() + "comspec.sh";
  WriteFile(script,
            "#!/bin/sh\n"
            "sleep 0.2\n"
            "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$(dirname \"$0\")/args.txt\"\n");
  chmod(script.c_str(), 0755);
  ScopedEnvironment environment;
  environment.Set("COMSPEC", script);
  const std::string before = Screen().Dump();

  ShowHelp("my topic \"x\"; rm -rf $(pwd) 'y'");
  EXPECT_EQ(ReadFile(scratch_.Path() + "args.txt"),
            "[/C]\n[ROVLIN]\n[AJUDA\\my topic \"x\"; rm -rf $(pwd) 'y'.HTM]\n")
      << "the tool has ended before the help returns";
  EXPECT_EQ(Screen().Dump(), before) << "nothing is drawn";

  environment.Set("COMSPEC", std::nullopt);
  ShowHelp("TOPIC");
  EXPECT_EQ(Screen().Dump(), before);
}

TEST_F(HelpTest, ScrollRegionCountsFromZero) {
  SetCursorPosition(2, 1);
  WriteText("ab");
  SetCursorPosition(3, 1);
  WriteText("cd");
  ScrollRegion(1, 0, 2, 0, 1);  // rows 2..3, column 1
  EXPECT_EQ(Screen().Row(2).substr(0, 2), "cb");
  EXPECT_EQ(Screen().Row(3).substr(0, 2), " d");
}

}  // namespace
}  // namespace olm::testing
