#include "console/console_state.h"

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"

namespace olm {

void ResetConsoleState() {
  ResetScreenState();
  ResetWindowState();
  ResetKeyboardState();
}

}  // namespace olm
