#pragma once
// The key code of a console event as the program's key reader gives it:
// the character's byte, or the extended code x 256 with the function keys
// moved by Alt, Ctrl and Shift, and a click as column x 256 + button x 64
// + row.

#include <cstdint>
#include <string>

#include "platform/console_backend.h"

namespace olm::keys {

uint16_t KeyCodeOf(const platform::ConsoleEvent& event);

// Lowercase hexadecimal without leading zeros ("3b00", "d").
std::string KeyCodeText(uint16_t code);

// The held modifiers by name ("RAlt LCtrl"), "-" when none.
std::string ModifierNames(uint8_t modifiers);

}  // namespace olm::keys
