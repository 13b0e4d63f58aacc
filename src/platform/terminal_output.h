#pragma once
// Turns the 25 x 80 shadow grid of the console into the bytes that bring a
// terminal up to date: cursor moves, SGR colours for the 16 console colours,
// UTF-8 characters through the code page table, cursor visibility and
// shape. It remembers what the terminal shows, so an update writes only the
// cells that changed. It holds no file descriptor: the backend writes the
// bytes.

#include <array>
#include <string>

#include "platform/console_backend.h"

namespace olm::platform {

struct ScreenGrid {
  static constexpr int kRows = 25;
  static constexpr int kColumns = 80;
  std::array<Cell, kRows * kColumns> cells{};

  // 1-based, as the console is; the caller keeps within the grid.
  Cell& At(int row, int column) { return cells[(row - 1) * kColumns + (column - 1)]; }
  const Cell& At(int row, int column) const { return cells[(row - 1) * kColumns + (column - 1)]; }
};

struct CursorState {
  int row = 1;
  int column = 1;
  int percent = 25;  // 0 hidden
  bool operator==(const CursorState&) const = default;
};

// The UTF-8 form in which a code page byte is shown: bytes 1..31 and 127 as
// the PC glyphs, byte 0 as a blank.
std::string_view GlyphUtf8(uint8_t byte);

class TerminalRenderer {
 public:
  // Bytes that make the terminal show `grid` and `cursor`, starting from
  // what it showed after the last call (or from nothing known).
  std::string Update(const ScreenGrid& grid, const CursorState& cursor);

  // Forgets what the terminal shows (after a resize, or another program
  // wrote on it): the next update clears it and draws every cell.
  void Invalidate();

  // Bytes that clear the terminal and show `text` centred on a terminal of
  // `width` x `height`; the screen is then unknown.
  std::string Message(std::string_view text, int width, int height);

 private:
  void MoveTo(std::string& out, int row, int column);
  void SetAttribute(std::string& out, uint8_t attribute);
  void WriteCursor(std::string& out, const CursorState& cursor);

  ScreenGrid shown_;
  bool valid_ = false;
  int attribute_ = -1;  // the SGR colours in effect, -1 unknown
  int cursorRow_ = 0;   // where the terminal's cursor is, 0 unknown
  int cursorColumn_ = 0;
  int shownShape_ = -1;  // cursor shape in effect (0 hidden), -1 unknown
};

}  // namespace olm::platform
