#include "text/decimal_digits.h"

#include <cmath>
#include <cstdio>

namespace olm {
namespace {

// Powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A whole, finite, non-negative double in decimal; "" for 0. The C library
// prints the exact value, so no digit is lost or invented.
std::string WholeDigits(double whole) {
  char text[400];
  std::snprintf(text, sizeof text, "%.0f", whole);
  return text[0] == '0' ? std::string() : std::string(text);
}

// |magnitude| to `decimals` places printed exactly by the C library, with the
// point and the leading zeros removed. Used where the scaled value does not fit
// a double or the power of ten is not exact.
std::string PrintedDigits(double magnitude, int decimals) {
  int size = std::snprintf(nullptr, 0, "%.*f", decimals, magnitude);
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*f", decimals, magnitude);
  text.resize(static_cast<size_t>(size));
  std::string digits;
  for (char c : text)
    if (c != '.' && (c != '0' || !digits.empty())) digits += c;
  return digits;
}

}  // namespace

// The product is rounded by its own fraction, as the screens always rounded:
// 2.5 gives 2 and 3.5 gives 4 with no decimals.
std::optional<std::string> RoundedDigits(double magnitude, int decimals) {
  if (!std::isfinite(magnitude)) return std::nullopt;
  magnitude = std::fabs(magnitude);
  if (decimals < 0) decimals = 0;
  if (decimals < static_cast<int>(std::size(kPowersOfTen))) {
    double product = magnitude * kPowersOfTen[decimals];
    if (std::isfinite(product)) {
      double whole = std::floor(product);
      double fraction = product - whole;
      if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
      return WholeDigits(whole);
    }
  }
  return PrintedDigits(magnitude, decimals);
}

// A double with a fraction is below 2^52, so each step is exact enough to
// stay finite and the loop ends once the value is whole.
std::string ExactDigits(double magnitude, int& decimals) {
  double t = std::fabs(magnitude);
  decimals = 0;
  if (!std::isfinite(t)) return "";
  while (t != std::floor(t)) {
    t *= 10.0;
    ++decimals;
  }
  return WholeDigits(t);
}

}  // namespace olm
