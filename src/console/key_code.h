#pragma once
// Key codes written in texts: lowercase hexadecimal without leading zeros
// ("d" Enter, "1b" Esc, "3b00" F1, "f00" Shift+Tab).

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// The key code of a hexadecimal item, read in either letter case, kept to 16
// bits ("8500" is F11, a negative code). Blanks around the item are ignored;
// reading stops at the first character that is not a hexadecimal digit, and
// an item without digits gives 0.
int16_t ParseKeyCode(std::string_view text);

// The text form of a key code.
std::string KeyCodeText(int16_t key);

}  // namespace olm
