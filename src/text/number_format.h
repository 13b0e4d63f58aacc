#pragma once
// Numbers written under a short length specification, and the checks of
// what a user typed into a numeric field.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// `value` under a layout such as "10.2ZS": the digits before the first "."
// give the integer width W, the digits after it the decimals K; the letters
// (any case, anywhere) mean V the point is implied and not written, Z a "0"
// before a point with no integer digits, S a "+" on numbers >= 0, N an "N"
// instead of "-", M "N" for negative numbers and a blank otherwise. With a
// width the sign takes the first of the W integer digits. Without width and
// point the value keeps all the decimals it has. Always "." for the point,
// never a thousands separator. A value that is not finite gives "!".
std::string FormatNumber(double value, std::string_view layout);

// `value` with exactly the decimals it has: 5, 2.5, .25, -3; "" for 0.
std::string NumberText(double value);

// -1 when `typed` holds a character a numeric field refuses, 0 otherwise.
// Digits and blanks are always accepted; a point only when `allowed` holds
// ".", once; a sign only when `allowed` holds "-" or "+", before everything else.
int16_t CheckNumberText(std::string_view typed, std::string_view allowed);

// -1 unless `typed` is a number from `minimum` to `maximum` with at most
// `decimals` decimals (0..16) once rounded to them; 0 when it is.
int16_t CheckNumberRange(std::string_view typed, double minimum, double maximum, int16_t decimals);

}  // namespace olm
