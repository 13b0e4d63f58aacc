#pragma once
// Numbers laid out under picture masks such as "ZZ9", "Z9.99%", "ZZZ,ZZ9.99-"
// or "***9.99", with the user's regional decimal and thousands characters.
//
// Mask characters: "9" a digit ("0" where the number has none); "Z" or "z" a
// digit shown as a blank where the number has none, trailing zeros of the
// decimals suppressed; "*" a digit shown as "*" where the number has none;
// "." the decimal point; "," a thousands separator; "-" and "+" sign
// positions. Any other character is copied. Digit positions right of the
// first "." are decimals; the run of digit positions right after it gives the
// number of decimals the value is rounded to (half to even).

#include <string>
#include <string_view>

namespace olm {

// `value` under `mask`: always exactly as long as the mask. A number that
// does not fit shows as its plain text right-aligned (cut to the mask's
// length), or as a row of "!" when even its integer part does not fit or it
// is not a finite number.
std::string FormatPicture(std::string_view mask, double value);

// A money amount, in hundredths of the stored currency unit, under a field
// mask such as "ZZ,ZZZ,ZZ9". A picture mask is derived from the field mask:
// with the display currency "P" the amount is shown in pesetas with the
// decimals the field mask asks for, otherwise in the stored unit with two
// more decimals. Exactly as long as the field mask.
std::string FormatAmount(std::string_view fieldMask, double amount);

}  // namespace olm
