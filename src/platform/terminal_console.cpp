#include "platform/terminal_console.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "platform/codepage.h"

namespace olm::platform {
namespace {

// How long an Esc waits for the rest of a sequence before it counts as the
// Esc key, how long one poll waits for input, and how long a paste may
// pause before it is taken as ended.
constexpr int kEscapeDelayMilliseconds = 40;
constexpr int kPollMilliseconds = 15;
constexpr int kPasteGiveUpMilliseconds = 1000;

constexpr std::string_view kTooSmallText = "Enlarge the window to 80 x 25";

// Alternate screen, no automatic wrap, mouse button reports in SGR form,
// bracketed paste.
constexpr std::string_view kStartSequence = "\x1b[?1049h\x1b[?7l\x1b[?1000h\x1b[?1006h\x1b[?2004h";
// Everything above undone, colours and cursor back to the terminal's own.
constexpr char kRestoreSequence[] =
    "\x1b[?2004l\x1b[?1006l\x1b[?1000l\x1b[0m\x1b[0 q\x1b[?25h\x1b[?7h\x1b[?1049l";

// The signals that end the process: the terminal is restored, then the
// signal takes its course.
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGABRT,
                                  SIGSEGV, SIGBUS, SIGFPE, SIGILL};

// What a restore needs, kept where a signal handler can reach it. One
// terminal console is in use at a time.
struct RestoreState {
  volatile sig_atomic_t active = 0;
  int fd = -1;
  termios original{};
  struct sigaction previous[std::size(kEndingSignals)]{};
  struct sigaction previousResize{};
  struct sigaction previousStop{};
  struct sigaction previousContinue{};
  bool exitHookInstalled = false;
};

// Nothing to destroy, so a restore at exit may use it whatever the order in
// which statics go.
static_assert(std::is_trivially_destructible_v<RestoreState>);

RestoreState& State() {
  static RestoreState state;
  return state;
}

volatile sig_atomic_t resized = 1;
volatile sig_atomic_t resumed = 0;

long long MonotonicMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void OnResize(int) { resized = 1; }

// A stop request (kill -TSTP; the key itself is an ordinary key in raw
// mode): the terminal is given back while the process is stopped.
void OnStop(int) {
  RestoreTerminalNow();
  raise(SIGSTOP);
}

// After a stop the terminal may have been used by others: take it again and
// redraw.
void OnContinue(int) { resumed = 1; }

void OnEndingSignal(int signal) {
  RestoreTerminalNow();
  RestoreState& state = State();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    if (kEndingSignals[i] == signal) sigaction(signal, &state.previous[i], nullptr);
  }
  raise(signal);  // delivered with the earlier disposition once this returns
}

void RestoreAtExit() { RestoreTerminalNow(); }

// Handlers for resizing and for the ending signals; a signal the process
// ignores (nohup, a background job) stays ignored.
void InstallSignalHandlers() {
  RestoreState& state = State();
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = OnEndingSignal;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    sigaction(kEndingSignals[i], nullptr, &state.previous[i]);
    if (state.previous[i].sa_handler != SIG_IGN) sigaction(kEndingSignals[i], &action, nullptr);
  }
  struct sigaction resize {};
  sigemptyset(&resize.sa_mask);
  resize.sa_handler = OnResize;
  sigaction(SIGWINCH, &resize, &state.previousResize);
  resize.sa_handler = OnContinue;
  sigaction(SIGCONT, &resize, &state.previousContinue);
  sigaction(SIGTSTP, nullptr, &state.previousStop);
  if (state.previousStop.sa_handler != SIG_IGN) {
    resize.sa_handler = OnStop;
    sigaction(SIGTSTP, &resize, nullptr);
  }
}

void RemoveSignalHandlers() {
  RestoreState& state = State();
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    sigaction(kEndingSignals[i], &state.previous[i], nullptr);
  }
  sigaction(SIGWINCH, &state.previousResize, nullptr);
  sigaction(SIGCONT, &state.previousContinue, nullptr);
  sigaction(SIGTSTP, &state.previousStop, nullptr);
}

