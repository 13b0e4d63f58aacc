#pragma once
// One call that puts the whole console layer back to its state at start, for
// tests that run several program sessions in one process.

namespace olm {

// Colours and colour stack, windows, text stack, cursor, pending keys, mouse
// state and the calculator and calendar guards.
void ResetConsoleState();

}  // namespace olm
