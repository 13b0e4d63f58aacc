#pragma once
// The pop-up desk calculator with its paper tape, opened by Alt+X.

#include <string>

namespace olm {

// Runs the calculator over the current screen and gives back the result
// digits to be fed to the program as typed keys, or "" when it is left with
// Esc.
std::string ShowCalculator();

}  // namespace olm
