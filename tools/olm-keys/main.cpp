// olm-keys: shows the key code, the modifier state and the mouse position of
// every key or click the terminal sends, until Esc is pressed twice in a
// row. It is how a user checks what their terminal sends.

#include <cstdio>
#include <deque>
#include <string>

#include "key_codes.h"
#include "platform/console_backend.h"
#include "platform/terminal_console.h"

namespace {

using olm::platform::Cell;
using olm::platform::Console;
using olm::platform::ConsoleEvent;

constexpr int kFirstLogRow = 4;
constexpr int kLogRows = 25 - kFirstLogRow + 1;

void DrawText(int row, int column, std::string_view text, uint8_t attribute) {
  for (char c : text) Console().PutCell(row, column++, Cell{static_cast<uint8_t>(c), attribute});
}

void DrawScreen(const std::deque<std::string>& log) {
  std::string title = " olm-keys: press keys or click; Esc twice ends";
  title.resize(80, ' ');
  DrawText(1, 1, title, 0x70);
  for (int i = 0; i < kLogRows; ++i) {
    std::string line = i < static_cast<int>(log.size()) ? log[i] : "";
    line.resize(80, ' ');
    DrawText(kFirstLogRow + i, 1, line, 0x07);
  }
  Console().SetCursorPosition(2, 1);
}

// After Ctrl+V (which a paste delivers), the clipboard text on row 2.
void ShowClipboard() {
  std::string line = "clipboard: " + Console().ClipboardText();
  line.resize(80, ' ');
  DrawText(2, 1, line, 0x07);
}

std::string Describe(int number, const ConsoleEvent& event) {
  char line[96];
  std::snprintf(line, sizeof line, "#%-4d key %-5s modifiers %02x %-16s %s %d row %d column %d", number,
                olm::keys::KeyCodeText(olm::keys::KeyCodeOf(event)).c_str(), event.modifiers,
                olm::keys::ModifierNames(event.modifiers).c_str(),
                event.kind == ConsoleEvent::Kind::Mouse ? "released" : "mouse", event.releasedButton, event.row,
                event.column);
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
  olm::platform::InstallConsole(std::move(terminal));
  Console().SetMouseInput(true);
  Console().SetCursorSize(0);

  std::deque<std::string> log;
  int number = 0;
  bool lastWasEsc = false;
  DrawScreen(log);
  for (;;) {
    ConsoleEvent event = Console().PollEvent();
    if (event.kind == ConsoleEvent::Kind::None) continue;
    log.push_back(Describe(++number, event));
    if (static_cast<int>(log.size()) > kLogRows) log.pop_front();
    DrawScreen(log);
    if (olm::keys::KeyCodeOf(event) == 0x16) ShowClipboard();
    bool isEsc = olm::keys::KeyCodeOf(event) == 0x1B;
    if (isEsc && lastWasEsc) break;
    lastWasEsc = isEsc;
  }
  olm::platform::InstallConsole(nullptr);
  return 0;
}
