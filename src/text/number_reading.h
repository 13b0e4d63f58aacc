#pragma once

#include <string_view>

namespace olm {

// The number a text reads as: leading blanks skipped, then an optional sign,
// digits, a decimal point and digits, and an exponent, reading stopping at the
// first character that does not belong to a number. An empty or non-numeric
// text gives 0, and so does a number too large for a double.
double ReadNumber(std::string_view text);

}  // namespace olm
