#pragma once
// Which keys end a field edit and as which key each is reported, with one
// slot to save the table across a nested use, and the mask that hides typing.
// Shared by the form driver, the field editor, the browse list and the
// pop-up tools.

#include <cstdint>
#include <string_view>
#include <vector>

namespace olm {

struct ExitKeyTable {
  std::vector<int16_t> Keys;      // keys that end an edit
  std::vector<int16_t> Reported;  // at the same place, the key reported
  bool operator==(const ExitKeyTable&) const = default;
};

// The table of this process.
const ExitKeyTable& ExitKeys();

// Applies `letters` one by one, in either case, with the comma-separated key
// codes of `keys` (hexadecimal; an empty item is code 0):
//   E empties the table; A appends each item, "k=r" as key k reported as r,
//   a single code as itself; D removes the first entry of each key;
//   + saves the table in the slot when the slot is free; - puts the saved
//   table back and frees the slot; H hides typing (mask "X"); V shows it.
void SetExitKeys(std::string_view letters, std::string_view keys);

// True when `key` ends an edit; `reported` is then the key to report.
bool FindExitKey(int16_t key, int16_t& reported);

// 0 shows typing, 88 ("X") hides it.
int16_t MaskCharacter();

void ResetExitKeyState();

}  // namespace olm
