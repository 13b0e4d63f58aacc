#include "text/packed_digits.h"

#include <cmath>
#include <cstdio>

namespace olm {

// The text is trimmed of blanks, right-aligned in its own length with "0"
// filling, inner blanks read as zeros: so "12  " packs like "0012".
std::string PackDigits(std::string_view text) {
  const size_t n = text.size();
  size_t first = text.find_first_not_of(' ');
  std::string_view core = first == std::string_view::npos ? std::string_view() : text.substr(first);
  core = core.substr(0, core.find_last_not_of(' ') + 1);

  std::string digits(n - core.size(), '0');
  digits.append(core);
  const auto digit = [&](size_t i) { return i < n && digits[i] >= '0' && digits[i] <= '9' ? digits[i] - '0' : 0; };

  std::string packed((n + 1) / 2, '\0');
  for (size_t i = 0; i < packed.size(); ++i)
    packed[i] = static_cast<char>(128 + 10 * digit(2 * i) + digit(2 * i + 1));
  return packed;
}

std::string UnpackDigits(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char byte : bytes) {
    int value = (static_cast<uint8_t>(byte) & 127) % 100;
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
  }
  return text;
}

bool IsAllChar(std::string_view text, int16_t code) {
  for (char c : text)
    if (static_cast<uint8_t>(c) != static_cast<uint16_t>(code)) return false;
  return true;
}

std::string ZeroPad(double value, int16_t width) {
  if (width <= 0) return "";
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.0f", std::fabs(std::isfinite(value) ? value : 0.0));
  std::string text = std::string(width, '0') + digits;
  return text.substr(text.size() - width);
}

}  // namespace olm
