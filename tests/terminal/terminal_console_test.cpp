// The terminal console on a pseudo-terminal: what reaches the program, and
// the terminal settings left behind on each way out.

#include "platform/terminal_console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace olm::platform {
namespace {

// A pseudo-terminal pair: the test plays the terminal on the master side.
class PseudoTerminal {
 public:
  PseudoTerminal(int columns = 80, int rows = 25) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    slavePath_ = ptsname(master_);
    // Kept open so the settings can be read back after the console closes.
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    Resize(columns, rows);
  }
  ~PseudoTerminal() {
    close(slave_);
    close(master_);
  }

  void Resize(int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &size);
  }
  void Type(std::string_view bytes) { ASSERT_EQ(write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

  // Everything the console wrote so far.
  std::string Output() {
    std::string out;
    char buffer[65536];
    pollfd wait{master_, POLLIN, 0};
    while (poll(&wait, 1, 50) > 0) {
      ssize_t got = read(master_, buffer, sizeof buffer);
      if (got <= 0) break;
      out.append(buffer, static_cast<size_t>(got));
    }
    return out;
  }

  termios Settings() const {
    termios settings{};
    tcgetattr(slave_, &settings);
    return settings;
  }
  const char* Path() const { return slavePath_.c_str(); }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

std::unique_ptr<TerminalConsole> OpenOn(PseudoTerminal& pty) {
  std::string reason;
  auto console = TerminalConsole::Open(&reason, pty.Path());
  EXPECT_TRUE(console) << reason;
  return console;
}

// Polls until an event comes, for at most about a second.
ConsoleEvent NextEvent(ConsoleBackend& console) {
  for (int i = 0; i < 60; ++i) {
    ConsoleEvent event = console.PollEvent();
    if (event.kind != ConsoleEvent::Kind::None) return event;
  }
  return ConsoleEvent{};
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag && a.c_cflag == b.c_cflag;
}

TEST(TerminalConsole, OpenFailsClearlyWithoutATerminal) {
  std::string reason;
  EXPECT_FALSE(TerminalConsole::Open(&reason, "/nonexistent/tty"));
  EXPECT_NE(reason.find("/nonexistent/tty"), std::string::npos);
  EXPECT_FALSE(TerminalConsole::Open(&reason, "/dev/null"));
  EXPECT_NE(reason.find("not a terminal"), std::string::npos);
}

TEST(TerminalConsole, TakesTheTerminalOnFirstUseAndGivesItBack) {
  PseudoTerminal pty;
  termios before = pty.Settings();
  auto console = OpenOn(pty);
  EXPECT_TRUE(SameSettings(pty.Settings(), before)) << "nothing changes before first use";
  console->PutCell(1, 1, Cell{'x', 7});
  console->Flush();
  termios raw = pty.Settings();
  EXPECT_FALSE(raw.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(raw.c_iflag & (IXON | ICRNL));
  std::string started = pty.Output();
  EXPECT_NE(started.find("\x1b[?1049h"), std::string::npos);
  EXPECT_NE(started.find("\x1b[?2004h"), std::string::npos);
  console.reset();
  EXPECT_TRUE(SameSettings(pty.Settings(), before));
  std::string ended = pty.Output();
  EXPECT_NE(ended.find("\x1b[?1049l"), std::string::npos);
  EXPECT_NE(ended.find("\x1b[?25h"), std::string::npos);
}

TEST(TerminalConsole, DeliversKeysPastesAndClicksAsTheProgramNeeds) {
  PseudoTerminal pty;
  auto console = OpenOn(pty);
  console->PollEvent();

  pty.Type("\x1b");  // a lone Esc comes after the short delay
  ConsoleEvent esc = NextEvent(*console);
  EXPECT_EQ(esc.character, 27);

  pty.Type("\x1b[200~h\xc3\xa9llo\x1b[201~");
  ConsoleEvent paste = NextEvent(*console);
  EXPECT_EQ(paste.character, 0x16);
  EXPECT_EQ(console->ClipboardText(), "h\x82llo");

  // Mouse events only while mouse input is on; the key after still comes.
  pty.Type("\x1b[<0;9;4m" "a");
  EXPECT_EQ(NextEvent(*console).character, 'a');
  console->SetMouseInput(true);
  pty.Type("\x1b[<0;9;4m");
  ConsoleEvent click = NextEvent(*console);
  EXPECT_EQ(click.kind, ConsoleEvent::Kind::Mouse);
  EXPECT_EQ(click.releasedButton, 1);
  EXPECT_EQ(click.row, 4);
  EXPECT_EQ(click.column, 9);

  console->SetClipboardText("\x82t\x82");  // also offered to the terminal
  EXPECT_NE(pty.Output().find("\x1b]52;c;w6l0w6k=\a"), std::string::npos);
  EXPECT_EQ(console->ClipboardText(), "\x82t\x82");
}

TEST(TerminalConsole, TooSmallShowsAMessageAndHoldsBackKeys) {
  PseudoTerminal pty(60, 20);
  auto console = OpenOn(pty);
  console->PutCell(1, 1, Cell{'Q', 7});
  console->PollEvent();
  std::string shown = pty.Output();
  EXPECT_NE(shown.find("Enlarge the window to 80 x 25"), std::string::npos);
  EXPECT_EQ(shown.find('Q'), std::string::npos);
  pty.Type("z");
  EXPECT_EQ(NextEvent(*console).kind, ConsoleEvent::Kind::None);

  pty.Resize(100, 30);
  raise(SIGWINCH);
  console->PollEvent();
  EXPECT_NE(pty.Output().find('Q'), std::string::npos);
  pty.Type("y");
  EXPECT_EQ(NextEvent(*console).character, 'y');
}

// A child process takes the terminal and leaves by `how`; the terminal must
// be back as it was.
void ExpectRestoredAfter(void (*how)()) {
  PseudoTerminal pty;
  termios before = pty.Settings();
  pid_t child = fork();
  if (child == 0) {
    auto console = TerminalConsole::Open(nullptr, pty.Path());
    if (!console) _exit(3);
    console->PutCell(1, 1, Cell{'x', 7});
    console->Flush();
    console.release();  // not destroyed: the exit path must restore
    how();
    _exit(4);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(SameSettings(pty.Settings(), before));
  std::string output = pty.Output();
  EXPECT_NE(output.find("\x1b[?1049l"), std::string::npos);
}

TEST(TerminalConsole, RestoresOnExitAndOnFatalErrors) {
  ExpectRestoredAfter([] { std::exit(0); });
  ExpectRestoredAfter([] { std::abort(); });
  ExpectRestoredAfter([] { raise(SIGTERM); });
  ExpectRestoredAfter([] {
    RestoreTerminalNow();  // a fatal error path that ends at once
    _exit(1);
  });
}

}  // namespace
}  // namespace olm::platform
