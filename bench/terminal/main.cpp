// Bytes the terminal console writes for a one-character change, a field
// redraw and a full-screen redraw, and the CPU it uses while idle, on a
// pseudo-terminal of 80 x 25 (no real terminal needed).

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/terminal_console.h"

namespace {

using olm::platform::Cell;
using olm::platform::TerminalConsole;
using Clock = std::chrono::steady_clock;

std::atomic<long long> bytesSeen{0};

// Reads everything the console writes to the pseudo-terminal, counting it.
void Drain(int master) {
  char buffer[65536];
  for (;;) {
    ssize_t got = read(master, buffer, sizeof buffer);
    if (got <= 0) return;
    bytesSeen += got;
  }
}

// Bytes written by the flush after `change`.
template <typename Change>
long long BytesFor(TerminalConsole& console, Change change) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  long long before = bytesSeen;
  change();
  console.Flush();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return bytesSeen - before;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of one CPU used while `work` runs for `seconds`.
template <typename Work>
double CpuShare(double seconds, Work work) {
  double cpuBefore = CpuSeconds();
  Clock::time_point start = Clock::now();
  while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) work();
  double wall = std::chrono::duration<double>(Clock::now() - start).count();
  return (CpuSeconds() - cpuBefore) / wall;
}

// A screen like a form: a double frame, labels, and a coloured header.
void DrawForm(TerminalConsole& console, uint8_t shade) {
  for (int row = 1; row <= 25; ++row) {
    for (int column = 1; column <= 80; ++column) {
      uint8_t character = static_cast<uint8_t>('A' + (row * 7 + column + shade) % 26);
      if (row == 2 || row == 24) character = 205;
      if (column == 1 || column == 80) character = 186;
      uint8_t attribute = row == 1 ? 0x70 : static_cast<uint8_t>(0x07 + shade);
      console.PutCell(row, column, Cell{character, attribute});
    }
  }
}

}  // namespace

int main() {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("bench_terminal: pseudo-terminal");
    return 1;
  }
  winsize size{};
  size.ws_row = 25;
  size.ws_col = 80;
  ioctl(master, TIOCSWINSZ, &size);
  std::string reason;
  std::unique_ptr<TerminalConsole> console = TerminalConsole::Open(&reason, ptsname(master));
  if (!console) {
    std::fprintf(stderr, "bench_terminal: %s\n", reason.c_str());
    return 1;
  }
  std::thread drainer(Drain, master);

  console->SetCursorSize(50);
  BytesFor(*console, [&] { DrawForm(*console, 0); });
  long long full = BytesFor(*console, [&] { DrawForm(*console, 1); });
  long long afterResize = BytesFor(*console, [&] {
    raise(SIGWINCH);
    console->PollEvent();
  });
  long long oneCharacter = BytesFor(*console, [&] {
    console->PutCell(10, 31, Cell{0x87, 0x70});  // typing "ç" in a field
    console->SetCursorPosition(10, 32);
  });
  long long field = BytesFor(*console, [&] {
    for (int column = 20; column < 50; ++column) console->PutCell(10, column, Cell{'0', 0x70});
    console->SetCursorPosition(10, 20);
  });

  double busy = CpuShare(0.25, [] {});
  double idle = CpuShare(5.0, [&] { console->PollEvent(); });

  std::printf("terminal output (bytes; baseline: full-screen redraw)\n");
  std::printf("  full-screen redraw    %6lld bytes  ratio 1.000\n", full);
  std::printf("  redraw after a resize %6lld bytes  ratio %.3f\n", afterResize, double(afterResize) / full);
  std::printf("  field redraw (30)     %6lld bytes  ratio %.3f\n", field, double(field) / full);
  std::printf("  one-character change  %6lld bytes  ratio %.4f  target < 32 bytes: %s\n", oneCharacter,
              double(oneCharacter) / full, oneCharacter < 32 ? "met" : "MISSED");
  std::printf("idle CPU over 5 s (baseline: a busy loop)\n");
  std::printf("  busy loop             %6.1f %%\n", busy * 100);
  std::printf("  idle PollEvent loop   %6.3f %%  ratio %.4f  target < 1 %%: %s\n", idle * 100, idle / busy,
              idle < 0.01 ? "met" : "MISSED");

  console.reset();
  close(master);
  drainer.join();
  return 0;
}
