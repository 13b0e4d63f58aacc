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

// One rewrite of a mask, from its last position (k = n) towards its first.
// P is the position in `digits` (from 1) of the next digit to place; D the
// count of decimal positions, which falls to 0 once the point is passed; F
// notes what the position to the right received: its filler, plus 256 when it
// got no digit, so that a point or comma beside blanks turns blank as well.
struct Rewrite {
  std::string_view mask;
  std::string out;
  std::string digits;
  long n = 0, k = 0, P = 0, D = 0;
  int F = 0;
  bool negative = false;
  char decimalChar = '\'', thousandsChar = '.';

  char DigitAt(long p) const { return p >= 1 && p <= static_cast<long>(digits.size()) ? digits[p - 1] : '\0'; }
};

// Writes the digits into the positions from the right while digits remain.
void PlaceDigits(Rewrite& r) {
  for (; r.k >= 1 && r.P >= 1; --r.k) {
    char& c = r.out[r.k - 1];
    const char d = r.DigitAt(r.P);
    switch (r.mask[r.k - 1]) {
      case '9':
        c = d ? d : '0';
        r.F = 0;
        --r.P;
        break;
      case 'Z':
      case 'z':
        if (r.k < r.n - r.D) {
          c = d ? d : ' ';
          r.F = d ? 32 : 256 + 32;
        } else if (r.D == 0 || HasNonZeroFrom(r.digits, r.P)) {
          c = d ? d : '0';
          r.F = d ? 48 : 256 + 48;
        } else {  // a trailing zero of the decimals
          c = ' ';
          r.F = 256 + 32;
        }
        --r.P;
        break;
      case '*':
        c = d ? d : '*';
        r.F = d ? 42 : 256 + 42;
        --r.P;
        break;
      case '.':
        c = r.F > 255 ? static_cast<char>(r.F - 256) : r.decimalChar;
        r.D = 0;
        break;
      case ',':
        c = r.thousandsChar;
        break;
      case '-':
        c = r.negative ? '-' : ' ';
        if (r.D > 0) --r.P;
        break;
      case '+':
        c = r.negative ? '-' : '+';
        if (r.D > 0) --r.P;
        break;
      default:
        break;
    }
  }
}

// Fills the positions left of the digits. When `minusPending`, the first
// position that can take the minus of a negative number does; the flag tells
// afterwards whether none could.
void FillLeadingPositions(Rewrite& r, bool zeroValue, bool& minusPending) {
  const auto placeMinus = [&](char& c) {
    c = '-';
    minusPending = false;
  };
  for (; r.k >= 1; --r.k) {
    char& c = r.out[r.k - 1];
    const bool integerPosition = r.k < r.n - r.D;
    switch (r.mask[r.k - 1]) {
      case '9':
        if (minusPending && integerPosition) placeMinus(c);
        else c = '0';
        r.F = 0;
        break;
      case 'Z':
      case 'z':
        if (minusPending) {
          placeMinus(c);
        } else if (integerPosition || zeroValue) {
          c = ' ';
          r.F = 256 + 32;
        } else {
          c = '0';
          r.F = 32;
        }
        break;
      case '*':
        if (minusPending) {
          placeMinus(c);
        } else {
          c = integerPosition ? '*' : '0';
          r.F = 42;
        }
        break;
      case ',':
        if (minusPending) placeMinus(c);
        else c = r.F != 0 ? static_cast<char>(r.F % 256) : r.thousandsChar;
        break;
      case '.':
        c = r.F > 255 ? static_cast<char>(r.F - 256) : r.decimalChar;
        break;
      case '-':
        c = r.negative ? '-' : ' ';
        break;
      case '+':
        c = r.negative ? '-' : '+';
        break;
      default:
        break;
    }
  }
}

}  // namespace

// The digits are placed from the right; what they leave over overflows into
// the plain text. A negative number under a mask without sign positions puts
// its minus in the first free position left of its digits, and shows as the
// plain text when there is none, so that it never loses its sign.
std::string FormatPicture(std::string_view mask, double value) {
  Rewrite r;
  r.decimalChar = DecimalCharacter();
  r.thousandsChar = ThousandsCharacter();
  if (!std::isfinite(value)) return std::string(mask.size(), '!');

  const MaskShape shape = ShapeOf(mask);
  r.mask = mask;
  r.out = std::string(mask);
  r.digits = *RoundedDigits(value, shape.rounding);
  r.negative = value < 0;
  r.n = r.k = static_cast<long>(mask.size());
  r.D = shape.decimals;
  r.P = r.D + static_cast<long>(r.digits.size()) - shape.rounding;

  const size_t rounding = static_cast<size_t>(shape.rounding);
  PlaceDigits(r);
  if (r.P > 0 || (!shape.isSigned && r.negative && r.k == 0))
    return OverflowText(mask.size(), r.digits, rounding, r.negative);

  bool minusPending = r.negative && !shape.isSigned;
  FillLeadingPositions(r, value == 0, minusPending);
  if (minusPending) return OverflowText(mask.size(), r.digits, rounding, r.negative);
  return r.out;
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
