#include "tools/calculator_engine.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "text/picture_mask.h"

namespace olm {
namespace {

// A display shows at most this many significant digits, which a double also
// holds exactly.
constexpr int kMostDigits = 15;
// Results at or above this size are refused, so that every later step
// (hundredths, the result text) stays finite.
constexpr double kLargestNumber = 1e300;

double PowerOfTen(int exponent) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  return exponent >= 0 && exponent <= 22 ? kPowers[exponent] : std::pow(10.0, exponent);
}

// The digits before the decimal point of the value's magnitude; 0 below 1.
int IntegerDigits(double value) {
  value = std::fabs(value);
  int digits = 0;
  while (value >= 1) {
    value /= 10;
    ++digits;
  }
  return digits;
}

// Rounded to a whole number, a rest of exactly one half dropped.
double RoundHalfDropped(double value) {
  const double whole = std::trunc(value);
  const double rest = value - whole;
  if (rest > 0.5) return whole + 1;
  if (rest < -0.5) return whole - 1;
  return whole;
}

struct Shown {
  double value;
  int16_t decimals;
};

// The value as the display shows it: as few decimals as it needs, at most 15
// significant digits in all, trailing zeros dropped. This also gives the
// nearest double to that decimal number, which clears the binary noise of
// sums such as 0.1 + 0.2.
Shown Normalise(double value) {
  const int integerDigits = IntegerDigits(value);
  int decimals = 0;
  while (decimals + integerDigits < kMostDigits) {
    const double scaled = value * PowerOfTen(decimals);
    if (scaled == std::trunc(scaled)) break;
    ++decimals;
  }
  double digits = RoundHalfDropped(value * PowerOfTen(decimals));
  while (decimals > 0 && std::fmod(digits, 10) == 0) {
    digits /= 10;
    --decimals;
  }
  const double shown = digits / PowerOfTen(decimals);
  return {shown == 0 ? 0.0 : shown, static_cast<int16_t>(decimals)};
}

double Clean(double value) { return Normalise(value).value; }

void NormaliseDisplay(CalculatorState& s) {
  const Shown shown = Normalise(s.entry);
  s.entry = shown.value;
  s.decimals = shown.decimals;
  s.point = shown.decimals > 0;
}

// The tape moves up a line and its newest line takes the display with the
// first character of the last key.
void AddTapeLine(CalculatorState& s) {
  std::rotate(s.tape.begin(), s.tape.begin() + 1, s.tape.end());
  s.tape.back() = {s.entry, s.point, s.decimals, s.lastKey.empty() ? ' ' : s.lastKey[0]};
  if (s.firstShownLine > 2) --s.firstShownLine;
}

void StartEntryIfNew(CalculatorState& s) {
  if (s.typing) return;
  s.entry = 0;
  s.point = false;
  s.decimals = 0;
}

// A digit goes in with the entry's sign, so that -5 followed by 3 is -53.
CalculatorEffect TypeDigit(CalculatorState& s, int digit) {
  StartEntryIfNew(s);
  const int typed = IntegerDigits(s.entry) + (s.point ? s.decimals : 0);
  if (typed >= kMostDigits) return CalculatorEffect::kRefused;
  const double sign = s.entry < 0 ? -1 : 1;
  if (!s.point) {
    s.entry = s.entry * 10 + sign * digit;
  } else {
    ++s.decimals;
    s.entry = Clean(s.entry + sign * digit / PowerOfTen(s.decimals));
  }
  s.typing = true;
  return CalculatorEffect::kDisplay;
}

CalculatorEffect TypePoint(CalculatorState& s) {
  StartEntryIfNew(s);
  if (!s.point) {
    s.point = true;
    s.decimals = 0;
  }
  s.typing = true;
  return CalculatorEffect::kDisplay;
}

// Drops the last digit; past the decimals, the point itself.
CalculatorEffect Backspace(CalculatorState& s) {
  if (!s.point) {
    s.entry = std::trunc(s.entry / 10);
  } else if (--s.decimals < 0) {
    s.point = false;
    s.decimals = 0;
  } else {
    s.entry = std::trunc(Clean(s.entry * PowerOfTen(s.decimals))) / PowerOfTen(s.decimals);
  }
  if (s.entry == 0) s.entry = 0.0;
  s.typing = s.typing && s.entry != 0;
  return CalculatorEffect::kDisplay;
}

// "+", "-", "*", "/" and "=": the pending operator joins the total and the
// entry, the entry goes on the tape, and the key becomes the next pending
// operator; "=" also prints the result and leaves nothing pending.
CalculatorEffect ApplyOperator(CalculatorState& s, char key) {
  s.lastKey = std::string(1, key);
  const std::string& op = s.pendingOperator;
  if (op == "+") {
    s.total += s.entry;
  } else if (op == "-") {
    s.total -= s.entry;
  } else if (op == "*") {
    s.total *= s.entry;
  } else if (op == "/") {
    if (s.entry == 0) return CalculatorEffect::kRefused;
    s.total /= s.entry;
  } else {
    s.total = s.entry;
  }
  AddTapeLine(s);
  s.entry = s.total;
  NormaliseDisplay(s);
  if (key == '=') {
    s.lastKey.clear();
    AddTapeLine(s);
  }
  s.typing = false;
  s.clearArmed = false;
  s.pendingOperator = s.lastKey;
  return CalculatorEffect::kTape;
}

// After "+" or "-" the entry becomes that percentage of the total, so that
// 200 + 10 % = gives 220; otherwise it is divided by 100.
CalculatorEffect Percent(CalculatorState& s) {
  s.lastKey = "%";
  AddTapeLine(s);
  if (s.pendingOperator == "+" || s.pendingOperator == "-") {
    s.entry = s.total / 100 * s.entry;
  } else {
    s.entry /= 100;
  }
  NormaliseDisplay(s);
  return CalculatorEffect::kTape;
}

// Rounds the entry to hundredths, halves to the even hundredth, negative
// entries as their magnitude; the hundredths are taken at the display's 15
// digits, so that 2.675 counts as the half it was typed as.
CalculatorEffect RoundToHundredths(CalculatorState& s) {
  s.lastKey = "R";
  const double hundredths = Clean(s.entry * 100);
  s.entry = std::copysign(std::nearbyint(std::fabs(hundredths)), hundredths) / 100;
  if (s.entry == 0) s.entry = 0.0;
  s.total = s.entry;
  s.point = true;
  s.decimals = 2;
  AddTapeLine(s);
  return CalculatorEffect::kTape;
}

// While typing, drops the entry and shows the total again; otherwise clears
// entry and total, and a second time the tape from the screen.
CalculatorEffect Clear(CalculatorState& s) {
  s.lastKey = "C";
  if (s.typing) {
    s.typing = false;
    s.entry = s.total;
    s.lastKey = s.pendingOperator;
    NormaliseDisplay(s);
    return CalculatorEffect::kDisplay;
  }
  if (!s.clearArmed) {
    s.entry = s.total = 0;
    s.point = false;
    s.decimals = 0;
    s.lastKey.clear();
    s.clearArmed = true;
    return CalculatorEffect::kDisplay;
  }
  s.firstShownLine = kNoTapeShown;
  return CalculatorEffect::kTapeCleared;
}

CalculatorEffect Act(CalculatorState& s, char key) {
  if (key >= '0' && key <= '9') return TypeDigit(s, key - '0');
  switch (key) {
    case '.':
      return TypePoint(s);
    case 8:
      return Backspace(s);
    case '+':
    case '-':
    case '*':
    case '/':
      return ApplyOperator(s, key);
    case '=':
      return s.typing ? ApplyOperator(s, key) : CalculatorEffect::kDisplay;
    case '%':
      return Percent(s);
    case 'R':
      return RoundToHundredths(s);
    case 'C':
      return Clear(s);
    case 'T':
      s.entry = s.entry == 0 ? 0.0 : -s.entry;
      return CalculatorEffect::kDisplay;
    default:
      return CalculatorEffect::kDisplay;
  }
}

bool Holdable(double value) { return std::fabs(value) < kLargestNumber; }

}  // namespace

