#pragma once
// The commands of the data tool. Each works on the root directory of an
// installation, writes what it did to `out` and what went wrong to `err`,
// and returns the process's exit code: 0 done, 1 failed (nothing changed).

#include <ostream>
#include <string>
#include <vector>

namespace olm::datatool {

// Creates the data files that are missing from their templates.
int InitCommand(const std::string& root, std::ostream& out, std::ostream& err);

// Writes one CSV file per record kind into `directory`, in key order.
int ExportCommand(const std::string& root, const std::string& directory, std::ostream& out, std::ostream& err);

// Adds the records of the CSV files: all of them or, after any error,
// none. Each file's header row tells its kind.
int ImportCommand(const std::string& root, const std::vector<std::string>& files, std::ostream& out,
                  std::ostream& err);

// Reads every record of every file and reports fields that do not decode,
// keys out of order and movements of properties that do not exist.
int CheckCommand(const std::string& root, std::ostream& out, std::ostream& err);

}  // namespace olm::datatool
