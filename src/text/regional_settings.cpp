#include "text/regional_settings.h"

#include <optional>

#include "platform/environment.h"
#include "session/ini_reader.h"

namespace olm {
namespace {

struct DateSettings {
  char separator;
  std::string order;
};

struct NumberSettings {
  char decimal;
  char thousands;
};

struct RegionalState {
  std::optional<DateSettings> dates;
  std::optional<NumberSettings> numbers;
};

RegionalState& State() {
  static RegionalState state;
  return state;
}

// The value of `key` blank-padded or cut to `width` characters.
std::string ReadField(const char* key, size_t width) {
  std::string value = ReadIniValue(platform::GetEnvironment("OLMROOT") + "Vorn.ini", "Usuari", key);
  value.resize(width, ' ');
  return value;
}

// A one-character field; a blank (the key missing or empty) gives the default.
char ReadCharacter(const char* key, char fallback) {
  char c = ReadField(key, 1)[0];
  return c == ' ' ? fallback : c;
}

const DateSettings& Dates() {
  auto& dates = State().dates;
  if (!dates) {
    std::string order = ReadField("DatOrdre", 3);
    if (order == "   ") order = "DMA";
    dates = DateSettings{ReadCharacter("DatCaracter", '/'), order};
  }
  return *dates;
}

const NumberSettings& Numbers() {
  auto& numbers = State().numbers;
  if (!numbers) numbers = NumberSettings{ReadCharacter("DecCaracter", '\''), ReadCharacter("MilCaracter", '.')};
  return *numbers;
}

}  // namespace

char DateSeparator() { return Dates().separator; }
std::string DateOrder() { return Dates().order; }
char DecimalCharacter() { return Numbers().decimal; }
char ThousandsCharacter() { return Numbers().thousands; }

void ResetRegionalSettings() { State() = RegionalState{}; }

}  // namespace olm
