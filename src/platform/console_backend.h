#pragma once
// What the program needs of a text console, as one small interface with two
// implementations: the terminal backend (a real terminal through /dev/tty) and
// the virtual backend (an in-memory grid driven by scripted events, for tests).
// The console layer of the framework draws only through this interface and
// never sees an escape sequence.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace olm::platform {

// One screen cell: a code page 850 byte and its attribute (foreground + 16 ×
// background, colours 0..15). Bytes 1..31 and 127 are shown with the console
// glyphs of the classic PC character set (16 is "►", 17 is "◄").
struct Cell {
  uint8_t character = ' ';
  uint8_t attribute = 7;
  bool operator==(const Cell&) const = default;
};

// Modifier bits reported with every event.
enum ModifierBits : uint8_t {
  kRightAlt = 1,
  kLeftAlt = 2,
  kRightCtrl = 4,
  kLeftCtrl = 8,
  kShift = 16,
};

struct ConsoleEvent {
  enum class Kind { None, Key, Mouse };
  Kind kind = Kind::None;
  uint8_t modifiers = 0;  // ModifierBits
  // Key: the character's code page byte, or 0 with the extended code (the
  // scan code of the classic PC layout: 0x3B F1, 0x48 Up, 0x2D for Alt+X, ...).
  uint8_t character = 0;
  uint8_t extended = 0;
  // Mouse: the button released (1 left, 2 right; 0 for a move) and the
  // pointer position, 1-based.
  uint8_t releasedButton = 0;
  int row = 0;
  int column = 0;
};

class ConsoleBackend {
 public:
  virtual ~ConsoleBackend() = default;

  // Visible size: 80 columns and 25 rows in normal use.
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Cells, 1-based. Writes outside the screen are ignored.
  virtual void PutCell(int row, int column, Cell cell) = 0;
  virtual Cell GetCell(int row, int column) const = 0;

  // The visible cursor: its position and its size in percent of the cell
  // (0 hides it; the program uses 50 for insert mode and 99 for overwrite).
  virtual void SetCursorPosition(int row, int column) = 0;
  virtual void SetCursorSize(int percent) = 0;

  virtual void Beep() = 0;

  // Takes one event. When none is waiting it waits a few milliseconds for one
  // before answering Kind::None, so a polling caller uses no CPU. Pending
  // output is shown before waiting.
  virtual ConsoleEvent PollEvent() = 0;

  // Whether a mouse is there at all, and switching its events on and off.
  virtual bool HasMouse() const = 0;
  virtual void SetMouseInput(bool on) = 0;

  // The clipboard as code page 850 text.
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;

  // Shows pending output now.
  virtual void Flush() = 0;

  // Hands the console to a program started in the foreground (the help
  // document tool), and takes it back with a full redraw when it has ended.
  virtual void LendToChildProgram() {}
  virtual void TakeBackFromChildProgram() {}
};

// The console of the process. The program installs the terminal backend at
// start; tests install a virtual one.
ConsoleBackend& Console();
void InstallConsole(std::unique_ptr<ConsoleBackend> backend);
bool HasConsole();

}  // namespace olm::platform
