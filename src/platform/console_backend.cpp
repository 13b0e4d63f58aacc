#include "platform/console_backend.h"

#include <cstdio>
#include <cstdlib>

namespace olm::platform {
namespace {

std::unique_ptr<ConsoleBackend>& Installed() {
  static std::unique_ptr<ConsoleBackend> backend;
  return backend;
}

}  // namespace

ConsoleBackend& Console() {
  if (!Installed()) {
    std::fputs("trelunax: no console installed\n", stderr);
    std::abort();
  }
  return *Installed();
}

void InstallConsole(std::unique_ptr<ConsoleBackend> backend) { Installed() = std::move(backend); }

bool HasConsole() { return Installed() != nullptr; }

}  // namespace olm::platform
