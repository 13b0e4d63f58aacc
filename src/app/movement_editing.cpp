#include <cmath>
#include <cstdint>
#include <string>

#include "app/application_files.h"
#include "app/form_fields.h"
#include "app/main_loop.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "text/dates.h"
#include "text/number_format.h"
#include "text/number_reading.h"
#include "text/packed_digits.h"

namespace olm {

namespace {

constexpr int16_t kEscKey = 27;
constexpr int16_t kMovementScreen = 3;

// A value rounded to the nearest whole number, a half going to the even one.
double RoundHalfEven(double value) { return std::nearbyint(value); }

// The non-key fields of a movement that is only being reserved: no expense
// type, no comment, zero amounts, no document number, no statuses. A program
// that dies on screen 3 leaves this behind, which shows as no real expense.
void ClearMovementFields(MovementBuffer& movement) {
  movement.SetExpenseType("");
  movement.SetComment("");
  movement.SetAmount(0);
  movement.SetDocumentNumber(PackDigits("00000000"));
  movement.SetTaxRate(0);
  movement.SetTaxAmount(0);
  movement.SetStatuses("", "");
}

// Screen 3's fields from the movement just read.
void ShowStoredMovement(const MovementBuffer& movement) {
  SetFieldValue(kMovementScreen, 1, movement.ExpenseType());
  SetFieldValue(kMovementScreen, 2, movement.Comment());
  SetFieldValue(kMovementScreen, 3, NumberText(movement.Amount()));
  SetFieldValue(kMovementScreen, 4, NumberText(movement.TaxRate() / 100.0));
  SetFieldValue(kMovementScreen, 5, NumberText(movement.TaxAmount()));
  SetFieldValue(kMovementScreen, 6, NumberText(ReadNumber(UnpackDigits(movement.DocumentNumber()))));
  SetFieldValue(kMovementScreen, 7, movement.FirstStatus());
  SetFieldValue(kMovementScreen, 8, movement.SecondStatus());
}

// Gives a new movement the next document number of its property's linked
// record, under a key lock of that record so that two workstations never
// hand out the same number. The record is named by the current property's
// link code, whatever the linked-record buffer held before.
void TakeDocumentNumber(MovementBuffer& movement) {
  const std::string link = PropertyRecord().LinkCode();
  LockKey("PropietV", link);
  int16_t status = 0;
  ReadByKey(kLinkedFile, 0, link, 0, status);
  if (status == 0) {
    const double last = ReadNumber(UnpackDigits(LinkedRecord().DocumentCounter()));
    const std::string counter = PackDigits(ZeroPad(last + 1, 8));
    LinkedRecord().SetDocumentCounter(counter);
    movement.SetDocumentNumber(counter);
    UpdateRecord(kLinkedFile, status);
  }
  ReleaseLock("PropietV");
}

// Screen 3's values into the movement buffer, then the update.
void SaveMovement() {
  MovementBuffer& movement = MovementRecord();
  movement.SetExpenseType(FieldValueOf(kMovementScreen, 1));
  movement.SetComment(FieldValueOf(kMovementScreen, 2));
  movement.SetAmount(static_cast<int32_t>(RoundHalfEven(ReadNumber(FieldValueOf(kMovementScreen, 3)))));
  movement.SetTaxRate(static_cast<int16_t>(RoundHalfEven(100 * ReadNumber(FieldValueOf(kMovementScreen, 4)))));
  movement.SetTaxAmount(static_cast<int32_t>(RoundHalfEven(ReadNumber(FieldValueOf(kMovementScreen, 5)))));
  movement.SetDocumentNumber(PackDigits(FitText(FieldValueOf(kMovementScreen, 6), 8)));
  if (MainLoop().MovementIsNew && IsAllChar(movement.DocumentNumber(), 128)) TakeDocumentNumber(movement);
  movement.SetStatuses(FieldValueOf(kMovementScreen, 7), FieldValueOf(kMovementScreen, 8));
  int16_t status = 0;
  UpdateRecord(kMovementFile, status);
}

}  // namespace

// Reads the movement named on screen 2 into screen 3, or reserves its key
// with an inserted record when it does not exist yet. The key lock on the
// movement is already held (taken when screen 2 was left).
void PrepareMovement() {
  MainLoopState& loop = MainLoop();
  loop.DeleteRequested = 0;
  loop.MovementChanged = 0;
  const int16_t fieldCount = Form().Screen(kMovementScreen).FieldCount;
  for (int16_t field = 1; field <= fieldCount; ++field) SetFieldValue(kMovementScreen, field, "");
  SetFieldValue(kMovementScreen, 7, "P");
  SetFieldValue(kMovementScreen, 8, "P");

  MovementBuffer& movement = MovementRecord();
  movement.SetKey(PropertyRecord().Code(), ParseDate(FieldValueOf(2, 1)), PackDigits(FieldValueOf(2, 2)));
  const std::string key = movement.Key();
  int16_t status = 0;
  ReadByKey(kMovementFile, 0, key, 0, status);
  loop.MovementIsNew = status != 0 ? -1 : 0;
  if (!loop.MovementIsNew) {
    ShowStoredMovement(movement);
    return;
  }
  ClearMovementFields(movement);
  InsertRecord(kMovementFile, status);
  const bool inserted = status == 0;
  ReadByKey(kMovementFile, 0, key, 0, status);
  // A movement that another program stored under the same key in the
  // meantime is not ours to delete again: it is shown as an existing one.
  if (!inserted && status == 0) {
    loop.MovementIsNew = 0;
    ShowStoredMovement(movement);
  }
}

// Saves, deletes or leaves the movement as screen 3 ended with `key`, then
// frees the movement's key lock.
void FinishMovement(int16_t key) {
  const MainLoopState& loop = MainLoop();
  int16_t status = 0;
  if (loop.DeleteRequested || (loop.MovementIsNew && (key == kEscKey || !loop.MovementChanged))) {
    DeleteRecord(kMovementFile, status);
  } else if (key != kEscKey && loop.MovementChanged) {
    SaveMovement();
  }
  ReleaseLock("PagamV");
}

}  // namespace olm