// The terminal settings of raw mode: every byte reaches the program as it
// is typed (Ctrl+C, Ctrl+Q, Ctrl+S, Ctrl+Z, Ctrl+V and Ctrl+Y are keys, not
// signals or flow control), nothing is echoed, output is not translated.
termios RawMode(termios settings) {
  settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
  settings.c_oflag &= ~OPOST;
  settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  settings.c_cflag &= ~(CSIZE | PARENB);
  settings.c_cflag |= CS8;
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return settings;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t chunk = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) chunk |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) chunk |= static_cast<uint8_t>(bytes[i + 2]);
    out += kDigits[(chunk >> 18) & 63];
    out += kDigits[(chunk >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(chunk >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[chunk & 63] : '=';
  }
  return out;
}

}  // namespace

void RestoreTerminalNow() {
  RestoreState& state = State();
  if (!state.active) return;
  state.active = 0;
  // Only async-signal-safe calls from here on.
  size_t left = sizeof(kRestoreSequence) - 1;
  const char* next = kRestoreSequence;
  while (left > 0) {
    ssize_t written = write(state.fd, next, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    next += written;
    left -= static_cast<size_t>(written);
  }
  tcsetattr(state.fd, TCSADRAIN, &state.original);
}

std::unique_ptr<TerminalConsole> TerminalConsole::Open(std::string* reason, const char* device) {
  int fd = open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (reason) *reason = std::string("cannot open the terminal ") + device + ": " + std::strerror(errno);
    return nullptr;
  }
  if (!isatty(fd)) {
    if (reason) *reason = std::string(device) + " is not a terminal";
    close(fd);
    return nullptr;
  }
  return std::unique_ptr<TerminalConsole>(new TerminalConsole(fd));
}

TerminalConsole::TerminalConsole(int fd) : fd_(fd) {}

TerminalConsole::~TerminalConsole() {
  Restore();
  close(fd_);
}

// Takes the terminal over: raw mode, alternate screen, mouse and paste
// reports. Done on first use, so a program that ends before it draws
// anything leaves the terminal untouched.
void TerminalConsole::Start() {
  if (started_) return;
  RestoreState& state = State();
  if (tcgetattr(fd_, &state.original) != 0) return;
  state.fd = fd_;
  if (!state.exitHookInstalled) {
    std::atexit(RestoreAtExit);
    state.exitHookInstalled = true;
  }
  InstallSignalHandlers();
  started_ = true;
  TakeTerminal();
}

// Raw mode, the start sequence, and a full redraw to come.
void TerminalConsole::TakeTerminal() {
  RestoreState& state = State();
  resumed = 0;
  state.active = 1;
  termios raw = RawMode(state.original);
  tcsetattr(fd_, TCSADRAIN, &raw);
  Write(kStartSequence);
  renderer_.Invalidate();
  resized = 1;
  CheckSize();
}

void TerminalConsole::Restore() {
  if (!started_) return;
  Flush();
  started_ = false;
  RestoreTerminalNow();
  RemoveSignalHandlers();
}

// The terminal in its own mode while another program uses it; the signal
// handlers stay, so an ending signal meanwhile still finds it restored.
void TerminalConsole::LendToChildProgram() {
  if (!started_) return;
  Flush();
  RestoreTerminalNow();
}

void TerminalConsole::TakeBackFromChildProgram() {
  if (started_) TakeTerminal();
}

void TerminalConsole::PutCell(int row, int column, Cell cell) {
  if (row < 1 || row > ScreenGrid::kRows || column < 1 || column > ScreenGrid::kColumns) return;
  Start();
  grid_.At(row, column) = cell;
  dirty_ = true;
}

Cell TerminalConsole::GetCell(int row, int column) const {
  if (row < 1 || row > ScreenGrid::kRows || column < 1 || column > ScreenGrid::kColumns) return Cell{};
  return grid_.At(row, column);
}

void TerminalConsole::SetCursorPosition(int row, int column) {
  Start();
  cursor_.row = row;
  cursor_.column = column;
  dirty_ = true;
}

