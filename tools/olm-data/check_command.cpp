#include <set>

#include "commands.h"
#include "data_root.h"

namespace olm::datatool {
namespace {

struct CheckState {
  std::ostream& out;
  std::ostream& err;
  int problems = 0;
  std::set<std::string> properties;  // codes of the properties found
  bool propertiesRead = false;

  void Report(const RecordKind& kind, const std::string& text) {
    err << kind.baseName << ": " << text << std::endl;
    ++problems;
  }
};

// Reads the kind's file along key 0: every record's fields must decode and
// every key must follow the one before it.
void CheckKind(DataRoot& data, const RecordKind& kind, CheckState& state) {
  if (!data.DataFileExists(kind)) {
    state.Report(kind, "no data file");
    return;
  }
  if (!data.Open(kind, false)) {
    state.Report(kind, "the file cannot be opened");
    return;
  }
  std::string previousKey;
  int records = 0;
  int16_t status = data.ReadFirst(kind);
  for (; status == 0; status = data.ReadNext(kind)) {
    ++records;
    const std::string record = data.Record(kind);
    const std::string key = record.substr(0, kind.keyLength);
    std::optional<FieldError> error;
    DecodeRecord(kind, record, error);
    if (error) state.Report(kind, "record with " + DescribeKey(kind, record) + ": field " + error->field + " " + error->reason);
    if (records > 1 && key <= previousKey)
      state.Report(kind, "record with " + DescribeKey(kind, record) + ": key out of order after " +
                             DescribeKey(kind, previousKey + std::string(kind.recordLength, '\0')));
    previousKey = key;
    if (&kind == &PropertyKind()) state.properties.insert(key);
    if (&kind == &MovementKind() && state.propertiesRead && !state.properties.count(key.substr(0, 2)))
      state.Report(kind, "record with " + DescribeKey(kind, record) + ": its property does not exist");
  }
  if (status != 9) state.Report(kind, "reading stopped with status " + std::to_string(status));
  if (&kind == &PropertyKind()) state.propertiesRead = status == 9;
  state.out << kind.baseName << ": " << records << " records read" << std::endl;
  data.CloseAll();
}

}  // namespace

// The kinds are checked in RecordKinds order, so the properties are known
// before the movements are read.
int CheckCommand(const std::string& root, std::ostream& out, std::ostream& err) {
  DataRoot data(root, err);
  if (!data.Valid()) {
    err << root << ": no such directory" << std::endl;
    return 1;
  }
  CheckState state{out, err, 0, {}, false};
  for (const RecordKind& kind : RecordKinds()) CheckKind(data, kind, state);
  out << (state.problems == 0 ? "no problems found" : std::to_string(state.problems) + " problems found") << std::endl;
  return state.problems == 0 ? 0 : 1;
}

}  // namespace olm::datatool
