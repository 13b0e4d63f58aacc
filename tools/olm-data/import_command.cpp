#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "commands.h"
#include "csv.h"
#include "data_root.h"

namespace olm::datatool {
namespace {

// One record to add, with the place in the CSV files that it came from.
struct ImportRow {
  std::string place;  // "file.csv:12"
  std::string record;
};

struct ImportPlan {
  std::map<const RecordKind*, std::vector<ImportRow>> rows;
  std::vector<std::string> errors;
};

bool IsBlankRow(const CsvRow& row) {
  return std::all_of(row.fields.begin(), row.fields.end(), [](const std::string& f) { return f.empty(); });
}

// Parses one CSV file into records of the kind its header names; every bad
// row goes to the plan's errors with its line and field.
void PlanFile(const std::string& file, ImportPlan& plan, std::map<std::string, std::string>& keysSeen) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  if (!in) {
    plan.errors.push_back(file + ": cannot be read");
    return;
  }
  std::string text = content.str();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::string error;
  const std::vector<CsvRow> rows = ParseCsv(text, error);
  if (!error.empty()) {
    plan.errors.push_back(file + ": " + error);
    return;
  }
  const RecordKind* kind = rows.empty() ? nullptr : KindOfHeader(rows[0].fields);
  if (!kind) {
    plan.errors.push_back(file + ":1: the header row names no record kind (export writes the headers)");
    return;
  }
  std::vector<ImportRow>& kindRows = plan.rows[kind];
  for (size_t i = 1; i < rows.size(); ++i) {
    if (IsBlankRow(rows[i])) continue;
    const std::string place = file + ":" + std::to_string(rows[i].line);
    std::optional<FieldError> fieldError;
    const std::string record = EncodeRecord(*kind, rows[i].fields, fieldError);
    if (fieldError) {
      plan.errors.push_back(place + ": " + (fieldError->field.empty() ? "the row" : "field " + fieldError->field) +
                            " " + fieldError->reason);
      continue;
    }
    const std::string key = kind->baseName + record.substr(0, kind->keyLength);
    const auto [seen, added] = keysSeen.emplace(key, place);
    if (!added) {
      plan.errors.push_back(place + ": same key as " + seen->second + " (" + DescribeKey(*kind, record) + ")");
      continue;
    }
    kindRows.push_back({place, record});
  }
}

// Refuses rows whose key is already in the file and movements whose
// property is neither in the file nor among the rows imported.
void CheckAgainstFiles(DataRoot& data, ImportPlan& plan) {
  std::set<std::string> newProperties;
  const auto properties = plan.rows.find(&PropertyKind());
  if (properties != plan.rows.end())
    for (const ImportRow& row : properties->second) newProperties.insert(row.record.substr(0, 2));
  for (const auto& [kind, rows] : plan.rows) {
    for (const ImportRow& row : rows) {
      const std::string key = row.record.substr(0, kind->keyLength);
      const int16_t status = data.ReadEqual(*kind, key);
      if (status == 0)
        plan.errors.push_back(row.place + ": " + DescribeKey(*kind, row.record) + " is already in the file");
      else if (status != 4)
        plan.errors.push_back(row.place + ": the look-up failed with status " + std::to_string(status));
      if (kind != &MovementKind()) continue;
      const std::string property = row.record.substr(0, 2);
      if (!newProperties.count(property) && data.ReadEqual(PropertyKind(), property) != 0)
        plan.errors.push_back(row.place + ": field property: " + DescribeKey(PropertyKind(), row.record) +
                              " does not exist");
    }
  }
}

// Inserts every planned record in the order of the kinds; when one cannot be
// stored, the ones inserted before it are deleted again.
bool InsertAll(DataRoot& data, const ImportPlan& plan, std::ostream& out, std::ostream& err) {
  std::vector<std::pair<const RecordKind*, std::string>> done;
  for (const RecordKind& kind : RecordKinds()) {
    const auto found = plan.rows.find(&kind);
    if (found == plan.rows.end()) continue;
    for (const ImportRow& row : found->second) {
      const int16_t status = data.Insert(kind, row.record);
      if (status == 0) {
        done.emplace_back(&kind, row.record.substr(0, kind.keyLength));
        continue;
      }
      err << row.place << ": could not be stored (status " << status << ")" << std::endl;
      bool undone = true;
      for (auto it = done.rbegin(); it != done.rend(); ++it) undone = data.Delete(*it->first, it->second) == 0 && undone;
      err << (undone ? "nothing was imported" : "the records imported before it could not all be removed again")
          << std::endl;
      return false;
    }
    out << kind.name << ": " << found->second.size() << " imported" << std::endl;
  }
  return true;
}

}  // namespace

int ImportCommand(const std::string& root, const std::vector<std::string>& files, std::ostream& out,
                  std::ostream& err) {
  ImportPlan plan;
  std::map<std::string, std::string> keysSeen;
  for (const std::string& file : files) PlanFile(file, plan, keysSeen);
  DataRoot data(root, err);
  if (!data.Valid()) plan.errors.push_back(root + ": no such directory");
  if (plan.errors.empty()) {
    for (const RecordKind& kind : RecordKinds()) {
      if (!data.Open(kind, plan.rows.count(&kind) > 0)) return 1;
      if (plan.rows.count(&kind)) data.LockWholeFile(kind);
    }
    CheckAgainstFiles(data, plan);
  }
  for (const std::string& error : plan.errors) err << error << std::endl;
  if (!plan.errors.empty()) {
    err << "nothing was imported" << std::endl;
    return 1;
  }
  return InsertAll(data, plan, out, err) ? 0 : 1;
}

}  // namespace olm::datatool
