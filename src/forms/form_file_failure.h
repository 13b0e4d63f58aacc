#pragma once
// The end of a run whose form file cannot be used: without it the program
// has no screens.

#include <string>

namespace olm {

// Tells the user, in a message box naming `path`, that the form file cannot
// be read (line 0) or is wrong at `line`, waits for a key and ends the
// program with exit code 1.
[[noreturn]] void EndWithFormFileFailure(const std::string& path, int line);

// The message EndWithFormFileFailure shows, in the session's language.
std::string FormFileFailureText(const std::string& path, int line);

}  // namespace olm
