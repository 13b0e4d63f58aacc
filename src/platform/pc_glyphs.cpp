#include "platform/pc_glyphs.h"

#include "platform/codepage.h"

namespace olm::platform {
namespace {

constexpr char32_t kControlGlyphs[32] = {
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC',
};

}  // namespace

char32_t ScreenGlyph(uint8_t byte) {
  if (byte < 32) return kControlGlyphs[byte];
  if (byte == 127) return U'\u2302';
  return Cp850ToUnicode(byte);
}

}  // namespace olm::platform
