// Drawing the screens: the title, the property's name, the field labels and
// values, and on screen 2 one page of the property's movement list.

#include <cmath>
#include <string>

#include "app/application_files.h"
#include "app/form_fields.h"
#include "app/main_loop.h"
#include "console/screen.h"
#include "data/record_operations.h"
#include "forms/hooks.h"
#include "session/session_settings.h"
#include "session/translation.h"
#include "text/date_display.h"
#include "text/packed_digits.h"
#include "text/picture_mask.h"

namespace olm {

namespace {

constexpr int16_t kListTopRow = 5;
constexpr int16_t kBelowListRow = 24;
constexpr int16_t kLineWidth = 79;

// The title centred on row 1 (a half column going to the even side).
void WriteTitle() {
  const std::string& title = Session().MenuTitle;
  SetCursorPosition(1, static_cast<int16_t>(std::nearbyint(41 - title.size() / 2.0)));
  WriteText(title);
}

// Row 2: the property's name, or for a property of kind "P" the name of its
// linked record (a remark when that record does not exist).
void WritePropertyName() {
  SetCursorPosition(2, 37);
  const PropertyBuffer& property = PropertyRecord();
  std::string name = property.Name();
  if (property.Kind() == 'P') {
    LinkedRecord().SetName(TranslateText("*** pis inexistent ***"));
    int16_t status = 0;
    ReadByKey(kLinkedFile, 0, property.LinkCode(), 0, status);
    name = LinkedRecord().Name();
  }
  WriteText(" " + name + " ");
}

void WriteListHeader() {
  SetCursorPosition(3, 1);
  WriteText(TranslateText("DATA       ORD.  CONCEPTE                  COMENTARI                     IMPORT"));
  SetCursorPosition(4, 1);
  WriteText(std::string(kLineWidth, '-'));
}

// The expense type column of a list line: blanks for no type, a remark for
// a code that names none.
std::string ListExpenseType(const std::string& code) {
  ExpenseTypeRecord().SetDescription("");
  if (code != "  ") {
    ExpenseTypeRecord().SetDescription(TranslateText("*** despesa no defin. ***"));
    int16_t status = 0;
    ReadByKey(kExpenseTypeFile, 0, code, 0, status);
  }
  return ExpenseTypeRecord().Description();
}

// Rows 5 to 23: the movements of the current property from ListStartKey on,
// then blank rows over whatever a longer page left.
void WriteMovementList() {
  const std::string property = PropertyRecord().Code();
  int16_t row = kListTopRow;
  int16_t status = 0;
  ReadByKey(kMovementFile, 0, MainLoop().ListStartKey, +1, status);
  while (status == 0 && MovementRecord().PropertyCode() == property && row < kBelowListRow) {
    const MovementBuffer& movement = MovementRecord();
    SetCursorPosition(row, 1);
    WriteText(FormatDate(movement.Date(), 0, "dma") + " " + UnpackDigits(movement.OrderNumber()));
    const std::string expenseType = ListExpenseType(movement.ExpenseType());
    WriteText("  " + expenseType + " " + movement.Comment() + " " + FormatAmount("ZZ,ZZZ,ZZ9", movement.Amount()));
    ++row;
    SkipRecords(kMovementFile, 1, status);
  }
  for (; row < kBelowListRow; ++row) {
    SetCursorPosition(row, 1);
    WriteBlanks(kLineWidth);
  }
}

}  // namespace

// Draws what belongs to screen `screen` besides the form's own fields, then
// the labels and values of its fields.
void OnScreenEnter(int16_t screen) {
  SetColour("rh");
  if (screen == 1) WriteTitle();
  if (screen == 2) WritePropertyName();
  SetColour("n");
  const int16_t fieldCount = Form().Screen(screen).FieldCount;
  for (int16_t field = 1; field <= fieldCount; ++field) {
    const FieldDefinition& definition = Form().Field(screen, field);
    LocateInWindow(definition.FieldRow, definition.FieldColumn);
    WriteText(definition.FieldLabel);
  }
  if (screen == 1) WriteListHeader();
  if (screen == 2) WriteMovementList();
  SetColour("h");
  for (int16_t field = 1; field <= fieldCount; ++field) OnShowField(screen, field);
}

}  // namespace olm
