#pragma once
// Starting another program and waiting for it to end.

#include <string>
#include <string_view>
#include <vector>

namespace olm::platform {

// Runs `program` (code page 850; looked up in PATH when it holds no "/")
// with `arguments`, each handed over as one argument of its own (code page
// 850, converted to UTF-8), never through a shell line, and waits until it
// ends. Returns its exit status, or -1 when it could not be started or did
// not end normally. Pending console output is shown first.
int RunProgramAndWait(std::string_view program, const std::vector<std::string>& arguments);

}  // namespace olm::platform
