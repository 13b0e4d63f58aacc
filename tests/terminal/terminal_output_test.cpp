#include "platform/terminal_output.h"

#include <gtest/gtest.h>

#include <string>

namespace olm::platform {
namespace {

constexpr CursorState kHidden{1, 1, 0};

size_t Count(const std::string& text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A renderer that has drawn a blank grid already.
struct Drawn {
  ScreenGrid grid;
  TerminalRenderer renderer;
  Drawn() { renderer.Update(grid, kHidden); }
};

TEST(TerminalOutput, FirstUpdateClearsAndDrawsEveryCellThenOnlyChanges) {
  ScreenGrid grid;
  for (Cell& cell : grid.cells) cell = Cell{'A', 7};
  TerminalRenderer renderer;
  std::string first = renderer.Update(grid, kHidden);
  EXPECT_EQ(first.rfind("\x1b[0m\x1b[2J", 0), 0u);
  EXPECT_EQ(Count(first, "A"), 2000u);
  EXPECT_EQ(renderer.Update(grid, kHidden), "");

  grid.At(12, 40).character = 'X';
  std::string change = renderer.Update(grid, kHidden);
  EXPECT_EQ(change, "\x1b[12;40HX");
  EXPECT_LT(change.size(), 32u);

  renderer.Invalidate();
  EXPECT_EQ(Count(renderer.Update(grid, kHidden), "A"), 1999u);
}

TEST(TerminalOutput, MovesTheShortWayWithinARow) {
  Drawn d;
  d.grid.At(3, 10).character = 'a';
  d.grid.At(3, 15).character = 'b';
  d.grid.At(3, 16).character = 'c';
  d.grid.At(4, 1).character = 'd';
  d.grid.At(4, 2).character = 'e';
  EXPECT_EQ(d.renderer.Update(d.grid, kHidden), "\x1b[3;10Ha\x1b[4Cbc\x1b[4Hde");
}

TEST(TerminalOutput, ColoursFollowThePcOrder) {
  struct {
    uint8_t attribute;
    const char* sgr;
  } const cases[] = {
      {0x07, nullptr},          // the blank grid's own colours: no change
      {0x1E, "\x1b[93;44m"},    // yellow on blue
      {0x4F, "\x1b[97;41m"},    // white on red
      {0x70, "\x1b[30;47m"},    // black on light grey
      {0x36, "\x1b[33;46m"},    // brown on cyan
      {0xF9, "\x1b[94;107m"},   // light blue on white
  };
  for (const auto& c : cases) {
    Drawn d;
    d.grid.At(1, 1).attribute = c.attribute;
    d.grid.At(1, 1).character = 'x';
    std::string bytes = d.renderer.Update(d.grid, kHidden);
    if (c.sgr) {
      EXPECT_NE(bytes.find(c.sgr), std::string::npos) << int(c.attribute);
    } else {
      EXPECT_EQ(bytes.find('m'), std::string::npos) << int(c.attribute);
    }
  }
}

TEST(TerminalOutput, CodePageBytesBecomeTheirGlyphs) {
  EXPECT_EQ(GlyphUtf8(0), " ");
  EXPECT_EQ(GlyphUtf8(1), "\u263A");
  EXPECT_EQ(GlyphUtf8(16), "\u25BA");
  EXPECT_EQ(GlyphUtf8(17), "\u25C4");
  EXPECT_EQ(GlyphUtf8(31), "\u25BC");
  EXPECT_EQ(GlyphUtf8(127), "\u2302");
  EXPECT_EQ(GlyphUtf8(0x87), "\u00E7");
  EXPECT_EQ(GlyphUtf8(0xC9), "\u2554");
  EXPECT_EQ(GlyphUtf8(0xC4), "\u2500");
  EXPECT_EQ(GlyphUtf8(213), "\u20AC");
}

TEST(TerminalOutput, CursorShapeVisibilityAndPlace) {
  Drawn d;
  EXPECT_EQ(d.renderer.Update(d.grid, {5, 7, 50}), "\x1b[4 q\x1b[?25h\x1b[5;7H");
  EXPECT_EQ(d.renderer.Update(d.grid, {5, 7, 50}), "");
  EXPECT_EQ(d.renderer.Update(d.grid, {5, 8, 99}), "\x1b[2 q\x1b[C");
  EXPECT_EQ(d.renderer.Update(d.grid, {5, 8, 0}), "\x1b[?25l");
  // Typing a character at the cursor leaves the terminal's cursor after it.
  d.renderer.Update(d.grid, {5, 8, 50});
  d.grid.At(5, 8).character = 'z';
  EXPECT_EQ(d.renderer.Update(d.grid, {5, 9, 50}), "z");
}

TEST(TerminalOutput, MessageIsCentredAndForcesARedraw) {
  Drawn d;
  std::string message = d.renderer.Message("Enlarge the window to 80 x 25", 60, 20);
  EXPECT_NE(message.find("\x1b[2J"), std::string::npos);
  EXPECT_NE(message.find("\x1b[10;16HEnlarge the window to 80 x 25"), std::string::npos);
  EXPECT_EQ(Count(d.renderer.Update(d.grid, kHidden), " "), 2000u);
}

}  // namespace
}  // namespace olm::platform
