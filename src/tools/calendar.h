#pragma once
// The pop-up month calendar, opened by Alt+C.

#include <string>

namespace olm {

// Runs the calendar over the current screen and gives back the chosen date as
// text to be fed to the program as typed keys, or "" when it is left with Esc.
std::string ShowCalendar();

}  // namespace olm
