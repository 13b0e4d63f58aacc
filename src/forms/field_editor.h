#pragma once
// The editor of one field: free text of a fixed length, on one line or on
// several lines of a fixed length, or a choice among the items of a choice
// list shown by their descriptions between two arrow markers. Which keys end
// an edit comes from the exit key table (forms/exit_keys.h). The editor knows
// nothing of forms or data; the form driver calls it once per field visit.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// The choice list of the following edits: "" for free text, else items each
// introduced by "|", a code, a comma and a description ("|1,Un|2,Dos").
void SetEditChoices(std::string_view choices);

// Edits `text` in place (its length never changes) at the window-relative
// (row, column) and returns the key that ended the edit, as the exit key
// table reports it; a click outside the field comes back as
// -(column * 100 + row) in screen coordinates. Row or column 0 means the
// cursor's, line length 0 one line; both variables are set to what was used.
// `cursor` (1 .. length + 1) is where the edit starts and, on return, where
// it stopped.
void EditField(int16_t& row, int16_t& column, int16_t& lineLength, std::string& text, int16_t& cursor,
               int16_t& key);

// Insert (true) or overwrite mode. The Insert key flips it, and the mode
// chosen holds for the following edits for the rest of the process.
bool InsertMode();
void SetInsertMode(bool insert);

// No choice list, overwrite mode.
void ResetFieldEditorState();

}  // namespace olm
