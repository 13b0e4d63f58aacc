#include "session/session_settings.h"

#include <cmath>
#include <cstdlib>

#include "platform/environment.h"
#include "session/ini_reader.h"
#include "text/number_reading.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

constexpr std::string_view kDefaultColours = "15000700000700070007";

std::string FitToWidth(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

char Letter(std::string_view text) {
  if (text.empty()) return '\0';
  char c = text[0];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Colour text: four digits per role, two for the foreground and two for the
// background; characters past the end of a short text count as 0.
ColourTable ParseColours(std::string_view text) {
  ColourTable table{};
  for (int role = 0; role < 5; ++role)
    for (int part = 0; part < 2; ++part) {
      size_t start = 4 * role + 2 * part;
      std::string_view digits = start < text.size() ? text.substr(start, 2) : std::string_view();
      table[role][part] = static_cast<int16_t>(ReadNumber(digits));
    }
  return table;
}

std::string RunModeFromEnvironment() {
  if (!platform::GetEnvironment("HTTP_USER_AGENT").empty()) return "CGI";
  if (!platform::GetEnvironment("HTTP_ACCEPT").empty()) return "CGI";
  if (!platform::GetEnvironment("WINDIR").empty()) return "WIN";
  if (!platform::GetEnvironment("SYSTEMROOT").empty()) return "WIN";
  return "DOS";
}

}  // namespace

SessionSettings& Session() {
  static SessionSettings settings;
  return settings;
}

std::string CompleteDirectory(std::string text) {
  if (!text.empty() && text.back() != ':' && text.back() != '\\') text += '\\';
  return text;
}

void LoadSessionSettings() {
  // Texts meet the operating system through code page 850 only (the platform
  // layer's one table), so there is no code page to select here.
  SessionSettings& s = Session();
  s = SessionSettings{};
  s.RootDir = platform::GetEnvironment("OLMROOT");
  s.TempDir = CompleteDirectory(platform::GetEnvironment("OLMTMP"));

  const std::string sessionFile = s.TempDir + "Sessio.ini";
  s.MenuTitle = " " + ReadIniValue(sessionFile, "Menu", "Titol") + " ";
  s.MenuName = ReadIniValue(sessionFile, "Menu", "NomMenu");
  s.TerminalDir = ReadIniValue(sessionFile, "Terminal", "Dir");
  if (s.TerminalDir.empty()) s.TerminalDir = platform::GetEnvironment("TERM");
  s.TerminalDir = CompleteDirectory(s.TerminalDir);
  if (s.TempDir.empty()) s.TempDir = s.TerminalDir;

  SetCurrency("a,E");

  const std::string terminalFile = s.TempDir + "VornTerm.ini";
  const double selection = std::nearbyint(ReadNumber(ReadIniValue(terminalFile, "Pantalla", "Seleccio")));
  const int16_t n = static_cast<int16_t>(std::fabs(selection) <= 32767 ? selection : 0);
  std::string colours = ReadIniValue(terminalFile, "Pantalla", "Col" + std::to_string(n));
  s.Colours = ParseColours(colours.empty() ? kDefaultColours : colours);

  s.WorkDate = PackDigits(ReadIniValue(terminalFile, "Sistema", "Data"));
  s.Language = FitToWidth(ReadIniValue(terminalFile, "Sistema", "Idioma"), 3);
  if (TrimBlanks(s.Language).empty())
    s.Language = FitToWidth(ReadIniValue(platform::GetEnvironment("OLMROOT") + "Vorn.ini", "Usuari", "Idioma"), 3);

  s.RunMode = RunModeFromEnvironment();
}

// With a comma: "a,X" makes X the main (and shown) currency, any other first
// letter makes X the second currency. Without one: "P..." shows the second
// currency (or the main one when there is none), anything else the main one.
void SetCurrency(std::string_view command) {
  SessionSettings& s = Session();
  size_t comma = command.find(',');
  if (comma != std::string_view::npos) {
    std::string value = TrimBlanks(command.substr(comma + 1));
    std::string letter = value.empty() ? std::string() : std::string(1, Letter(value));
    if (Letter(command) == 'A') {
      s.MainCurrency = letter;
      s.DisplayCurrency = s.MainCurrency;
    } else {
      s.SecondCurrency = letter;
    }
    return;
  }
  if (Letter(command) == 'P')
    s.DisplayCurrency = s.SecondCurrency.empty() ? s.MainCurrency : s.SecondCurrency;
  else
    s.DisplayCurrency = s.MainCurrency;
}

}  // namespace olm
