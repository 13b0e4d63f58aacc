#include "console/key_code.h"

#include <cctype>
#include <cstdio>

namespace olm {

int16_t ParseKeyCode(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  uint32_t value = 0;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    const int c = std::tolower(static_cast<unsigned char>(text[i]));
    value = ((value << 4) | static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10)) & 0xFFFF;
  }
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

std::string KeyCodeText(int16_t key) {
  char text[8];
  std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(static_cast<uint16_t>(key)));
  return text;
}

}  // namespace olm
