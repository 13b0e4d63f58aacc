#pragma once
// Reads one value from an INI file: sections in square brackets holding
// "name = value" lines. Every call opens, scans and closes the file.

#include <string>
#include <string_view>

namespace olm {

// The value of `key` in the first section named `section` (names compared
// ignoring case and surrounding blanks), everything after the "=" up to a ";"
// comment, without one pair of enclosing double quotes. The empty text when
// the file, the section or the key is missing.
std::string ReadIniValue(std::string_view path, std::string_view section, std::string_view key);

}  // namespace olm
