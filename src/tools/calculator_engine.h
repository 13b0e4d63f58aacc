#pragma once
// What the calculator's keys do to its state: typing numbers, the operators,
// the tape, the display's normalisation and the result text. Nothing here
// touches the screen; the pop-up draws what the state says.

#include <cstdint>
#include <string>

#include "tools/calculator_state.h"

namespace olm {

// What the screen must do after a key.
enum class CalculatorEffect {
  kDisplay,      // only the display line changed (or nothing)
  kTape,         // a line was added to the tape: redraw the tape and its frame
  kTapeCleared,  // the tape left the screen: give back the screen beneath it
  kRefused,      // the key was refused and the state is unchanged: beep
};

// Acts on one calculator key: "0".."9", ".", Backspace (8), "+", "-", "*",
// "/", "%", "R", "C", "=", "T" (letters in capitals). Other keys do nothing.
// A key that would give a number too large to hold or a division by zero,
// and a digit beyond the 15 a number can be typed with, is refused.
CalculatorEffect PressCalculatorKey(CalculatorState& state, char key);

// The displayed number in hundredths, the way the program takes amounts:
// 12.5 gives "1250", 12.345 "1234.5", 0.0005 ".05", -3 "-300".
std::string CalculatorResultText(const CalculatorState& state);

// A value in the 22 characters of the display and the tape, with the decimal
// point when `point` is set and `decimals` decimals.
std::string CalculatorNumberText(double value, bool point, int16_t decimals);

// The box column after a move one column left or right; past either edge of
// the screen the box comes in at the other.
int16_t BoxColumnLeft(int16_t column);
int16_t BoxColumnRight(int16_t column);

}  // namespace olm
