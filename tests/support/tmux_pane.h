#pragma once
// A tmux server of its own running one pane of 80 x 25, for tests that drive
// a program on a real terminal with send-keys and read it with capture-pane.

#include <string>

namespace olm::testing {

// Runs a shell command and answers its standard output and error.
std::string RunCommand(const std::string& command);
// `text` quoted for the shell.
std::string Quote(const std::string& text);
bool HaveTmux();

class TmuxPane {
 public:
  // Starts the pane on `script` (a shell script written to pane.sh in the
  // current directory).
  explicit TmuxPane(const std::string& script);
  // The server goes, and the socket file it leaves behind.
  ~TmuxPane();
  TmuxPane(const TmuxPane&) = delete;
  TmuxPane& operator=(const TmuxPane&) = delete;

  std::string Tmux(const std::string& arguments);
  std::string Screen();
  // Row r of the pane, 1-based.
  std::string Row(int r);
  // Waits a generous while for `text` to appear on the pane: it bounds a
  // wait for the program, it measures nothing.
  bool WaitFor(const std::string& text);

 private:
  std::string socket_;
  std::string socketPath_;
};

}  // namespace olm::testing
