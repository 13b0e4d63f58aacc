#pragma once
// The digit strings that the number formatters lay out: a magnitude scaled
// by a power of ten and rounded to a whole number, written in decimal.

#include <optional>
#include <string>

namespace olm {

// The digits of `magnitude` x 10^decimals rounded half to even, without
// leading zeros (the empty text for 0). nullopt when the magnitude is not
// finite. The sign of the magnitude is ignored.
std::optional<std::string> RoundedDigits(double magnitude, int decimals);

// The digits of a finite magnitude with all the decimals it has: the digits
// of |magnitude| x 10^decimals, decimals being the smallest count that makes
// it whole. The empty text for 0.
std::string ExactDigits(double magnitude, int& decimals);

}  // namespace olm
