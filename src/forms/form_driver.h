#pragma once
// The form driver: runs one screen of the form field by field with the
// field editor and the application's hooks, until a key leaves the screen.
// A screen's NextScreen continues it: the driver descends into the
// continuation past the last field (or on F2) and returns through the whole
// chain when the user leaves.

#include <cstdint>
#include <string>

namespace olm {

// Runs `screen` (positive: as a top screen; negative: |screen| as the
// continuation of the screen before it, and the variable is made positive).
// Non-zero leaveUp / leaveDown let PgUp on the first editable field / PgDn on
// the last one leave the screen. `key` is the key that ended the screen. A
// screen the form does not have returns Esc at once.
void RunFormScreen(int16_t& screen, int16_t& leaveUp, int16_t& leaveDown, int16_t& key);

// Non-zero asks the next run of a chain to skip straight to that screen; set
// when a screen is left with PgUp or PgDn.
int16_t& TargetScreen();

// The text, screen and field of the edit that just ended, for the hooks;
// "", 0 and 0 once the driver has returned.
const std::string& CurrentFieldText();
int16_t CurrentScreen();
int16_t CurrentField();

void ResetFormDriverState();

}  // namespace olm
