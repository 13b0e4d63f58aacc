// olm-keys: shows the key code (as the program's key reader gives it), the
// modifier state and the mouse position of every key or click the terminal
// sends, until Esc is pressed twice in a row. It is how a user checks what
// their terminal sends.

#include <cstdio>
#include <deque>
#include <string>

#include "console/key_code.h"
#include "console/keyboard.h"
#include "platform/console_backend.h"
#include "platform/terminal_console.h"
#include "watched_console.h"

namespace {

using olm::platform::Cell;
using olm::platform::Console;

constexpr int kFirstLogRow = 4;
constexpr int kLogRows = 25 - kFirstLogRow + 1;
constexpr int16_t kEsc = 0x1b;
constexpr int16_t kCtrlV = 0x16;

void DrawText(int row, std::string text, uint8_t attribute) {
  text.resize(80, ' ');
  for (int column = 1; column <= 80; ++column) {
    Console().PutCell(row, column, Cell{static_cast<uint8_t>(text[column - 1]), attribute});
  }
}

void DrawScreen(const std::deque<std::string>& log) {
  DrawText(1, " olm-keys: press keys or click; Esc twice ends", 0x70);
  for (int i = 0; i < kLogRows; ++i) DrawText(kFirstLogRow + i, i < int(log.size()) ? log[i] : "", 0x07);
  Console().SetCursorPosition(2, 1);
}

// The held modifiers by name ("RAlt LCtrl"), "-" when none.
std::string ModifierNames(uint8_t modifiers) {
  static constexpr struct {
    uint8_t bit;
    const char* name;
  } kNames[] = {{olm::platform::kRightAlt, "RAlt"},
                {olm::platform::kLeftAlt, "LAlt"},
                {olm::platform::kRightCtrl, "RCtrl"},
                {olm::platform::kLeftCtrl, "LCtrl"},
                {olm::platform::kShift, "Shift"}};
  std::string names;
  for (const auto& entry : kNames) {
    if (!(modifiers & entry.bit)) continue;
    if (!names.empty()) names += ' ';
    names += entry.name;
  }
  return names.empty() ? "-" : names;
}

// One log line: the code as the key reader gives it (a click as column x
// 256 + button x 64 + row), then what the console reported.
std::string Describe(int number, int16_t key, int16_t buttons, int16_t row, int16_t column, uint8_t modifiers) {
  int16_t code = key;
  if (buttons > 0) code = static_cast<int16_t>(static_cast<uint16_t>(column * 256 + buttons * 64 + row));
  char line[96];
  std::snprintf(line, sizeof line, "#%-4d key %-5s modifiers %02x %-16s %s %d row %d column %d", number,
                olm::KeyCodeText(code).c_str(), modifiers, ModifierNames(modifiers).c_str(),
                buttons > 0 ? "released" : "mouse", buttons, row, column);
  return line;
}

}  // namespace

int main() {
  std::string reason;
  auto terminal = olm::platform::TerminalConsole::Open(&reason);
  if (!terminal) {
    std::fprintf(stderr, "olm-keys: %s\n", reason.c_str());
    return 1;
  }
  auto watched = std::make_unique<olm::keys::WatchedConsole>(std::move(terminal));
  olm::keys::WatchedConsole& console = *watched;
  olm::platform::InstallConsole(std::move(watched));
  // The tool shows the hot keys' codes; it does not open what they open.
  olm::SetHotKeyTools([] { return std::string(); }, [] { return std::string(); });
  Console().SetCursorSize(0);

  std::deque<std::string> log;
  int number = 0;
  bool lastWasEsc = false;
  DrawScreen(log);
  for (;;) {
    int16_t key = 0, buttons = 0, row = 0, column = 0;
    olm::ReadKeyEvent(key, buttons, row, column);
    if (key == 0 && buttons == 0) continue;
    log.push_back(Describe(++number, key, buttons, row, column, console.LastEvent().modifiers));
    if (static_cast<int>(log.size()) > kLogRows) log.pop_front();
    DrawScreen(log);
    if (key == kCtrlV) DrawText(2, "clipboard: " + Console().ClipboardText(), 0x07);
    if (key == kEsc && lastWasEsc) break;
    lastWasEsc = key == kEsc;
  }
  olm::platform::InstallConsole(nullptr);
  return 0;
}