void TerminalConsole::SetCursorSize(int percent) {
  Start();
  cursor_.percent = percent;
  dirty_ = true;
}

void TerminalConsole::Beep() {
  Start();
  Flush();
  Write("\a");
}

// Keeps the text and hands it to the terminal's own clipboard too (OSC 52;
// terminals that do not take it ignore the sequence).
void TerminalConsole::SetClipboardText(std::string_view text) {
  clipboard_ = std::string(text);
  Start();
  Write("\x1b]52;c;" + Base64(Cp850ToUtf8(text)) + "\a");
}

void TerminalConsole::Flush() {
  if (!started_ || tooSmall_ || !dirty_) return;
  Write(renderer_.Update(grid_, cursor_));
  dirty_ = false;
}

// After a resize: the message while the window is too small, and a full
// redraw once it is large enough again.
void TerminalConsole::CheckSize() {
  if (!resized) return;
  resized = 0;
  winsize size{};
  if (ioctl(fd_, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) {
    size.ws_col = ScreenGrid::kColumns;
    size.ws_row = ScreenGrid::kRows;
  }
  tooSmall_ = size.ws_col < ScreenGrid::kColumns || size.ws_row < ScreenGrid::kRows;
  if (tooSmall_) {
    Write(renderer_.Message(kTooSmallText, size.ws_col, size.ws_row));
  } else {
    renderer_.Invalidate();
  }
  dirty_ = true;
}

void TerminalConsole::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (written <= 0) return;  // the terminal is gone; nothing to show it on
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

// Waits up to the time given for input and feeds what came to the decoder.
// Answers the bytes read, 0 when none came in time, -1 when a signal cut
// the wait short. A terminal that has hung up ends the process as its
// hang-up signal would.
int TerminalConsole::ReadInput(int timeoutMilliseconds) {
  pollfd wait{fd_, POLLIN, 0};
  int ready = poll(&wait, 1, timeoutMilliseconds);
  if (ready < 0) return errno == EINTR ? -1 : 0;
  if (ready == 0) return 0;
  char buffer[4096];
  ssize_t got = read(fd_, buffer, sizeof buffer);
  if (got > 0) {
    decoder_.Feed(std::string_view(buffer, static_cast<size_t>(got)));
    lastInputMilliseconds_ = MonotonicMilliseconds();
    return static_cast<int>(got);
  }
  if (got == 0 || (errno != EINTR && errno != EAGAIN) || (wait.revents & (POLLHUP | POLLERR))) {
    raise(SIGHUP);
    poll(nullptr, 0, timeoutMilliseconds);  // hang-up ignored: do not spin
  }
  return 0;
}

// Whether a decoded input reaches the program: a paste fills the clipboard
// first; mouse events only while mouse input is on; nothing while the
// window is too small to show what the keys would do.
bool TerminalConsole::Deliver(const TerminalInput& input) {
  if (input.pastedText) clipboard_ = *input.pastedText;
  if (tooSmall_) return false;
  if (input.event.kind == ConsoleEvent::Kind::Mouse && !mouseOn_) return false;
  return true;
}

ConsoleEvent TerminalConsole::PollEvent() {
  Start();
  for (;;) {
    if (resumed) TakeTerminal();
    CheckSize();
    Flush();
    if (std::optional<TerminalInput> input = decoder_.Next()) {
      if (Deliver(*input)) return input->event;
      continue;
    }
    bool awaiting = decoder_.AwaitingMore();
    if (ReadInput(awaiting ? kEscapeDelayMilliseconds : kPollMilliseconds) != 0) continue;
    if (awaiting) {
      decoder_.Expire();
      continue;
    }
    if (decoder_.InPaste() && MonotonicMilliseconds() - lastInputMilliseconds_ > kPasteGiveUpMilliseconds) {
      decoder_.AbandonPaste();
      continue;
    }
    CheckSize();
    Flush();
    return ConsoleEvent{};
  }
}

}  // namespace olm::platform
