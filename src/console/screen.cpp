#include "console/screen.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "session/session_settings.h"

namespace olm {
namespace {

struct ScreenState {
  int16_t cursorRow = 1;
  int16_t cursorColumn = 1;
  uint8_t attribute = 7;
  int16_t colourRole = 0;
  std::string colourStack;  // one byte per saved role, last is the top
  int16_t windowDepth = 0;
  WindowRect window;
  std::string textStack;  // items as bytes + 16-bit little-endian length
};

ScreenState& State() {
  static ScreenState state;
  return state;
}

platform::ConsoleBackend& Backend() { return platform::Console(); }

// Shows the cursor at the logical position; a cursor past the last column is
// shown on the last column.
void ShowCursor() {
  ScreenState& s = State();
  Backend().SetCursorPosition(s.cursorRow, std::min<int>(s.cursorColumn, Backend().Width()));
}

void PutByte(uint8_t byte) {
  ScreenState& s = State();
  if (s.cursorColumn <= Backend().Width()) {
    Backend().PutCell(s.cursorRow, s.cursorColumn, platform::Cell{byte, s.attribute});
    ++s.cursorColumn;
  }
}

bool Contains(std::string_view command, char letter) {
  return std::any_of(command.begin(), command.end(),
                     [letter](char c) { return std::toupper(static_cast<unsigned char>(c)) == letter; });
}

}  // namespace

void SetCursorPosition(int16_t row, int16_t column) {
  State().cursorRow = row;
  State().cursorColumn = column;
  ShowCursor();
}

int16_t CursorRow() { return State().cursorRow; }
int16_t CursorColumn() { return State().cursorColumn; }

void SetConsoleColours(int16_t foreground, int16_t background) {
  State().attribute = static_cast<uint8_t>((foreground & 15) + 16 * (background & 15));
}

uint8_t CurrentAttribute() { return State().attribute; }

void WriteText(std::string_view text) {
  for (char c : text) PutByte(static_cast<uint8_t>(c));
  ShowCursor();
}

void WriteBlanks(int16_t count) {
  if (count > 0) WriteText(std::string(static_cast<size_t>(count), ' '));
}

void WriteConsoleCharacter(char32_t character) {
  uint8_t byte = '?';
  if (character == U'\u25C4') {
    byte = 17;
  } else if (character == U'\u25BA') {
    byte = 16;
  } else if (auto mapped = platform::UnicodeToCp850(character)) {
    byte = *mapped;
  }
  PutByte(byte);
  ShowCursor();
}

void NewLine() {
  ScreenState& s = State();
  if (s.cursorRow >= ScreenHeight()) {
    ScrollRectangle(1, 1, ScreenHeight(), ScreenWidth(), 1);
    s.cursorRow = ScreenHeight();
  } else {
    ++s.cursorRow;
  }
  s.cursorColumn = 1;
  ShowCursor();
}

void ClearScreen() {
  const platform::Cell blank{' ', State().attribute};
  for (int row = 1; row <= ScreenHeight(); ++row) {
    for (int column = 1; column <= ScreenWidth(); ++column) Backend().PutCell(row, column, blank);
  }
  SetCursorPosition(1, 1);
}

platform::Cell ReadCell(int16_t row, int16_t column) { return Backend().GetCell(row, column); }

void SetCursorShape(int16_t percent) {
  Backend().SetCursorSize(std::clamp<int>(percent, 0, 99));
}

// Copies row by row in the direction that never overwrites a row before it
// has been moved, then blanks the rows left free.
void ScrollRectangle(int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t count) {
  top = std::max<int16_t>(top, 1);
  left = std::max<int16_t>(left, 1);
  bottom = std::min(bottom, ScreenHeight());
  right = std::min(right, ScreenWidth());
  if (top > bottom || left > right || count == 0) return;
  const int height = bottom - top + 1;
  const int shift = std::clamp<int>(count, -height, height);
  const platform::Cell blank{' ', State().attribute};
  auto copyRow = [&](int to, int from) {
    for (int column = left; column <= right; ++column) {
      Backend().PutCell(to, column, from >= top && from <= bottom ? Backend().GetCell(from, column) : blank);
    }
  };
  if (shift > 0) {
    for (int row = top; row <= bottom; ++row) copyRow(row, row + shift <= bottom ? row + shift : 0);
  } else {
    for (int row = bottom; row >= top; --row) copyRow(row, row + shift >= top ? row + shift : 0);
  }
}

void Beep() { Backend().Beep(); }

int16_t ScreenWidth() { return static_cast<int16_t>(Backend().Width()); }
int16_t ScreenHeight() { return static_cast<int16_t>(Backend().Height()); }

void SetColour(std::string_view command) {
  if (std::all_of(command.begin(), command.end(), [](char c) { return c == ' '; })) return;
  ScreenState& s = State();
  if (Contains(command, '+')) s.colourStack += static_cast<char>(s.colourRole);
  int16_t role = 0;
  if (Contains(command, '-')) {
    if (!s.colourStack.empty()) {
      role = static_cast<int16_t>(s.colourStack.back());
      s.colourStack.pop_back();
    }
  } else if (Contains(command, 'U')) {
    role = 4;
  } else {
    role = static_cast<int16_t>((Contains(command, 'R') ? 2 : 0) + (Contains(command, 'N') ? 1 : 0));
  }
  const auto& pair = Session().Colours[static_cast<size_t>(role)];
  SetConsoleColours(pair[0], pair[1]);
  s.colourRole = role;
}

int16_t CurrentColourRole() { return State().colourRole; }

int16_t WindowDepth() { return State().windowDepth; }
WindowRect CurrentWindow() { return State().window; }

void SetWindowState(int16_t depth, WindowRect window) {
  State().windowDepth = depth;
  State().window = depth > 0 ? window : WindowRect{};
}

void LocateInWindow(int16_t row, int16_t column) {
  const ScreenState& s = State();
  if (s.windowDepth == 0) {
    SetCursorPosition(row, column);
  } else {
    SetCursorPosition(static_cast<int16_t>(row + s.window.top), static_cast<int16_t>(column + s.window.left));
  }
}

int16_t WindowInnerTop() { return WindowDepth() == 0 ? 1 : static_cast<int16_t>(State().window.top + 1); }
int16_t WindowInnerLeft() { return WindowDepth() == 0 ? 1 : static_cast<int16_t>(State().window.left + 1); }
int16_t WindowInnerRight() {
  return WindowDepth() == 0 ? ScreenWidth() : static_cast<int16_t>(State().window.right - 1);
}

void DrawWindowFrame(int16_t style) {
  if (WindowDepth() == 0) return;
  struct FrameBytes {
    char topLeft, topRight, bottomLeft, bottomRight, horizontal, vertical;
  };
  static constexpr FrameBytes kStyles[3] = {
      {' ', ' ', ' ', ' ', ' ', ' '},
      {'\xDA', '\xBF', '\xC0', '\xD9', '\xC4', '\xB3'},
      {'\xC9', '\xBB', '\xC8', '\xBC', '\xCD', '\xBA'},
  };
  const FrameBytes& f = kStyles[style >= 0 && style <= 2 ? style : 0];
  const WindowRect w = CurrentWindow();
  const size_t inner = static_cast<size_t>(std::max(w.right - w.left - 1, 0));
  SetCursorPosition(w.top, w.left);
  WriteText(f.topLeft + std::string(inner, f.horizontal) + f.topRight);
  for (int16_t row = static_cast<int16_t>(w.top + 1); row < w.bottom; ++row) {
    SetCursorPosition(row, w.left);
    WriteText(f.vertical + std::string(inner, ' ') + f.vertical);
  }
  SetCursorPosition(w.bottom, w.left);
  WriteText(f.bottomLeft + std::string(inner, f.horizontal) + f.bottomRight);
}

void PushText(std::string_view text) {
  std::string& stack = State().textStack;
  const size_t length = std::min<size_t>(text.size(), 0xFFFF);
  stack.append(text.substr(0, length));
  stack += static_cast<char>(length & 0xFF);
  stack += static_cast<char>(length >> 8);
}

std::string PopText() {
  std::string& stack = State().textStack;
  if (stack.size() < 2) return "";
  const size_t length = static_cast<uint8_t>(stack[stack.size() - 2]) +
                        256u * static_cast<uint8_t>(stack[stack.size() - 1]);
  stack.resize(stack.size() - 2);
  const size_t start = stack.size() - std::min(length, stack.size());
  std::string text = stack.substr(start);
  stack.resize(start);
  return text;
}

void ResetScreenState() {
  State() = ScreenState{};
  if (platform::HasConsole()) ShowCursor();
}

}  // namespace olm
