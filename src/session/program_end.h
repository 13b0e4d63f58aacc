#pragma once
// Ending the program from deep inside it: EndProgram throws ProgramEnd, which
// the entry catches and turns into the process's exit code, so that every
// object on the way out is destroyed and the terminal is restored.

namespace olm {

struct ProgramEnd {
  int exitCode = 0;
};

[[noreturn]] void EndProgram(int exitCode);

}  // namespace olm
