#include "text/picture_mask.h"

#include <cmath>

#include "session/session_settings.h"
#include "text/decimal_digits.h"
#include "text/regional_settings.h"

namespace olm {
namespace {

bool IsDigitPosition(char c) { return c == '9' || c == 'Z' || c == 'z' || c == '*'; }

// What a mask says about the number before any position is written.
struct MaskShape {
  bool isSigned = false;  // a "-" or "+" anywhere
  long decimals = 0;      // digit and sign positions after the first "."
  int rounding = 0;       // the run of digit positions right after the first "."
};

MaskShape ShapeOf(std::string_view mask) {
  MaskShape shape;
  shape.isSigned = mask.find_first_of("-+") != std::string_view::npos;
  size_t point = mask.find('.');
  if (point == std::string_view::npos) return shape;
  for (size_t i = point + 1; i < mask.size(); ++i)
    if (IsDigitPosition(mask[i]) || mask[i] == '-' || mask[i] == '+') ++shape.decimals;
  for (size_t i = point + 1; i < mask.size() && IsDigitPosition(mask[i]); ++i) ++shape.rounding;
  return shape;
}

// The number as plain text ("-", integer digits, decimal character, decimal
// digits) right-aligned in `width` and cut to it; "!" x width when the sign
// and the integer digits alone need more room.
std::string OverflowText(size_t width, const std::string& digits, size_t decimals, bool negative) {
  size_t integerCount = digits.size() > decimals ? digits.size() - decimals : 0;
  if (width < integerCount + (negative ? 1 : 0)) return std::string(width, '!');
  std::string plain = negative ? "-" : "";
  plain += digits.substr(0, integerCount);
  if (decimals > 0) {
    plain += DecimalCharacter();
    plain += std::string(decimals - (digits.size() - integerCount), '0') + digits.substr(integerCount);
  }
  if (plain.size() >= width) return plain.substr(0, width);
  return std::string(width - plain.size(), ' ') + plain;
}

// Whether the digits from position p (counted from 1) to the end hold
// anything but zeros.
bool HasNonZeroFrom(const std::string& digits, long p) {
  for (size_t i = static_cast<size_t>(p - 1); i < digits.size(); ++i)
    if (digits[i] != '0') return true;
  return false;
}

}  // namespace

// The mask is rewritten from its last position to its first. While digits
// remain each digit position takes the next one; the filler note F remembers
// what the position to the right received (its filler, plus 256 when it got
// no digit) so that a point or comma beside blanks turns blank as well. The
// positions left of the digits are then filled, the first one free taking the
// minus of a negative number when the mask has no sign position.
std::string FormatPicture(std::string_view mask, double value) {
  const char decimalChar = DecimalCharacter();
  const char thousandsChar = ThousandsCharacter();
  const long n = static_cast<long>(mask.size());
  if (!std::isfinite(value)) return std::string(mask.size(), '!');

  MaskShape shape = ShapeOf(mask);
  long D = shape.decimals;
  const std::string digits = *RoundedDigits(value, shape.rounding);
  const bool negative = value < 0;
  const long length = static_cast<long>(digits.size());
  const auto digitAt = [&](long p) { return p >= 1 && p <= length ? digits[p - 1] : '\0'; };

  std::string out(mask);
  long P = D + length - shape.rounding;
  long k = n;
  int F = 0;
  for (; k >= 1 && P >= 1; --k) {
    char& c = out[k - 1];
    const char d = digitAt(P);
    switch (mask[k - 1]) {
      case '9':
        c = d ? d : '0';
        F = 0;
        --P;
        break;
      case 'Z':
      case 'z':
        if (k < n - D) {
          c = d ? d : ' ';
          F = d ? 32 : 256 + 32;
        } else if (D == 0 || HasNonZeroFrom(digits, P)) {
          c = d ? d : '0';
          F = d ? 48 : 256 + 48;
        } else {
          c = ' ';
          F = 256 + 32;
        }
        --P;
        break;
      case '*':
        c = d ? d : '*';
        F = d ? 42 : 256 + 42;
        --P;
        break;
      case '.':
        c = F > 255 ? static_cast<char>(F - 256) : decimalChar;
        D = 0;
        break;
      case ',':
        c = thousandsChar;
        break;
      case '-':
        c = negative ? '-' : ' ';
        if (D > 0) --P;
        break;
      case '+':
        c = negative ? '-' : '+';
        if (D > 0) --P;
        break;
      default:
        break;
    }
  }

  const size_t rounding = static_cast<size_t>(shape.rounding);
  if (P > 0 || (!shape.isSigned && negative && k == 0)) return OverflowText(mask.size(), digits, rounding, negative);

  bool minusPending = negative && !shape.isSigned;
  for (; k >= 1; --k) {
    char& c = out[k - 1];
    const bool integerPosition = k < n - D;
    switch (mask[k - 1]) {
      case '9':
        if (minusPending && integerPosition) {
          c = '-';
          minusPending = false;
        } else {
          c = '0';
        }
        F = 0;
        break;
      case 'Z':
      case 'z':
        if (minusPending) {
          c = '-';
          minusPending = false;
        } else if (integerPosition || value == 0) {
          c = ' ';
          F = 256 + 32;
        } else {
          c = '0';
          F = 32;
        }
        break;
      case '*':
        if (minusPending) {
          c = '-';
          minusPending = false;
        } else {
          c = integerPosition ? '*' : '0';
          F = 42;
        }
        break;
      case ',':
        if (minusPending) {
          c = '-';
          minusPending = false;
        } else {
          c = F != 0 ? static_cast<char>(F % 256) : thousandsChar;
        }
        break;
      case '.':
        c = F > 255 ? static_cast<char>(F - 256) : decimalChar;
        break;
      case '-':
        c = negative ? '-' : ' ';
        break;
      case '+':
        c = negative ? '-' : '+';
        break;
      default:
        break;
    }
  }
  // A negative number must never show without its minus: when no position
  // could take it, show the plain text instead.
  if (minusPending) return OverflowText(mask.size(), digits, rounding, negative);
  return out;
}

// The picture has the field mask's length: digit positions ("*" when the
// field mask's last fill letter is "*"), a "9" at the units when the amount
// is not 0, commas every three positions, the decimals of the currency and
// the field mask's sign.
std::string FormatAmount(std::string_view fieldMask, double amount) {
  bool units = amount != 0, star = false, comma = false;
  int decimals = 0, sign = 0;
  for (size_t i = 0; i < fieldMask.size(); ++i) {
    switch (fieldMask[i]) {
      case '.': ++decimals; break;
      case '-': sign = i == 0 ? -2 : -1; break;
      case '+': sign = i == 0 ? 2 : 1; break;
      case ',': comma = true; break;
      case 'Z': star = false; break;
      case '*': star = true; break;
      case '9':
        if (decimals != 0) ++decimals;
        else units = true;
        break;
      default: break;
    }
  }

  const size_t L = fieldMask.size();
  const auto lastL = [L](const std::string& text) { return text.substr(text.size() - L); };
  std::string picture(L, star ? '*' : 'Z');
  if (units) picture = lastL(picture + "9");
  if (comma)
    for (long p = static_cast<long>(L) - 3; p >= 1; p -= 4)
      picture = lastL(picture.substr(0, static_cast<size_t>(p)) + "," + picture.substr(static_cast<size_t>(p)));

  double value;
  if (Session().DisplayCurrency == "P") {
    // 166.386 pesetas to the euro, exactly: the integer product keeps the
    // rate's decimals that a binary 166.386 would blur.
    value = amount * 166386.0 / 100000.0;
  } else {
    value = amount / 100.0;
    decimals = decimals == 0 ? 3 : decimals + 2;
  }
  if (decimals != 0) picture = lastL(picture + "." + std::string(static_cast<size_t>(decimals - 1), units ? '9' : 'Z'));
  if (sign == -1 || sign == 1) picture = lastL(picture + (sign < 0 ? "-" : "+"));
  if ((sign == -2 || sign == 2) && L > 0) picture[0] = sign < 0 ? '-' : '+';
  return FormatPicture(picture, value);
}

}  // namespace olm
