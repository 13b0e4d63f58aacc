#include "tmux_pane.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

#include "scratch.h"

namespace olm::testing {

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

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool HaveTmux() { return RunCommand("tmux -V").rfind("tmux ", 0) == 0; }

TmuxPane::TmuxPane(const std::string& script) {
  static int count = 0;
  socket_ = "olm-test-" + std::to_string(getpid()) + "-" + std::to_string(++count);
  WriteFile("tmux.conf",
            "set -g default-terminal xterm-256color\n"
            "set -g xterm-keys on\n"
            "set -g escape-time 0\n");
  WriteFile("pane.sh", script);
  Tmux("-f tmux.conf new-session -d -x 80 -y 25 'sh pane.sh'");
  socketPath_ = Tmux("display -p '#{socket_path}'");
  if (!socketPath_.empty()) socketPath_.pop_back();
}

TmuxPane::~TmuxPane() {
  Tmux("kill-server");
  if (!socketPath_.empty()) unlink(socketPath_.c_str());
}

std::string TmuxPane::Tmux(const std::string& arguments) { return RunCommand("tmux -L " + socket_ + " " + arguments); }

std::string TmuxPane::Screen() { return Tmux("capture-pane -p"); }

std::string TmuxPane::Row(int r) {
  std::istringstream lines(Screen());
  std::string line;
  for (int i = 0; i < r && std::getline(lines, line);) ++i;
  return line;
}

bool TmuxPane::WaitFor(const std::string& text) {
  for (int i = 0; i < 800; ++i) {
    if (Screen().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

}  // namespace olm::testing
