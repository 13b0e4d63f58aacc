#pragma once
// The process-wide settings read once at start-up from the environment and
// the suite's INI files (Sessio.ini, VornTerm.ini, Vorn.ini).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// Five colour roles, each a (foreground, background) pair of colours 0..15.
using ColourTable = std::array<std::array<int16_t, 2>, 5>;

struct SessionSettings {
  std::string RootDir;      // OLMROOT, used unchanged as the prefix of data paths
  std::string TempDir;      // OLMTMP completed with a backslash, else TerminalDir
  std::string MenuTitle;    // " " + Titol + " "
  std::string MenuName;     // help topic; empty means no help
  std::string TerminalDir;  // Sessio.ini [Terminal] Dir, else TERM, completed
  ColourTable Colours{};
  std::string WorkDate;     // packed digits, normally 4 bytes; empty when unset
  std::string Language = "   ";  // 3 characters, blank padded
  std::string RunMode = "DOS";   // "CGI", "WIN" or "DOS"
  std::string MainCurrency;
  std::string SecondCurrency;
  std::string DisplayCurrency;  // "P" shows pesetas, anything else euros
  std::string ProgramName = "TRELUNAX";
};

// The settings of this process.
SessionSettings& Session();

// Fills Session() from the environment and the INI files. Never fails:
// missing variables, files and keys give their defaults.
void LoadSessionSettings();

// Changes the currency fields by a command such as "a,E" (see the source).
void SetCurrency(std::string_view command);

// A non-empty directory text whose last character is neither ":" nor "\"
// gets a "\" appended.
std::string CompleteDirectory(std::string text);

}  // namespace olm
