#include "text/number_format.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "text/decimal_digits.h"
#include "text/number_reading.h"

namespace olm {
namespace {

// What a layout such as "10.2ZS" asks for.
struct Layout {
  long width = 0;     // W
  long decimals = 0;  // K
  bool point = false;
  bool impliedPoint = false, zeroBeforePoint = false, plusSign = false, letterN = false, letterM = false;
};

bool HasLetter(std::string_view text, char upper) {
  for (char c : text)
    if (std::toupper(static_cast<unsigned char>(c)) == upper) return true;
  return false;
}

// Widths beyond any screen are held at this many digits.
constexpr long kLongestLayout = 1000;

Layout ReadLayout(std::string_view text) {
  Layout layout;
  for (char c : text) {
    if (c == '.') {
      layout.point = true;
    } else if (c >= '0' && c <= '9') {
      long& count = layout.point ? layout.decimals : layout.width;
      count = std::min(kLongestLayout, count * 10 + (c - '0'));
    }
  }
  layout.impliedPoint = HasLetter(text, 'V');
  layout.zeroBeforePoint = HasLetter(text, 'Z');
  layout.plusSign = HasLetter(text, 'S');
  layout.letterN = HasLetter(text, 'N');
  layout.letterM = HasLetter(text, 'M');
  return layout;
}

// The sign a layout gives a value, first rule that applies; "" for none.
std::string SignOf(const Layout& layout, double value) {
  if (layout.plusSign && value >= 0) return "+";
  if (layout.letterN && value < 0) return "N";
  if (layout.letterM) return value < 0 ? "N" : " ";
  return value < 0 ? "-" : "";
}

// True when a blank stands between two other characters: such a text would
// be read only up to its first blank.
bool HasInnerBlank(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1).find(' ') != std::string_view::npos;
}

// True when the number a text holds is too large for a double: it would
// read as 0, which must not pass for what the user typed.
bool IsTooLarge(std::string_view text) {
  return std::isinf(std::strtod(std::string(text).c_str(), nullptr));
}

}  // namespace

std::string FormatNumber(double value, std::string_view layoutText) {
  if (!std::isfinite(value)) return "!";
  Layout layout = ReadLayout(layoutText);

  std::string digits;
  long decimals = layout.decimals;
  if (layout.width > 0 || layout.point) {
    digits = *RoundedDigits(value, static_cast<int>(decimals));
  } else {
    int exact = 0;
    digits = ExactDigits(value, exact);
    decimals = exact;
  }
  if (static_cast<long>(digits.size()) < decimals) digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');

  std::string integerText = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
  std::string fractionText = digits.substr(integerText.size());
  if (!layout.impliedPoint && !fractionText.empty()) fractionText.insert(0, ".");
  if (layout.zeroBeforePoint && integerText.empty()) integerText = "0";
  if (layout.width > 0) {
    const size_t width = static_cast<size_t>(layout.width);
    if (integerText.size() < width) integerText.insert(0, width - integerText.size(), '0');
    integerText = integerText.substr(integerText.size() - width);
  }

  std::string sign = SignOf(layout, value);
  if (!sign.empty()) {
    if (layout.width > 0) integerText[0] = sign[0];
    else integerText.insert(0, sign);
  }
  return integerText + fractionText;
}

std::string NumberText(double value) { return FormatNumber(value, ""); }

int16_t CheckNumberText(std::string_view typed, std::string_view allowed) {
  const bool decimalsAllowed = allowed.find('.') != std::string_view::npos;
  const bool signAllowed = allowed.find_first_of("-+") != std::string_view::npos;
  bool error = false, seenDigit = false, seenPoint = false, seenSign = false;
  for (char c : typed) {
    if (c == '+' || c == '-') {
      if (!signAllowed || seenDigit || seenPoint || seenSign) error = true;
      seenSign = true;
    } else if (c == '.') {
      if (!decimalsAllowed || seenPoint) error = true;
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      seenDigit = true;
    } else if (c != ' ') {
      error = true;
    }
  }
  return error ? -1 : 0;
}

// The minimum is floored and the maximum rounded at the given decimals, so a
// maximum such as 99.99 is not lost to its binary approximation.
int16_t CheckNumberRange(std::string_view typed, double minimum, double maximum, int16_t decimals) {
  if (!(maximum >= minimum) || decimals < 0 || decimals > 16) return -1;
  std::string allowed;
  if (decimals > 0) allowed += '.';
  if (minimum < 0) allowed += '-';
  if (CheckNumberText(typed, allowed) != 0 || HasInnerBlank(typed) || IsTooLarge(typed)) return -1;

  const double scale = std::pow(10.0, decimals);
  const double v = std::floor(scale * ReadNumber(typed) + 0.5);
  const double low = std::floor(scale * minimum);
  const double high = std::floor(scale * maximum + 0.5);
  return v < low || v > high ? -1 : 0;
}

}  // namespace olm
