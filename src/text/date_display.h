#pragma once
// Packed dates as screens and listings show them, in the user's regional
// order and separator, with month names in the session's language.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// `date` (packed: year 4, month 2, day 2 digits) as text.
//   style -1: ISO form 2023-05-07 (parts ignored);
//   style 0:  numbers with the regional separator, 7/5/2023;
//   style 1:  the month as its first three letters, 7/mai/2023;
//   style 2+: the month by name with connecting words, 7 de maig del 2023.
// `parts` names the parts to show by the letters D, M, A in any case ("dma",
// "m"); they always come in the regional order. Styles 0 and 1 are padded
// or cut to a width fixed by the parts and the style (10 and 11 for "dma").
// Day and month both 0 show as blanks (style 0, 1) or as "" (style 2+).
std::string FormatDate(std::string_view date, int16_t style, std::string_view parts);

}  // namespace olm
