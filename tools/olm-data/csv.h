#pragma once
// Comma-separated values as spreadsheets read and write them: fields quoted
// with double quotes when they hold a comma, a quote, a line break or
// surrounding blanks, quotes doubled inside, rows ended by CR LF (LF alone is
// accepted on reading).

#include <string>
#include <vector>

namespace olm::datatool {

struct CsvRow {
  int line = 0;  // line of the file where the row starts, from 1
  std::vector<std::string> fields;
};

// Splits `text` into rows. A quote left open at the end of the text is an
// error: `error` names its line and the result is empty.
std::vector<CsvRow> ParseCsv(const std::string& text, std::string& error);

// One row, CR LF included.
std::string FormatCsvRow(const std::vector<std::string>& fields);

}  // namespace olm::datatool
