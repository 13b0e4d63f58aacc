#include "text/number_reading.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace olm {

double ReadNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string number;
  const auto isDigit = [&](size_t k) { return k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])); };
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
  while (isDigit(i)) number += text[i++];
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (isDigit(i)) number += text[i++];
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t k = i + 1;
    if (k < text.size() && (text[k] == '-' || text[k] == '+')) ++k;
    if (isDigit(k)) {
      number.append(text.substr(i, k - i));
      i = k;
      while (isDigit(i)) number += text[i++];
    }
  }
  double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace olm
