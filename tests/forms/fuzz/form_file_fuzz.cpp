// Fuzz entry for the form file reader: any text must be read or refused
// without a crash or a read outside a table, and a form that is accepted must
// keep every limit the driver and the browse list rely on.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "forms/form_definition.h"
#include "session/session_settings.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

void CheckAcceptedForm(olm::FormDefinition& form) {
  Require(int(form.Screens.size()) == form.ScreenCount);
  Require(int(form.Browses.size()) == form.BrowseCount);
  for (int16_t s = 1; s <= form.ScreenCount; ++s) {
    const olm::ScreenDefinition& screen = form.Screen(s);
    Require(int(screen.Fields.size()) == screen.FieldCount && screen.FieldCount <= form.MaxFields);
    Require(InRange(screen.NextScreen, 0, form.ScreenCount));
    for (const olm::FieldDefinition& field : screen.Fields) {
      Require(InRange(field.FieldBrowse, 0, form.BrowseCount));
      Require(field.FieldValue.empty() || int(field.FieldValue.size()) == field.FieldWidth);
    }
  }
  for (const olm::BrowseDefinition& browse : form.Browses) {
    Require(InRange(browse.FilterScreen, 0, form.ScreenCount) && InRange(browse.NestedList, 0, form.BrowseCount));
    // A list window is either unread (the file ended first) or on the screen.
    const bool sized = browse.Bottom - browse.Top >= 2 && browse.Right - browse.Left >= 2;
    Require(!sized || (browse.Top >= 1 && browse.Left >= 1 && browse.Bottom <= 25 && browse.Right <= 80));
  }
  // Accesses around the tables' edges land in blank entries.
  for (int16_t s = -1; s <= form.ScreenCount + 1 && s < 40; ++s)
    for (int16_t f = -1; f <= form.MaxFields + 1 && f < 40; ++f) form.Field(s, f).FieldValue.size();
  for (int16_t b = -1; b <= form.BrowseCount + 1 && b < 40; ++b) form.Browse(b).Title.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  olm::Session().Language = "CAT";  // no language file: the reader alone
  olm::FormDefinition form;
  const int line = olm::ReadFormDefinition(std::string(reinterpret_cast<const char*>(data), size), form);
  if (line != 0)
    Require(line > 0 && form.ScreenCount == 0 && form.Screens.empty());
  else
    CheckAcceptedForm(form);
  return 0;
}
