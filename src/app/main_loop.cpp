#include "app/main_loop.h"

#include "app/application_files.h"
#include "console/screen.h"
#include "data/record_operations.h"
#include "forms/form_driver.h"
#include "text/packed_digits.h"

namespace olm {

namespace {

constexpr int16_t kEscKey = 27;
constexpr int16_t kPageForwardKey = 17;  // Ctrl+Q
constexpr int16_t kPageBackKey = 20;     // Ctrl+T

// Runs one screen of the form and returns the key that left it.
int16_t RunScreen(int16_t screen, int16_t mayLeaveUp, int16_t mayLeaveDown, int16_t key) {
  RunFormScreen(screen, mayLeaveUp, mayLeaveDown, key);
  return key;
}

// True when the movement just read belongs to the current property.
bool MovementIsOfCurrentProperty() {
  return MovementRecord().PropertyCode() == PropertyRecord().Code();
}

}  // namespace

MainLoopState& MainLoop() {
  static MainLoopState state;
  return state;
}

void ResetMainLoopState() { MainLoop() = MainLoopState(); }

// Screen 1 until Esc; after each property, screen 2 until Esc, with screen 3
// for every movement named there.
void RunMainScreens() {
  SetColour("n");
  ClearScreen();
  int16_t key = 0;
  for (;;) {
    key = RunScreen(1, 0, 0, key);
    if (key == kEscKey) return;
    PositionListAtLastPage();
    for (;;) {
      key = RunScreen(2, -1, -1, key);
      if (key == kEscKey) break;
      if (key == kPageBackKey) {
        PageMovementList(-1);
      } else if (key == kPageForwardKey) {
        PageMovementList(+1);
      } else {
        PrepareMovement();
        key = RunScreen(3, 0, 0, key);
        FinishMovement(key);
      }
    }
  }
}

// Pages are counted from the property's first movement, so the last page may
// hold fewer than a page's worth of movements.
void PositionListAtLastPage() {
  const std::string property = PropertyRecord().Code();
  MainLoop().ListStartKey = property;
  int16_t status = 0;
  ReadByKey(kMovementFile, 0, property, +1, status);
  for (;;) {
    SkipRecords(kMovementFile, kListPageSize, status);
    if (status != 0 || !MovementIsOfCurrentProperty()) return;
    MainLoop().ListStartKey = CurrentKeySortText(kMovementFile);
  }
}

// Moves the list start one page forward (+1) or back (-1). A start beyond
// the property's movements gives the empty page after the last one; paging
// back from there lands on the last full page.
void PageMovementList(int16_t direction) {
  const std::string property = PropertyRecord().Code();
  int16_t status = 0;
  ReadByKey(kMovementFile, 0, MainLoop().ListStartKey, +1, status);
  // A read that found nothing at the start (end of file) is already one
  // record along: the skip is one shorter.
  const int16_t count = static_cast<int16_t>(kListPageSize - (status & 1));
  int16_t skipped = 0;
  SkipRecords(kMovementFile, direction > 0 ? count : static_cast<int16_t>(-count), skipped);
  if (skipped == 0 && MovementIsOfCurrentProperty()) {
    MainLoop().ListStartKey = CurrentKeySortText(kMovementFile);
  } else if (direction > 0) {
    MainLoop().ListStartKey = property + PackDigits("999999999999");
  } else {
    MainLoop().ListStartKey = property;
  }
}

}  // namespace olm
