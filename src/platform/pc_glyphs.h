#pragma once
// The glyphs of the classic PC character set for the control bytes, which a
// text console shows as pictures (16 is "►", 17 is "◄", 30 "▲", 31 "▼").

#include <cstdint>

namespace olm::platform {

// The Unicode character shown for a screen byte: the PC glyph for bytes 1..31
// and 127, a blank for byte 0, the code page character for every other byte.
char32_t ScreenGlyph(uint8_t byte);

}  // namespace olm::platform
