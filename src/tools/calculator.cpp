#include "tools/calculator.h"

#include <cstdlib>
#include <string_view>

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"
#include "forms/exit_keys.h"
#include "tools/caller_exit_keys.h"
#include "tools/calculator_engine.h"
#include "tools/calculator_state.h"

namespace olm {
namespace {

constexpr int16_t kBoxWidth = 26;
constexpr int16_t kDisplayRow = 24;
constexpr int16_t kBottomRow = 25;
constexpr int16_t kShownCursor = 50;

constexpr int kEnter = 0x0d;
constexpr int kEsc = 0x1b;
constexpr int kAltF = 0x2100;
constexpr int kLeft = 0x4b00;
constexpr int kRight = 0x4d00;
constexpr int kCtrlLeft = 0x7300;
constexpr int kCtrlRight = 0x7400;

// Box-drawing characters of code page 850.
constexpr char kVertical = '\xB3';

// One row of the box: a left corner or tee, 24 horizontal lines, and the
// matching right character.
std::string FrameRow(char left, char right) { return left + std::string(kBoxWidth - 2, '\xC4') + right; }

void WriteBoxRow(const CalculatorState& s, int16_t row, std::string_view text) {
  SetCursorPosition(row, s.boxColumn);
  WriteText(text);
}

// The tape lines on the screen with the frame above them, the line between
// tape and display, and the bottom line. The display row is drawn apart.
void DrawTapeAndFrame(const CalculatorState& s) {
  const bool tapeShown = s.firstShownLine < kNoTapeShown;
  if (tapeShown) WriteBoxRow(s, s.firstShownLine - 1, FrameRow('\xDA', '\xBF'));
  for (int16_t line = s.firstShownLine; line <= kTapeLines; ++line) {
    const TapeLine& t = s.tape[line - 1];
    WriteBoxRow(s, line,
                kVertical + CalculatorNumberText(t.value, t.point, t.decimals) + ' ' + t.op + kVertical);
  }
  WriteBoxRow(s, kNoTapeShown, tapeShown ? FrameRow('\xC3', '\xB4') : FrameRow('\xDA', '\xBF'));
  WriteBoxRow(s, kBottomRow, FrameRow('\xC0', '\xD9'));
}

void DrawDisplay(const CalculatorState& s) {
  WriteBoxRow(s, kDisplayRow, kVertical + CalculatorNumberText(s.entry, s.point, s.decimals) + "  " + kVertical);
}

void OpenBox(const CalculatorState& s) {
  PushWindow(1, s.boxColumn, kBottomRow, static_cast<int16_t>(s.boxColumn + kBoxWidth - 1));
  DrawTapeAndFrame(s);
}

// Gives back the screen beneath the box and opens it again, at a new column
// or without the tape lines it no longer shows.
void ReopenBox(const CalculatorState& s) {
  PopWindow();
  OpenBox(s);
}

// Character keys count in capitals, so "f", "t", "r", "c" act as "F", "T",
// "R", "C"; other codes stay as they are.
int CalculatorKey(int16_t code) {
  const int key = std::abs(static_cast<int>(code));
  if (key > 255) return code;
  return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
}

void ActOnKey(CalculatorState& s, int key) {
  switch (PressCalculatorKey(s, key == kEnter ? '=' : static_cast<char>(key))) {
    case CalculatorEffect::kDisplay:
      break;
    case CalculatorEffect::kTape:
      DrawTapeAndFrame(s);
      break;
    case CalculatorEffect::kTapeCleared:
      ReopenBox(s);
      break;
    case CalculatorEffect::kRefused:
      Beep();
      break;
  }
}

// Reads keys until the user leaves; the result text with F, "" with Esc.
std::string RunCalculatorKeys(CalculatorState& s) {
  for (;;) {
    DrawDisplay(s);
    const int key = CalculatorKey(GetKey());
    if (key == 'F' || key == kAltF) return CalculatorResultText(s);
    if (key == kEsc) return "";
    if (key == kLeft || key == kCtrlLeft || key == kRight || key == kCtrlRight) {
      const bool left = key == kLeft || key == kCtrlLeft;
      PopWindow();
      s.boxColumn = left ? BoxColumnLeft(s.boxColumn) : BoxColumnRight(s.boxColumn);
      OpenBox(s);
    } else if (key >= 0 && key <= 255) {
      ActOnKey(s, key);
    }
  }
}

}  // namespace

// The key reader calls this for Alt+X. The state comes from the state file
// and goes back to it on both ways out, so the tape, the total and the box's
// place are there at the next opening, in this run or the next one.
std::string ShowCalculator() {
  const CallerExitKeys callerKeys;
  SetExitKeys("e", "");
  SetColour("+n");
  SetCursorShape(0);
  CalculatorState state = LoadCalculatorState();
  OpenBox(state);

  const std::string result = RunCalculatorKeys(state);

  PopWindow();
  SaveCalculatorState(state);
  SetCursorShape(kShownCursor);
  SetColour("-");
  callerKeys.Restore();
  return result;
}

}  // namespace olm
