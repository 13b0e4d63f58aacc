#include "commands.h"
#include "data_root.h"

namespace olm::datatool {

// Opening a missing file creates it from its template, as the program does;
// files already there are left as they are.
int InitCommand(const std::string& root, std::ostream& out, std::ostream& err) {
  DataRoot data(root, err);
  if (!data.Valid()) {
    err << root << ": no such directory" << std::endl;
    return 1;
  }
  for (const RecordKind& kind : RecordKinds()) {
    const bool existed = data.DataFileExists(kind);
    if (!data.Open(kind, false)) return 1;
    out << kind.baseName << (existed ? ": already there" : ": created") << std::endl;
  }
  return 0;
}

}  // namespace olm::datatool
