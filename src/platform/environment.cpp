#include "platform/environment.h"

#include <cstdlib>

#include "platform/codepage.h"

namespace olm::platform {

std::string GetEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value == nullptr ? std::string() : Utf8ToCp850(value);
}

}  // namespace olm::platform
