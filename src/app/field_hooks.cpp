// The form driver's hooks for showing, checking and leaving fields and
// screens: how each kind of field is shown and validated, the proposal of the
// next order number, the tax contained in an amount, and the key lock that
// guards a movement while screen 3 edits it.

#include <cmath>
#include <string>

#include "app/application_files.h"
#include "app/form_fields.h"
#include "app/main_loop.h"
#include "console/screen.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "forms/hooks.h"
#include "session/session_settings.h"
#include "text/date_display.h"
#include "text/dates.h"
#include "text/fold_case.h"
#include "text/number_format.h"
#include "text/number_reading.h"
#include "text/packed_digits.h"
#include "text/picture_mask.h"

namespace olm {

namespace {

constexpr int16_t kEscKey = 27;
constexpr int16_t kPageForwardKey = 17;
constexpr int16_t kPageBackKey = 20;

enum FieldKindCode : int16_t {
  kDateKind = 1,
  kOrderKind = 2,
  kTaxedAmountKind = 3,
  kExpenseTypeKind = 5,
  kDocumentKind = 6,
  kRateKind = 7,
  kAmountKind = 10,
  kThreeDigitKind = 83,
};

constexpr const char* kAmountMask = "ZZ,ZZZ,ZZ9";

bool IsBlank(const std::string& text) { return IsAllChar(text, ' '); }

// The tax contained in `amount` when it includes tax at `rate` percent.
std::string TaxText(double amount, double rate) {
  return NumberText(std::nearbyint(amount / (100.0 / rate + 1.0)));
}

// The description of the first choice whose code is `value` exactly, or
// nothing when none is. Items are "|code,description".
std::string ChoiceDescription(const std::string& choices, const std::string& value, bool& found) {
  found = false;
  size_t start = choices.find('|');
  while (start != std::string::npos) {
    const size_t next = choices.find('|', start + 1);
    const std::string item = choices.substr(start + 1, next == std::string::npos ? std::string::npos : next - start - 1);
    const size_t comma = item.find(',');
    if (comma != std::string::npos && item.substr(0, comma) == value) {
      found = true;
      return item.substr(comma + 1);
    }
    start = next;
  }
  return "";
}

// Writes a free-text value, in rows of `lineLength` characters when the
// field spans several rows.
void WriteFieldText(const std::string& value, int16_t lineLength) {
  if (lineLength <= 0) {
    WriteText(value);
    return;
  }
  const int16_t row = CursorRow();
  const int16_t column = CursorColumn();
  for (size_t at = 0, line = 0; at < value.size(); at += lineLength, ++line) {
    SetCursorPosition(static_cast<int16_t>(row + line), column);
    WriteText(value.substr(at, lineLength));
  }
}

// The description of an expense type code, blank when there is none.
std::string ExpenseTypeDescription(const std::string& code) {
  ExpenseTypeRecord().SetDescription("");
  int16_t status = 0;
  ReadByKey(kExpenseTypeFile, 0, code, 0, status);
  return ExpenseTypeRecord().Description();
}

// Proposes the order number after the last one of `date` for the current
// property in the field after the date; blanks when the date has none yet,
// or when its last order number is already the highest.
void ProposeNextOrderNumber(int16_t screen, int16_t field, const std::string& date) {
  const std::string property = PropertyRecord().Code();
  const std::string highest = PackDigits("9999");
  int16_t status = 0;
  ReadByKey(kMovementFile, 0, property + date + highest, -1, status);
  const MovementBuffer& found = MovementRecord();
  if (status == 0 && found.PropertyCode() == property && found.Date() == date && found.OrderNumber() < highest) {
    SetFieldValue(screen, field + 1, NumberText(ReadNumber(UnpackDigits(found.OrderNumber())) + 1));
  } else {
    SetFieldValue(screen, field + 1, "");
  }
  OnShowField(screen, static_cast<int16_t>(field + 1));
}

// Checks one typed text by its field's kind and stores it; 0 accepted.
int16_t CheckAndStore(int16_t screen, std::string text, int16_t field) {
  const FieldDefinition& definition = Form().Field(screen, field);
  const std::string stored = definition.FieldValue;
  switch (definition.FieldKind) {
    case kDateKind: {
      if (IsBlank(text)) text = FitText(DateDigits(Session().WorkDate), text.size());
      if (IsBadDate(text) != 0) return -1;
      ProposeNextOrderNumber(screen, field, ParseDate(text));
      SetFieldValue(screen, field, text);
      return 0;
    }
    case kOrderKind:
    case kDocumentKind:
    case kThreeDigitKind:
      if (CheckNumberText(text, "") != 0) return -1;
      SetFieldValue(screen, field, text);
      return 0;
    case kTaxedAmountKind: {
      if (CheckNumberRange(text, -99999999, 99999999, 0) != 0) return -1;
      if (text != stored) {
        const double rate = ReadNumber(FieldValueOf(screen, field + 1));
        SetFieldValue(screen, field + 2, rate != 0 ? TaxText(ReadNumber(text), rate) : "");
        OnShowField(screen, static_cast<int16_t>(field + 2));
      }
      SetFieldValue(screen, field, text);
      return 0;
    }
    case kExpenseTypeKind:
      SetFieldValue(screen, field, FoldCase(text));
      return 0;
    case kRateKind: {
      if (CheckNumberRange(text, 0, 99.99, 2) != 0) return -1;
      if (text != stored) {
        const double rate = ReadNumber(text);
        SetFieldValue(screen, field + 1, rate != 0 ? TaxText(ReadNumber(FieldValueOf(screen, field - 1)), rate) : "");
        OnShowField(screen, static_cast<int16_t>(field + 1));
      }
      SetFieldValue(screen, field, text);
      return 0;
    }
    case kAmountKind:
      if (CheckNumberRange(text, -99999999, 99999999, 0) != 0) return -1;
      SetFieldValue(screen, field, text);
      return 0;
    default:
      SetFieldValue(screen, field, text);
      return 0;
  }
}

}  // namespace

// Writes a field's value right after its label, in the current colours, as
// its kind shows it.
void OnShowField(int16_t screen, int16_t field) {
  const FieldDefinition& definition = Form().Field(screen, field);
  LocateInWindow(definition.FieldRow, definition.ValueColumn());
  if (definition.FieldFlags & kFieldHidden) return;
  const std::string& value = definition.FieldValue;
  switch (definition.FieldKind) {
    case kDateKind:
      WriteText(FormatDate(ParseDate(value), 0, "dma"));
      return;
    case kOrderKind:
      WriteText(ZeroPad(ReadNumber(value), 4));
      return;
    case kTaxedAmountKind:
    case kAmountKind:
      WriteText(FormatAmount(kAmountMask, ReadNumber(value)));
      return;
    case kExpenseTypeKind:
      if (!IsBlank(value)) WriteText(ExpenseTypeDescription(value));
      return;
    case kDocumentKind:
      WriteText(ZeroPad(ReadNumber(value), 8));
      return;
    case kRateKind:
      WriteText(FormatPicture("Z9.99%", ReadNumber(value)));
      return;
    case kThreeDigitKind:
      WriteText(FormatPicture("ZZ9", ReadNumber(value)));
      return;
    default:
      break;
  }
  if (!definition.FieldChoices.empty()) {
    bool found = false;
    const std::string description = ChoiceDescription(definition.FieldChoices, value, found);
    if (found) WriteText(FitText(description, definition.FieldWidth + definition.FieldTrailWidth));
    return;
  }
  WriteFieldText(value, definition.FieldLineLength);
}

// Checks and stores what the user typed; 0 accepts it, -1 has it typed
// again. Any text that differs from the stored one marks the movement as
// changed.
int16_t OnFieldExit(int16_t screen, std::string text, int16_t& field, int16_t& key) {
  (void)key;
  if (text != FieldValueOf(screen, field)) MainLoop().MovementChanged = -1;
  const int16_t result = CheckAndStore(screen, text, field);
  if (result == 0) OnShowField(screen, field);
  return result;
}

// Decides whether a screen may be left: screen 1 needs an existing property,
// screen 2 the key lock of the named movement (the user may give up waiting
// with Esc), screen 3 notes whether the amount asks for a delete. Paging on
// screen 2 names no movement and takes no lock.
int16_t OnScreenExit(int16_t screen, int16_t& key) {
  if (key == kEscKey) return 0;
  SetLockWaitMode('p');
  int16_t result = 0;
  if (screen == 1) {
    PropertyRecord().SetCode(PackDigits("0" + FieldValueOf(1, 1)).substr(0, 2));
    int16_t status = 0;
    ReadByKey(kPropertyFile, 0, PropertyRecord().Code(), 0, status);
    result = status != 0 ? -1 : 0;
  } else if (screen == 2 && key != kPageForwardKey && key != kPageBackKey) {
    result = LockKey("PagamV", PropertyRecord().Code() + ParseDate(FieldValueOf(2, 1)) + PackDigits(FieldValueOf(2, 2)));
  } else if (screen == 3) {
    MainLoop().DeleteRequested = ReadNumber(FieldValueOf(3, 3)) == 0 ? -1 : 0;
  }
  SetLockWaitMode(' ');
  return result;
}

}  // namespace olm
