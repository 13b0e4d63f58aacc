#pragma once
// Upper-casing of code page 850 texts through two fixed tables: one keeps
// accents (é becomes É), the other folds every letter to its plain capital
// and everything else in the letter range to a blank (é becomes E).

#include <string>
#include <string_view>

namespace olm {

// Selects the accent-free table while true. The field editor sets it around
// its comparison of a typed letter with the initials of a choice list.
extern bool FoldAccents;

// The text with codes 64..237 mapped through the table FoldAccents selects.
std::string FoldCase(std::string_view text);

// The text upper-cased with the accent-keeping table, whatever FoldAccents says.
std::string UpperCase(std::string_view text);

}  // namespace olm
