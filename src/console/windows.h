#pragma once
// Pop-up windows that give back the screen beneath them, and message boxes.
//
// The saved rectangles lie on a stack in the file TempDir + "WinPush.tmp", so
// pop-ups nest to any depth without screen copies in memory. The file starts
// with the 1-based position of the next record as a 32-bit little-endian
// integer (5 when empty); each record holds, as 2-digit decimal numbers, the
// cursor row and column, the enclosing window and the new window, then a
// character and attribute byte per cell row by row, then its own total length
// in 5 digits. The file exists only while a window is pushed.

#include <cstdint>
#include <string>

namespace olm {

// Saves the rectangle (frame included) with the cursor and the enclosing
// window, and makes it the current window. A rectangle reaching outside the
// screen is not pushed, and the PopWindow that matches it does nothing. When
// the stack file cannot be written the rectangle is kept in memory instead.
void PushWindow(int16_t top, int16_t left, int16_t bottom, int16_t right);

// Puts the last saved rectangle back in its own colours, with the cursor and
// the enclosing window. Nothing happens when no window is saved.
void PopWindow();

// Shows `text` word-wrapped in a framed box near screen row `row`; `text` is
// replaced by its wrapped form. The box stays until the caller's PopWindow.
// A text with more lines than the screen has room for shows its first lines.
void ShowMessage(int16_t row, std::string& text);

// Replaces `text` by its lines of `width` characters, joined without
// separators. Control bytes (below 32) take no room. A positive indent
// indents the first line, a negative one every later line. Alignment: E, L or
// I left, N left filled with "-", D or R right, C centred, A or B justified;
// any other letter leaves lines unpadded.
void WrapText(std::string& text, int16_t indent, int16_t width, char alignment);

// Forgets the windows pushed by this process (the stack file is left alone).
void ResetWindowState();

}  // namespace olm
