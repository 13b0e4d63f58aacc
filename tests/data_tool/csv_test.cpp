#include <gtest/gtest.h>

#include "csv.h"

namespace olm::datatool {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const std::vector<CsvRow>& rows) {
  Rows fields;
  for (const CsvRow& row : rows) fields.push_back(row.fields);
  return fields;
}

TEST(CsvTest, ParsesQuotedFieldsAndBothLineEnds) {
  struct Case {
    std::string text;
    Rows rows;
  } cases[] = {
      {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
      {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
      {"\"x, y\",\"say \"\"hi\"\"\"\r\n", {{"x, y", "say \"hi\""}}},
      {"\"two\r\nlines\",z\r\n", {{"two\r\nlines", "z"}}},
      {"a,,\r\n", {{"a", "", ""}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(FieldsOf(ParseCsv(c.text, error)), c.rows) << c.text;
    EXPECT_EQ(error, "");
  }
}

TEST(CsvTest, RowsKnowTheLineTheyStartOn) {
  std::string error;
  const std::vector<CsvRow> rows = ParseCsv("h\r\n\"a\nb\"\r\nc\r\n", error);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].line, 2);
  EXPECT_EQ(rows[2].line, 4);
}

TEST(CsvTest, AQuoteLeftOpenIsAnErrorNamingItsLine) {
  std::string error;
  EXPECT_TRUE(ParseCsv("a\r\n\"b,c\r\nd\r\n", error).empty());
  EXPECT_EQ(error, "line 2: a quoted field is not closed");
}

TEST(CsvTest, FormattedRowsReadBackUnchanged) {
  const std::vector<std::string> fields = {"plain", "a,b", "q\"q", " lead", "", "l\r\nf"};
  const std::string row = FormatCsvRow(fields);
  EXPECT_EQ(row, "plain,\"a,b\",\"q\"\"q\",\" lead\",,\"l\r\nf\"\r\n");
  std::string error;
  EXPECT_EQ(FieldsOf(ParseCsv(row, error)), Rows{fields});
}

}  // namespace
}  // namespace olm::datatool
