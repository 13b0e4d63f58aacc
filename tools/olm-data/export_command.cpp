#include <filesystem>
#include <fstream>

#include "commands.h"
#include "csv.h"
#include "data_root.h"

namespace olm::datatool {
namespace {

std::vector<std::string> HeaderOf(const RecordKind& kind) {
  std::vector<std::string> names;
  for (const FieldLayout& field : kind.fields) names.push_back(field.name);
  return names;
}

// The CSV text of one file, or false after reporting the first record that
// does not decode.
bool ExportKind(DataRoot& data, const RecordKind& kind, std::string& csv, std::ostream& err) {
  csv = FormatCsvRow(HeaderOf(kind));
  int16_t status = data.ReadFirst(kind);
  for (; status == 0; status = data.ReadNext(kind)) {
    std::optional<FieldError> error;
    const std::vector<std::string> fields = DecodeRecord(kind, data.Record(kind), error);
    if (error) {
      err << kind.baseName << ": record with " << DescribeKey(kind, data.Record(kind)) << ": field " << error->field
          << " " << error->reason << " (olm-data check lists every such record)" << std::endl;
      return false;
    }
    csv += FormatCsvRow(fields);
  }
  if (status != 9) {
    err << kind.baseName << ": reading stopped with status " << status << std::endl;
    return false;
  }
  return true;
}

}  // namespace

// Every file is read before any is written, and each is written under a
// temporary name and then renamed, so an export that fails leaves the
// directory as it was.
int ExportCommand(const std::string& root, const std::string& directory, std::ostream& out, std::ostream& err) {
  namespace fs = std::filesystem;
  DataRoot data(root, err);
  if (!data.Valid()) {
    err << root << ": no such directory" << std::endl;
    return 1;
  }
  std::vector<std::string> texts;
  for (const RecordKind& kind : RecordKinds()) {
    if (!data.DataFileExists(kind)) {
      err << kind.baseName << ": no data file (olm-data init creates the files)" << std::endl;
      return 1;
    }
    std::string csv;
    if (!data.Open(kind, false) || !ExportKind(data, kind, csv, err)) return 1;
    texts.push_back(csv);
  }
  std::error_code error;
  fs::create_directories(directory, error);
  for (size_t i = 0; i < texts.size(); ++i) {
    const fs::path path = fs::path(directory) / (RecordKinds()[i].name + ".csv");
    const fs::path temporary = path.string() + ".tmp";
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << texts[i];
    file.close();
    if (!file) {
      err << temporary.string() << ": cannot be written" << std::endl;
      fs::remove(temporary, error);
      return 1;
    }
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    const fs::path path = fs::path(directory) / (RecordKinds()[i].name + ".csv");
    fs::rename(path.string() + ".tmp", path, error);
    out << path.string() << std::endl;
  }
  return 0;
}

}  // namespace olm::datatool
