// Runs olm-keys in a tmux pane of 80 x 25, types keys into it and reads the
// codes it shows; checks that the terminal is left as it was found.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "scratch.h"
#include "tmux_pane.h"

namespace olm {
namespace {

using testing::HaveTmux;
using testing::Quote;
using testing::RunCommand;
using testing::TmuxPane;

std::string KeysTool() {
  const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/tools/olm-keys/olm-keys";
}

// The pane's script: terminal settings before and after the tool, which runs
// in a shell of its own so its process id can be signalled, with its
// standard input and output redirected (it talks to the terminal itself).
std::string PaneScript() {
  return "stty -g > before\n"
         "sh -c 'echo $$ > pid; exec " + KeysTool() + " < /dev/null > tool.out'\n"
         "echo $? > rc\n"
         "stty -g > after\n"
         "echo finished\n"
         "sleep 600\n";
}

// The number and code of the newest event shown, {0, ""} before the first.
struct ShownEvent {
  int number = 0;
  std::string code;
};

ShownEvent NewestEvent(const std::string& screen) {
  ShownEvent newest;
  for (size_t at = screen.find('#'); at != std::string::npos; at = screen.find('#', at + 1)) {
    int number = std::atoi(screen.c_str() + at + 1);
    size_t key = screen.find("key ", at);
    if (number <= newest.number || key == std::string::npos) continue;
    newest.number = number;
    newest.code = screen.substr(key + 4, screen.find(' ', key + 4) - key - 4);
  }
  return newest;
}

// Sends keys and answers the one event they gave ("?" when none came, or
// the codes of all when more than one came).
std::string CodeOfKeys(TmuxPane& pane, const std::string& keys) {
  int before = NewestEvent(pane.Screen()).number;
  pane.Tmux("send-keys " + keys);
  for (int i = 0; i < 200 && NewestEvent(pane.Screen()).number == before; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(60));  // time for a stray second event
  ShownEvent newest = NewestEvent(pane.Screen());
  if (newest.number == before) return "?";
  if (newest.number != before + 1) return "several events, the last " + newest.code;
  return newest.code;
}

void ExpectTerminalRestored(TmuxPane& pane) {
  ASSERT_TRUE(pane.WaitFor("finished")) << pane.Screen();
  EXPECT_EQ(testing::ReadFile("before"), testing::ReadFile("after"));
  EXPECT_EQ(pane.Tmux("display -p '#{alternate_on}'"), "0\n");
  EXPECT_EQ(pane.Screen().find("olm-keys:"), std::string::npos) << "the tool's screen is still shown";
}

TEST(TmuxKeys, ShowsTheCodesOfTheKeysTyped) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing::ScratchDirectory scratch;
  TmuxPane pane(PaneScript());
  ASSERT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();

  struct {
    const char* keys;  // send-keys arguments
    const char* code;
  } const cases[] = {
      {"F1", "3b00"},        {"F11", "8500"},      {"S-F10", "5d00"},    {"C-F1", "5e00"},
      {"M-F12", "8c00"},     {"Up", "4800"},       {"PgDn", "5100"},     {"Home", "4700"},
      {"End", "4f00"},       {"IC", "5200"},       {"DC", "5300"},       {"BTab", "f00"},
      {"C-Left", "7300"},    {"C-Right", "7400"},  {"C-Home", "7700"},   {"C-q", "11"},
      {"C-t", "14"},         {"C-v", "16"},        {"C-y", "19"},        {"C-c", "3"},
      {"M-x", "2d00"},       {"M-c", "2e00"},      {"M-f", "2100"},      {"Escape", "1b"},
      {"Enter", "d"},        {"-l ç", "87"},       {"M-F9", "7000"},
      // Alt+F9 as Esc before the plain sequence; a left click at row 5, column 12.
      {"-H 1b 1b 5b 32 30 7e", "7000"},
      {"-H 1b 5b 3c 30 3b 31 32 3b 35 4d 1b 5b 3c 30 3b 31 32 3b 35 6d", "c45"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeOfKeys(pane, c.keys), c.code) << c.keys;
  }
  EXPECT_NE(pane.Screen().find("released 1 row 5 column 12"), std::string::npos) << pane.Screen();

  // A bracketed paste arrives as clipboard text and Ctrl+V.
  pane.Tmux("set-buffer " + Quote("caf\xc3\xa9 au lait"));
  EXPECT_EQ(CodeOfKeys(pane, "\\; paste-buffer -p"), "16");
  EXPECT_TRUE(pane.WaitFor("clipboard: caf\xc3\xa9 au lait")) << pane.Screen();

  pane.Tmux("send-keys Escape Escape");
  ExpectTerminalRestored(pane);
  EXPECT_EQ(testing::ReadFile("rc"), "0\n");
}

TEST(TmuxKeys, AsksForALargerWindowWhileTooSmall) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing::ScratchDirectory scratch;
  TmuxPane pane(PaneScript());
  ASSERT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();
  pane.Tmux("resize-window -x 60 -y 20");
  EXPECT_TRUE(pane.WaitFor("Enlarge the window to 80 x 25")) << pane.Screen();
  pane.Tmux("resize-window -x 80 -y 25");
  EXPECT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();
  EXPECT_EQ(pane.Screen().find("Enlarge"), std::string::npos);
  pane.Tmux("send-keys Escape Escape");
  ExpectTerminalRestored(pane);
}

TEST(TmuxKeys, EndingSignalsRestoreTheTerminal) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  for (const char* signal : {"TERM", "HUP", "INT"}) {
    SCOPED_TRACE(signal);
    testing::ScratchDirectory scratch;
    TmuxPane pane(PaneScript());
    ASSERT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();
    std::string pid = testing::ReadFile("pid");
    RunCommand("kill -" + std::string(signal) + " " + pid);
    ExpectTerminalRestored(pane);
    EXPECT_NE(testing::ReadFile("rc"), "0\n");
  }
}

TEST(TmuxKeys, AStoppedToolGivesTheTerminalBackUntilItContinues) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  testing::ScratchDirectory scratch;
  TmuxPane pane(PaneScript());
  ASSERT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();
  std::string pid = testing::ReadFile("pid");
  RunCommand("kill -TSTP " + pid);
  for (int i = 0; i < 100 && pane.Tmux("display -p '#{alternate_on}'") != "0\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_EQ(pane.Tmux("display -p '#{alternate_on}'"), "0\n");
  RunCommand("kill -CONT " + pid);
  EXPECT_TRUE(pane.WaitFor("olm-keys: press keys")) << pane.Screen();
  EXPECT_EQ(CodeOfKeys(pane, "F2"), "3c00");
  pane.Tmux("send-keys Escape Escape");
  ExpectTerminalRestored(pane);
  EXPECT_EQ(testing::ReadFile("rc"), "0\n");
}

}  // namespace
}  // namespace olm
