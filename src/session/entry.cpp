#include "session/entry.h"

#include "platform/file.h"
#include "session/session_settings.h"

namespace olm {

int RunProgram() {
  LoadSessionSettings();
  // The INI files were read from the start directory; everything from here on
  // is relative to the root. A failed change leaves the program where it was.
  if (!Session().RootDir.empty()) platform::ChangeDirectory(Session().RootDir);
  Session().ProgramName = "TRELUNAX";
  return 0;
}

}  // namespace olm
