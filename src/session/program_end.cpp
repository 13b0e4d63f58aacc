#include "session/program_end.h"

namespace olm {

void EndProgram(int exitCode) { throw ProgramEnd{exitCode}; }

}  // namespace olm
