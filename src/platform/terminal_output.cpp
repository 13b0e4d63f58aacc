#include "platform/terminal_output.h"

#include <algorithm>
#include <array>

#include "platform/codepage.h"
#include "platform/pc_glyphs.h"

namespace olm::platform {
namespace {

// ANSI colour index of each PC colour 0..7 (the PC order has blue and red,
// cyan and brown swapped against ANSI).
constexpr int kAnsiColour[8] = {0, 4, 2, 6, 1, 5, 3, 7};

enum CursorShape { kHidden = 0, kUnderline = 1, kBlock = 2 };

CursorShape ShapeOf(int percent) {
  if (percent <= 0) return kHidden;
  return percent >= 75 ? kBlock : kUnderline;
}

void AppendNumber(std::string& out, int value) { out += std::to_string(value); }

}  // namespace

std::string_view GlyphUtf8(uint8_t byte) {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> glyphs;
    for (int b = 0; b < 256; ++b) {
      AppendUtf8(glyphs[b], ScreenGlyph(static_cast<uint8_t>(b)));
    }
    return glyphs;
  }();
  return table[byte];
}

std::string TerminalRenderer::Update(const ScreenGrid& grid, const CursorState& cursor) {
  std::string out;
  if (!valid_) {
    out += "\x1b[0m\x1b[2J";
    attribute_ = -1;
    cursorRow_ = 0;
  }
  for (int row = 1; row <= ScreenGrid::kRows; ++row) {
    for (int column = 1; column <= ScreenGrid::kColumns; ++column) {
      const Cell& cell = grid.At(row, column);
      if (valid_ && cell == shown_.At(row, column)) continue;
      MoveTo(out, row, column);
      SetAttribute(out, cell.attribute);
      out += GlyphUtf8(cell.character);
      shown_.At(row, column) = cell;
      // At the last column the terminal's cursor stays put or waits to wrap,
      // depending on the terminal: take it as unknown.
      if (++cursorColumn_ > ScreenGrid::kColumns) cursorRow_ = 0;
    }
  }
  valid_ = true;
  WriteCursor(out, cursor);
  return out;
}

void TerminalRenderer::Invalidate() {
  valid_ = false;
  attribute_ = -1;
  cursorRow_ = 0;
  shownShape_ = -1;
}

std::string TerminalRenderer::Message(std::string_view text, int width, int height) {
  Invalidate();
  std::string out = "\x1b[0m\x1b[?25l\x1b[2J";
  if (width < 1 || height < 1) return out;
  if (static_cast<int>(text.size()) > width) text = text.substr(0, width);
  int row = (height + 1) / 2;
  int column = (width - static_cast<int>(text.size())) / 2 + 1;
  out += "\x1b[";
  AppendNumber(out, row);
  out += ';';
  AppendNumber(out, column);
  out += 'H';
  out += text;
  return out;
}

// Moves the terminal's cursor with the shortest of the usual sequences.
void TerminalRenderer::MoveTo(std::string& out, int row, int column) {
  if (cursorRow_ == row && cursorColumn_ == column) return;
  if (cursorRow_ == row && column == 1) {
    out += '\r';
  } else if (cursorRow_ == row && column > cursorColumn_) {
    out += "\x1b[";
    if (column - cursorColumn_ > 1) AppendNumber(out, column - cursorColumn_);
    out += 'C';
  } else {
    out += "\x1b[";
    AppendNumber(out, row);
    if (column > 1) {
      out += ';';
      AppendNumber(out, column);
    }
    out += 'H';
  }
  cursorRow_ = row;
  cursorColumn_ = column;
}

// Selects the colours of a cell attribute (foreground + 16 x background).
void TerminalRenderer::SetAttribute(std::string& out, uint8_t attribute) {
  if (attribute_ == attribute) return;
  int foreground = attribute & 15;
  int background = (attribute >> 4) & 15;
  out += attribute_ < 0 ? "\x1b[0;" : "\x1b[";
  AppendNumber(out, (foreground < 8 ? 30 : 90) + kAnsiColour[foreground & 7]);
  out += ';';
  AppendNumber(out, (background < 8 ? 40 : 100) + kAnsiColour[background & 7]);
  out += 'm';
  attribute_ = attribute;
}

// Shows the cursor at its place and in its shape, or hides it.
void TerminalRenderer::WriteCursor(std::string& out, const CursorState& cursor) {
  CursorShape shape = ShapeOf(cursor.percent);
  if (shape != shownShape_) {
    if (shape == kHidden) {
      out += "\x1b[?25l";
    } else {
      out += shape == kBlock ? "\x1b[2 q" : "\x1b[4 q";
      if (shownShape_ <= 0) out += "\x1b[?25h";
    }
    shownShape_ = shape;
  }
  if (shape == kHidden) return;
  MoveTo(out, std::clamp(cursor.row, 1, ScreenGrid::kRows), std::clamp(cursor.column, 1, ScreenGrid::kColumns));
}

}  // namespace olm::platform
