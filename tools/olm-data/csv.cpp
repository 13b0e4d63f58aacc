#include "csv.h"

namespace olm::datatool {
namespace {

bool NeedsQuotes(const std::string& field) {
  if (field.find_first_of(",\"\r\n") != std::string::npos) return true;
  return !field.empty() && (field.front() == ' ' || field.back() == ' ');
}

}  // namespace

// A small state machine over the bytes: inside quotes everything but a quote
// is data; outside, a comma ends the field and CR LF or LF ends the row. A
// blank last line is not a row.
std::vector<CsvRow> ParseCsv(const std::string& text, std::string& error) {
  std::vector<CsvRow> rows;
  CsvRow row;
  std::string field;
  bool quoted = false, rowStarted = false;
  int line = 1, quoteLine = 0;
  row.line = 1;
  auto endRow = [&] {
    row.fields.push_back(field);
    rows.push_back(row);
    row = CsvRow{};
    field.clear();
    rowStarted = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!rowStarted) {
      row.line = line;
      rowStarted = true;
    }
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
      quoteLine = line;
    } else if (c == ',') {
      row.fields.push_back(field);
      field.clear();
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      endRow();
      ++line;
    } else {
      field += c;
    }
  }
  if (quoted) {
    error = "line " + std::to_string(quoteLine) + ": a quoted field is not closed";
    return {};
  }
  if (rowStarted) endRow();
  return rows;
}

std::string FormatCsvRow(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    if (!NeedsQuotes(fields[i])) {
      out += fields[i];
      continue;
    }
    out += '"';
    for (char c : fields[i]) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out + "\r\n";
}

}  // namespace olm::datatool
