#include "text/date_display.h"

#include <cctype>

#include "session/session_settings.h"
#include "text/packed_digits.h"
#include "text/regional_settings.h"

namespace olm {
namespace {

// A language's connecting words and month names (code page 850).
struct DateLanguage {
  const char* beforeConsonant;
  const char* beforeVowel;
  const char* beforeDayOrYear;
  const char* months[12];
};

const DateLanguage kSpanish = {" de ", " de ", " de ",
                               {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto",
                                "septiembre", "octubre", "noviembre", "diciembre"}};
const DateLanguage kGalician = {" de ", " de ", " do ",
                                {"janeiro", "fevereiro", "mar\x87o", "abril", "maio", "junho", "julho",
                                 "agosto", "setembro", "outubro", "novembro", "dezembro"}};
const DateLanguage kOccitan = {" de ", " d'", " deth ",
                               {"g\x8ar", "hereu\x8ar", "mar\x87", "abriu", "mai", "junh", "junhsega", "agost",
                                "seteme", "octobre", "noveme", "deseme"}};
const DateLanguage kCatalan = {" de ", " d'", " del ",
                               {"gener", "febrer", "mar\x87", "abril", "maig", "juny", "juliol", "agost",
                                "setembre", "octubre", "novembre", "desembre"}};

const DateLanguage& LanguageOfSession() {
  const std::string& code = Session().Language;
  if (code == "SPA") return kSpanish;
  if (code == "GLG") return kGalician;
  if (code == "OCI") return kOccitan;
  return kCatalan;
}

// The month's name; months outside 1..12 have an empty one.
std::string MonthName(const DateLanguage& language, int month) {
  return month >= 1 && month <= 12 ? language.months[month - 1] : "";
}

bool StartsWithVowel(const std::string& name) {
  if (name.empty()) return false;
  const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return std::string_view("AEIOU").find(first) != std::string_view::npos;
}

bool Contains(std::string_view text, char upper) {
  for (char c : text)
    if (std::toupper(static_cast<unsigned char>(c)) == upper) return true;
  return false;
}

// The fixed width of styles 0 and 1: the parts' lengths with a separator
// between each pair.
size_t NumericWidth(std::string_view parts, int style) {
  long width = static_cast<long>(parts.size()) - 1;
  if (Contains(parts, 'D')) width += 2;
  if (Contains(parts, 'A')) width += 4;
  if (Contains(parts, 'M')) width += style + 2;
  return width > 0 ? static_cast<size_t>(width) : 0;
}

}  // namespace

std::string FormatDate(std::string_view date, int16_t style, std::string_view parts) {
  const char separator = DateSeparator();
  const std::string order = DateOrder();

  std::string digits = UnpackDigits(date);
  std::string year = digits.substr(0, 4);
  year.insert(0, 4 - year.size(), '0');
  const auto valueAt = [&](size_t from) { return from < digits.size() ? std::stoi(digits.substr(from, 2)) : 0; };
  const int month = valueAt(4);
  const int day = valueAt(6);

  if (style < 0) return year + "-" + ZeroPad(month, 2) + "-" + ZeroPad(day, 2);

  const DateLanguage* language = style > 0 ? &LanguageOfSession() : nullptr;
  std::string result;
  if (month != 0 || day != 0) {
    for (char letter : order) {
      if ((letter != 'D' && letter != 'M' && letter != 'A') || !Contains(parts, letter)) continue;
      std::string part;
      std::string connector = style >= 2 ? language->beforeDayOrYear : std::string(1, separator);
      if (letter == 'D') {
        part = std::to_string(day);
      } else if (letter == 'A') {
        part = year;
      } else if (style == 0) {
        part = std::to_string(month);
      } else {
        const std::string name = MonthName(*language, month);
        if (style == 1) {
          part = (name + std::string(10, ' ')).substr(0, 3);
        } else {
          part = name;
          connector = StartsWithVowel(name) ? language->beforeVowel : language->beforeConsonant;
        }
      }
      if (!result.empty()) result += connector;
      result += part;
    }
  }
  if (style >= 2) return result;
  result.resize(NumericWidth(parts, style), ' ');
  return result;
}

}  // namespace olm
