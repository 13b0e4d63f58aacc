#pragma once
// The process environment, seen as code page 850 texts.

#include <string>
#include <string_view>

namespace olm::platform {

// The value of an environment variable converted from UTF-8; the empty text
// when it is unset. Characters the code page lacks, and invalid UTF-8, give "?".
std::string GetEnvironment(std::string_view name);

}  // namespace olm::platform
