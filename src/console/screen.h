#pragma once
// The screen layer: the console operations the program draws with, colour
// selection by role with a stack of saved roles, placement relative to the
// innermost pop-up window, window frames, and a stack of small texts.
//
// Coordinates are 1-based, row first. Texts are code page 850 bytes. Writing
// never wraps and never scrolls: characters that would fall right of the last
// column are dropped, and the cursor stays just past that column.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/console_backend.h"

namespace olm {

// --- Console operations ---------------------------------------------------

void SetCursorPosition(int16_t row, int16_t column);
int16_t CursorRow();
int16_t CursorColumn();
// Colours 0..15; later writes use attribute foreground + 16 × background.
void SetConsoleColours(int16_t foreground, int16_t background);
uint8_t CurrentAttribute();
// Writes the bytes at the cursor in the current colours and moves the cursor
// after them.
void WriteText(std::string_view text);
void WriteBlanks(int16_t count);
// Writes one Unicode character that the code page may lack: the choice
// markers U+25C4 and U+25BA are stored as bytes 17 and 16, whose console
// glyphs they are; other characters go through the code page ("?" if absent).
void WriteConsoleCharacter(char32_t character);
// Cursor to column 1 of the next row; on the last row the screen scrolls up.
void NewLine();
// The whole screen blank in the current colours, cursor at 1,1.
void ClearScreen();
platform::Cell ReadCell(int16_t row, int16_t column);
// 0 hides the cursor; other sizes are percent of the cell, 100 taken as 99.
void SetCursorShape(int16_t percent);
// Moves the lines of the rectangle up by `count` rows (down when negative);
// the freed rows become blanks in the current colours.
void ScrollRectangle(int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t count);
void Beep();
int16_t ScreenWidth();
int16_t ScreenHeight();

// --- Colour roles ---------------------------------------------------------

// Selects a colour role by a command such as "h", "n", "rh", "u", "+rh", "-":
// "+" saves the current role first, "-" takes back the last saved one (role 0
// when none is saved), "U" gives role 4, otherwise "R" counts 2 and "N" 1.
// Blank commands do nothing.
void SetColour(std::string_view command);
int16_t CurrentColourRole();

// --- Windows --------------------------------------------------------------

// The innermost pop-up window, frame lines included; all 0 while none is open.
struct WindowRect {
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;
  bool operator==(const WindowRect&) const = default;
};

int16_t WindowDepth();
WindowRect CurrentWindow();
// Changed only by the window stack when it pushes and pops.
void SetWindowState(int16_t depth, WindowRect window);

// Cursor to (row, column) counted from the current window's frame corner, so
// that (1, 1) is the first cell inside the frame; screen coordinates when no
// window is open.
void LocateInWindow(int16_t row, int16_t column);
int16_t WindowInnerTop();
int16_t WindowInnerLeft();
int16_t WindowInnerRight();
// Frames the current window in the current colours and blanks its inside:
// style 0 blanks, 1 single lines, 2 double lines. Nothing without a window.
void DrawWindowFrame(int16_t style);

// --- Text stack -----------------------------------------------------------

void PushText(std::string_view text);
// The last text pushed, removed from the stack; "" when the stack is empty.
std::string PopText();

// Colours, colour stack, windows, text stack and cursor back to their state
// at start.
void ResetScreenState();

}  // namespace olm
