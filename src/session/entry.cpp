#include "session/entry.h"

#include "app/application_files.h"
#include "app/main_loop.h"
#include "console/screen.h"
#include "forms/form_definition.h"
#include "platform/file.h"
#include "session/program_end.h"
#include "session/session_settings.h"

namespace olm {

// The run in its fixed order: settings (read from the start directory), the
// root directory, the program's name (which names the form and language
// files), the form, the data files, the screens, and the closing of the
// files. A stop deep inside (a data file or the form file that cannot be
// used) arrives as ProgramEnd and gives the exit code; the operating system
// then releases whatever was still open.
int RunProgram() {
  try {
    SetCursorShape(0);
    LoadSessionSettings();
    // A failed change leaves the program where it was.
    if (!Session().RootDir.empty()) platform::ChangeDirectory(Session().RootDir);
    Session().ProgramName = "TRELUNAX";
    LoadForm();
    OpenApplicationFiles();
    RunMainScreens();
    CloseApplicationFiles();
    return 0;
  } catch (const ProgramEnd& end) {
    return end.exitCode;
  }
}

}  // namespace olm