CalculatorEffect PressCalculatorKey(CalculatorState& state, char key) {
  const CalculatorState before = state;
  const CalculatorEffect effect = Act(state, key);
  if (effect == CalculatorEffect::kRefused || !Holdable(state.entry) || !Holdable(state.total)) {
    state = before;
    return CalculatorEffect::kRefused;
  }
  return effect;
}

// The displayed value scaled to hundredths; its own decimals beyond the
// second stay behind a decimal point, and a negative value keeps its sign.
std::string CalculatorResultText(const CalculatorState& state) {
  const int decimals = std::max<int>(state.decimals, 2);
  const double scaled = std::nearbyint(std::fabs(state.entry) * PowerOfTen(decimals));
  if (!std::isfinite(scaled)) return "";
  char buffer[400];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, scaled, std::chars_format::fixed, 0);
  std::string digits(buffer, written.ptr);
  const size_t fraction = static_cast<size_t>(decimals - 2);
  if (digits.size() < fraction) digits.insert(0, fraction - digits.size(), '0');
  std::string text = digits.substr(0, digits.size() - fraction);
  if (fraction > 0) text += "." + digits.substr(digits.size() - fraction);
  if (state.entry < 0 && scaled != 0) text.insert(0, "-");
  return text;
}

std::string CalculatorNumberText(double value, bool point, int16_t decimals) {
  std::string digits = "Z,ZZZ,ZZZ,ZZZ,ZZZ,ZZ9";
  if (point) digits += ".";
  digits += std::string(std::max<int16_t>(decimals, 0), '9');
  return FormatPicture("-" + digits.substr(digits.size() - 21), value);
}

int16_t BoxColumnLeft(int16_t column) { return column <= 1 ? kLastBoxColumn : static_cast<int16_t>(column - 1); }
int16_t BoxColumnRight(int16_t column) { return column >= kLastBoxColumn ? 1 : static_cast<int16_t>(column + 1); }

}  // namespace olm
