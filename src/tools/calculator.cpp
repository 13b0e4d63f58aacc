#include "tools/calculator.h"

namespace olm {

// Not built yet: the calculator gives back nothing.
std::string ShowCalculator() { return ""; }

}  // namespace olm
