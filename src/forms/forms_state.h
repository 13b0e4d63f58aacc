#pragma once

namespace olm {

// Every process-wide state of the forms subsystem back to its start: the
// form, the exit keys and mask, the editor's choice list and insert mode,
// the driver's target screen and current field, the chosen list line.
void ResetFormsState();

}  // namespace olm
