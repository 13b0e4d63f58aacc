// The browse lists' hooks: the key range of each list, the text of its
// lines, and what a picked record puts into the form.

#include <string>

#include "app/application_files.h"
#include "app/form_fields.h"
#include "data/record_operations.h"
#include "forms/hooks.h"
#include "session/translation.h"
#include "text/date_display.h"
#include "text/dates.h"
#include "text/number_reading.h"
#include "text/packed_digits.h"
#include "text/picture_mask.h"

namespace olm {

namespace {

constexpr int16_t kPropertyList = 1;
constexpr int16_t kExpenseTypeList = 2;
constexpr int16_t kMovementList = 3;

// The last three of the four digits of a property code, as typed on screen 1.
std::string TypedPropertyCode(const std::string& packed) { return UnpackDigits(packed).substr(1, 3); }

// A browse line of a movement: date, expense type, comment, amount (blank
// when 0) and the tax rate as a whole percentage.
std::string MovementBrowseLine() {
  const MovementBuffer& movement = MovementRecord();
  ExpenseTypeRecord().SetDescription(TranslateText("*** despesa no defin. ***"));
  int16_t status = 0;
  ReadByKey(kExpenseTypeFile, 0, movement.ExpenseType(), 0, status);
  return FormatDate(movement.Date(), 0, "dma") + " " + ExpenseTypeRecord().Description() + " " + movement.Comment() +
         " " + FormatAmount("ZZ,ZZZ,ZZZ", movement.Amount()) + " " + FormatPicture("ZZ", movement.TaxRate() / 100.0);
}

// Hands one text to a field as if typed there.
void TypeIntoField(int16_t screen, int16_t field, const std::string& text) {
  int16_t key = 0;
  OnFieldExit(screen, FitText(text, Form().Field(screen, field).FieldValue.size()), field, key);
}

}  // namespace

// The movement list covers only the current property; the others the file.
int16_t OnBrowseStart(int16_t browse, std::string& startKey, std::string& endKey) {
  if (browse == kMovementList) {
    startKey = endKey = PropertyRecord().Code();
  } else {
    startKey.clear();
    endKey.clear();
  }
  return 0;
}

std::string OnBrowseLine(int16_t browse) {
  switch (browse) {
    case kPropertyList:
      return TypedPropertyCode(PropertyRecord().Code()) + "  " + PropertyRecord().Name();
    case kExpenseTypeList:
      return ExpenseTypeRecord().Code() + "  " + ExpenseTypeRecord().Description();
    case kMovementList:
      return MovementBrowseLine();
    default:
      return "";
  }
}

// A picked property or expense type is typed into the field; a picked
// movement fills date and order number and moves the driver past the last
// field of screen 2, so that the movement opens at once. Its date and order
// number are taken before the date's check reads the movement file, which
// overwrites the record picked.
void OnBrowsePick(int16_t& browse, int16_t screen, int16_t& field) {
  switch (browse) {
    case kPropertyList:
      TypeIntoField(screen, field, TypedPropertyCode(PropertyRecord().Code()));
      return;
    case kExpenseTypeList:
      TypeIntoField(screen, field, ExpenseTypeRecord().Code());
      return;
    case kMovementList: {
      const std::string date = DateDigits(MovementRecord().Date());
      const std::string order = UnpackDigits(MovementRecord().OrderNumber());
      TypeIntoField(screen, 1, date);
      TypeIntoField(screen, 2, order);
      field = 3;
      return;
    }
    default:
      return;
  }
}

}  // namespace olm
