#include "tools/calculator_state.h"

#include <gtest/gtest.h>

#include "tools/calculator_engine.h"
#include "tools_fixture.h"

namespace olm::testing {
namespace {

CalculatorState Pressed(std::string_view keys) {
  CalculatorState state;
  for (char key : keys) PressCalculatorKey(state, key);
  return state;
}

// The lines of a text that ends every line with CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(CalculatorStateText, HasTwentyFiveLinesOfCommaSeparatedValues) {
  CalculatorState state = Pressed("200+10%=");
  state.boxColumn = 12;
  PressCalculatorKey(state, '7');
  PressCalculatorKey(state, '+');
  PressCalculatorKey(state, '2');
  PressCalculatorKey(state, '.');
  const std::vector<std::string> lines = Lines(CalculatorStateText(state));
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines[0], "12,18,2,7");
  EXPECT_EQ(lines[1], "0,-1,-1,0");
  EXPECT_EQ(lines[2], "\"+\",\"+\"");
  EXPECT_EQ(lines[3], "0,0,0,\" \"");
  EXPECT_EQ(lines[24], "7,0,0,\"+\"");
  EXPECT_EQ(lines[23], "220,0,0,\" \"");
}

TEST(CalculatorStateText, ReadsBackTheSameState) {
  CalculatorState state = Pressed("1/3=T*0.1=");
  state.tape[0] = {1e20, false, 0, '*'};
  state.tape[1] = {-2.5, true, 1, '-'};
  state.tape[2] = {0.1 + 0.2, true, 15, 'R'};
  state.total = 1.0 / 3;
  state.lastKey = "=";
  const std::optional<CalculatorState> back = ReadCalculatorStateText(CalculatorStateText(state));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, state);
}

TEST(CalculatorStateText, EmptyOrShortFilesStartFromTheInitialState) {
  EXPECT_EQ(ReadCalculatorStateText(""), CalculatorState{});
  // Fewer tape lines fill the oldest ones; blank lines at the end are allowed.
  const auto state = ReadCalculatorStateText("3,22,5,5\r\n0,0,0,0\r\n\"\",\"+\"\r\n5,0,0,\"+\"\r\n\r\n");
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(state->boxColumn, 3);
  EXPECT_EQ(state->pendingOperator, "+");
  EXPECT_EQ(state->tape[0], (TapeLine{5, false, 0, '+'}));
  EXPECT_EQ(state->tape[1], TapeLine{});
}

TEST(CalculatorStateText, LinesAfterTheTwentySecondTapeLineAreNotRead) {
  std::string text = CalculatorStateText(Pressed("4+"));
  text += "garbage\r\n9,0,0,\"+\"\r\n";
  const auto state = ReadCalculatorStateText(text);
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(*state, Pressed("4+"));
}

TEST(CalculatorStateText, DamagedContentIsRefusedWhole) {
  const std::string good = CalculatorStateText(Pressed("4+"));
  const std::string tail = good.substr(good.find("\r\n") + 2);
  const std::string afterHeader = good.substr(good.find("\"\r\n") + 3);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"not a state file", "hello\r\n"},
      {"too few values", "1,23,0\r\n" + tail},
      {"a word for a number", "1,23,zero,0\r\n" + tail},
      {"trailing characters", "1,23,0x,0\r\n" + tail},
      {"box past column 55", "56,23,0,0\r\n" + tail},
      {"first shown line 1", "1,1,0,0\r\n" + tail},
      {"a flag of 1", "1,23,0,0\r\n1,0,0,0\r\n\"\",\"\"\r\n" + afterHeader},
      {"too many decimals", "1,23,0,0\r\n0,0,0,16\r\n\"\",\"\"\r\n" + afterHeader},
      {"an unknown operator", "1,23,0,0\r\n0,0,0,0\r\n\"\",\"x\"\r\n" + afterHeader},
      {"only two lines", "1,23,0,0\r\n0,0,0,0\r\n"},
      {"a tape line without operator", "1,23,0,0\r\n0,0,0,0\r\n\"\",\"\"\r\n5,0,0\r\n"},
      {"a tape line with a long operator", "1,23,0,0\r\n0,0,0,0\r\n\"\",\"\"\r\n5,0,0,\"++\"\r\n"},
      {"an oversized file", good + std::string(70000, ' ')},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadCalculatorStateText(c.text).has_value()) << c.what;
}

using CalculatorStateFile = ToolsTest;

TEST_F(CalculatorStateFile, MissingFileIsCreatedEmptyAndSavedStateComesBack) {
  const std::string path = scratch_.Path() + "term/OLMCALC.TMP";
  EXPECT_EQ(LoadCalculatorState(), CalculatorState{});
  EXPECT_TRUE(PathExists(path));
  EXPECT_EQ(ReadFile(path), "");

  const CalculatorState state = Pressed("12.5*3=");
  EXPECT_TRUE(SaveCalculatorState(state));
  EXPECT_EQ(LoadCalculatorState(), state);
}

TEST_F(CalculatorStateFile, DamagedFileGivesTheInitialStateAndIsRewritten) {
  const std::string path = scratch_.Path() + "term/OLMCALC.TMP";
  WriteFile(path, "\x01\x02 not ours,,,\r\n\"unterminated");
  EXPECT_EQ(LoadCalculatorState(), CalculatorState{});
  EXPECT_TRUE(SaveCalculatorState(CalculatorState{}));
  EXPECT_EQ(ReadFile(path), CalculatorStateText(CalculatorState{}));
}

TEST_F(CalculatorStateFile, MissingTerminalDirectoryGivesTheInitialState) {
  Session().TerminalDir = "absent\\";
  EXPECT_EQ(LoadCalculatorState(), CalculatorState{});
  EXPECT_FALSE(SaveCalculatorState(Pressed("5+")));
}

}  // namespace
}  // namespace olm::testing
