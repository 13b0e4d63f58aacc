#pragma once

namespace olm {

// The whole life of the program: settings, root directory, program name, and
// the steps that follow them. Returns the process's exit code.
int RunProgram();

}  // namespace olm
