#pragma once
// The program builds paths as its original platform did: code page 850 texts
// with backslashes ("DADES\TDespesa"). HostPath turns such a text into a Linux
// path at the last moment, treating the file system as case-insensitive.

#include <string>
#include <string_view>

namespace olm::platform {

// Every backslash becomes "/", the text becomes UTF-8, and each component that
// does not exist with its exact spelling is replaced by an existing entry of
// its directory that differs only in letter case. Components that exist in no
// spelling are kept as written (a file about to be created).
std::string HostPath(std::string_view programPath);

}  // namespace olm::platform
