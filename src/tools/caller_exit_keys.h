#pragma once
// The caller's exit-key table, kept by value while a pop-up tool puts its own
// in place.
//
// The table's single save slot is not used for this: a tool opened from
// inside a field edit finds the slot taken by the form driver, and giving
// back that copy would leave the field being edited with the table of before
// the field, which ends the edit on the hot key itself.

#include "forms/exit_keys.h"

namespace olm {

class CallerExitKeys {
 public:
  CallerExitKeys() : saved_(ExitKeys()) {}

  // Puts the caller's table back exactly, and leaves the slot as it was.
  void Restore() const;

 private:
  ExitKeyTable saved_;
};

}  // namespace olm
