#pragma once
// The calculator's state: the display, the running total, the paper tape and
// the position of the box, kept from one opening to the next in the text file
// TerminalDir + "OLMCALC.TMP".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olm {

// One printed line of the tape: a value as it was shown, and the operator
// printed beside it (a blank for a result).
struct TapeLine {
  double value = 0;
  bool point = false;
  int16_t decimals = 0;
  char op = ' ';
  bool operator==(const TapeLine&) const = default;
};

constexpr int kTapeLines = 22;
constexpr int16_t kNoTapeShown = 23;
constexpr int16_t kLastBoxColumn = 55;  // the box then ends at column 80

struct CalculatorState {
  int16_t boxColumn = 1;                    // left screen column of the 26-column box
  int16_t firstShownLine = kNoTapeShown;    // lowest tape line on the screen, 2..23
  double entry = 0;                         // the number on the display
  double total = 0;                         // the result of the operations so far
  std::string pendingOperator;              // "", "+", "-", "*" or "/"
  std::string lastKey;                      // the last operator key handled
  bool typing = false;                      // digits of a new entry are being typed
  bool point = false;                       // the entry has a decimal point
  int16_t decimals = 0;                     // decimals of the entry, typed or shown
  bool clearArmed = true;                   // the next "C" outside typing clears the tape
  std::array<TapeLine, kTapeLines> tape{};  // tape[0] is line 1, tape[21] line 22, the newest
  bool operator==(const CalculatorState&) const = default;
};

// The state as the 25 lines of the state file.
std::string CalculatorStateText(const CalculatorState& state);

// The state a state file's content holds, or nullopt when the content is
// damaged (a line that does not read, a value out of range, an oversized
// file). An empty content is the initial state.
std::optional<CalculatorState> ReadCalculatorStateText(std::string_view content);

// TerminalDir + "OLMCALC.TMP".
std::string CalculatorStatePath();

// Reads the state file, creating it empty when it is missing. A file that
// cannot be read or is damaged gives the initial state; the next save
// rewrites it.
CalculatorState LoadCalculatorState();

// Writes the state file anew; false when it cannot be written.
bool SaveCalculatorState(const CalculatorState& state);

}  // namespace olm
