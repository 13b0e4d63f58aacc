#pragma once
// The screens of the program as the form file describes them: for every
// screen the keys that end a field, its fields with their places, labels,
// widths, flags, choice lists and browse lists, and a table of browse lists.
// Read once at start-up into one process-wide FormDefinition. Screens, fields
// and browse lists are numbered from 1; an access outside the tables gives an
// empty entry instead of reading outside them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace olm {

// FieldFlags bits.
constexpr int16_t kFieldStartsBlank = 1;   // edited from blanks; blank puts the stored value back
constexpr int16_t kFieldHidden = 2;        // as 1, typing shows as "X"
constexpr int16_t kFieldDisplayOnly = 4;   // the driver never stops here
constexpr int16_t kFieldCursorAtEnd = 8;   // cursor starts after the last non-blank

struct FieldDefinition {
  int16_t FieldRow = 0;     // relative to the screen's window when it has one
  int16_t FieldColumn = 0;  // where the label starts; the value follows it
  std::string FieldLabel;
  int16_t FieldWidth = 0;
  int16_t FieldLineLength = 0;  // 0: one line; else characters per line
  int16_t FieldTrailWidth = 0;  // blanked after the value while editing
  int16_t FieldFlags = 0;
  int16_t FieldKind = 0;    // for the application only
  int16_t FieldBrowse = 0;  // browse list of F4, 0 none
  std::string FieldChoices;  // "|code,description|..." or empty
  std::string FieldValue;    // the accepted value, FieldWidth characters

  bool IsEditable() const { return (FieldFlags & kFieldDisplayOnly) == 0; }
  // The column where the value starts.
  int16_t ValueColumn() const { return static_cast<int16_t>(FieldColumn + FieldLabel.size()); }
};

struct ScreenDefinition {
  std::string ScreenKeys;  // key codes that end a field edit, "1b,4800,5000"
  int16_t FieldCount = 0;
  int16_t NextScreen = 0;                  // the screen that continues this one, 0 none
  std::array<int16_t, 4> ScreenWindow{};   // top, left, bottom, right; top 0: no window
  std::vector<FieldDefinition> Fields;     // FieldCount entries

  bool HasWindow() const { return ScreenWindow[0] != 0; }
};

struct BrowseDefinition {
  int16_t File = 0;  // FileId of the listed data file, 0 none
  int16_t KeyNumber = 0;
  int16_t Top = 0, Left = 0, Bottom = 0, Right = 0;  // the frame, screen coordinates
  int16_t FilterScreen = 0;  // run before the list, 0 none
  std::string Title;         // blank shows as frame line, "_" as a blank
  int16_t NestedList = 0;    // opened by F4 inside the list, 0 none
};

struct FormDefinition {
  int16_t ScreenCount = 0;
  int16_t MaxFields = 0;
  int16_t BrowseCount = 0;
  std::vector<ScreenDefinition> Screens;   // ScreenCount entries
  std::vector<BrowseDefinition> Browses;   // BrowseCount entries

  // Entries by number; a number outside the table gives a blank entry that
  // is cleared at every such access.
  ScreenDefinition& Screen(int16_t screen);
  FieldDefinition& Field(int16_t screen, int16_t field);
  BrowseDefinition& Browse(int16_t browse);
  bool HasScreen(int16_t screen) const { return screen >= 1 && screen <= static_cast<int>(Screens.size()); }
  bool HasField(int16_t screen, int16_t field) const;
  bool HasBrowse(int16_t browse) const { return browse >= 1 && browse <= static_cast<int>(Browses.size()); }
};

// The form of this process.
FormDefinition& Form();

// Reads RootDir + "FORMS\" + ProgramName + ".QSC" into Form() and puts the
// working date into field 1 of screen 2. A file that is missing, unreadable
// or breaks its own limits is reported in a message box and ends the program
// with exit code 1.
void LoadForm();

// Reads the text of a form file into `form`. Returns 0 when the file keeps
// its limits, else the 1-based line of the first value that breaks them
// (`form` is then left empty). Reading stops quietly at the end of the text.
int ReadFormDefinition(std::string content, FormDefinition& form);

}  // namespace olm
