// Sets up the demo installation as scripts/run does, starts the program on
// it in a tmux pane of 80 x 25, and reads the screens back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "scratch.h"

namespace olm {
namespace {

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  pclose(pipe);
  return output;
}

std::string BinaryDir() {
  const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
  return dir ? dir : ".";
}

// A tmux server of its own (private socket), killed when the test ends.
class DemoPane {
 public:
  explicit DemoPane(const std::string& script) : socket_("olm-demo-test-" + std::to_string(getpid())) {
    testing::WriteFile("tmux.conf", "set -g default-terminal xterm-256color\nset -g escape-time 0\n");
    testing::WriteFile("pane.sh", script);
    Tmux("-f tmux.conf new-session -d -x 80 -y 25 'sh pane.sh'");
    socketPath_ = Tmux("display -p '#{socket_path}'");
    if (!socketPath_.empty()) socketPath_.pop_back();
  }
  ~DemoPane() {
    Tmux("kill-server");
    if (!socketPath_.empty()) unlink(socketPath_.c_str());
  }
  std::string Tmux(const std::string& arguments) { return RunCommand("tmux -L " + socket_ + " " + arguments); }
  std::string Screen() { return Tmux("capture-pane -p"); }
  // Row r of the pane, 1-based.
  std::string Row(int r) {
    std::istringstream lines(Screen());
    std::string line;
    for (int i = 0; i < r && std::getline(lines, line);) ++i;
    return line;
  }
  // Waits a generous while for `text` to appear: it bounds a wait for the
  // program, it measures nothing.
  bool WaitFor(const std::string& text) {
    for (int i = 0; i < 800; ++i) {
      if (Screen().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }

 private:
  std::string socket_;
  std::string socketPath_;
};

TEST(DemoTest, FirstScreenShowsTheTitleAndTheBusyPropertyOpensOnItsLastPage) {
  if (RunCommand("tmux -V").rfind("tmux ", 0) != 0) GTEST_SKIP() << "tmux is not installed";
  testing::ScratchDirectory scratch;
  const std::string demo = scratch.Path() + "demo";
  const std::string made = RunCommand(std::string(OLM_SOURCE_DIR) + "/scripts/make-demo " + BinaryDir() + " " + demo);
  ASSERT_EQ(made, "");
  DemoPane pane("OLMROOT=" + demo + "/root/ OLMTMP=" + demo + "/tmp/ " + BinaryDir() +
                "/trelunax\necho \"ended $?\"\nsleep 600\n");
  ASSERT_TRUE(pane.WaitFor("Demostració de trelunax")) << pane.Screen();
  EXPECT_NE(pane.Row(1).find("Demostració de trelunax"), std::string::npos);

  pane.Tmux("send-keys 101 Enter");
  ASSERT_TRUE(pane.WaitFor("Carrer Major, 12")) << pane.Screen();
  ASSERT_TRUE(pane.WaitFor("29/9/2025")) << pane.Screen();
  // 45 movements: the last page holds the 39th to the 45th.
  EXPECT_EQ(pane.Row(5).substr(0, 15), "2/9/2025   0001");
  EXPECT_EQ(pane.Row(11).substr(0, 30), "29/9/2025  0001  Electricitat ");
  EXPECT_EQ(pane.Row(12).find_first_not_of(' '), std::string::npos);

  // Esc leads back to the first screen and Esc there ends the program.
  for (int i = 0; i < 4 && pane.Screen().find("ended") == std::string::npos; ++i) {
    pane.Tmux("send-keys Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  EXPECT_TRUE(pane.WaitFor("ended 0")) << pane.Screen();
}

}  // namespace
}  // namespace olm
