#pragma once
// Packed digits and small text utilities. A packed field of k bytes holds 2k
// decimal digits, each byte 128 + the value of its digit pair, so packed dates
// compare correctly as bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// Packs a text of digits two per byte; blanks and non-digits count as zeros
// (see the comment in the source for how blanks move).
std::string PackDigits(std::string_view text);

// Two digits per byte, the high bit of each byte ignored.
std::string UnpackDigits(std::string_view bytes);

// True when every character of `text` has the code `code`; true for "".
bool IsAllChar(std::string_view text, int16_t code);

// `value` (a non-negative whole number) in exactly `width` digits: leading
// zeros added, leading digits dropped when it is longer. The sign is dropped.
std::string ZeroPad(double value, int16_t width);

}  // namespace olm
