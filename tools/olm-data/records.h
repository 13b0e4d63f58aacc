#pragma once
// The four record kinds of the application's data files as the data tool
// sees them: which file holds them, and each field the program uses with its
// place in the record and its form in a CSV file. Bytes of a record that no
// field names are not carried to CSV; a record built from CSV has them NUL.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace olm::datatool {

enum class FieldType {
  Text,          // code page 850 text, blank padded; UTF-8 without trailing blanks in CSV
  PackedNumber,  // packed digits; a whole number without leading zeros in CSV
  Code,          // packed digits like PackedNumber, or else two characters of text
  Date,          // packed year, month, day; an ISO date in CSV
  Money,         // 32-bit hundredths; "116.00" in CSV
  Rate,          // 16-bit hundredths of a percent; "16.00" in CSV
};

struct FieldLayout {
  std::string name;  // the CSV column
  size_t offset;
  size_t width;
  FieldType type;
};

struct RecordKind {
  std::string name;      // "movements", also the exported file's base name
  std::string baseName;  // the data file and its lock file: "PagamV"
  int16_t fileId;
  size_t recordLength;
  size_t keyLength;  // key 0: the record's first keyLength bytes
  std::vector<FieldLayout> fields;
};

// The four kinds in the order in which records of one refer to another:
// expense types, linked records, properties, movements.
const std::vector<RecordKind>& RecordKinds();
const RecordKind& MovementKind();
const RecordKind& PropertyKind();

// The kind whose CSV header row is `header`, or none.
const RecordKind* KindOfHeader(const std::vector<std::string>& header);

// What went wrong with one field.
struct FieldError {
  std::string field;
  std::string reason;
};

// The CSV fields of a record, or the first field that does not decode.
std::vector<std::string> DecodeRecord(const RecordKind& kind, const std::string& record,
                                      std::optional<FieldError>& error);

// The record a CSV row describes, or the first field that cannot be stored.
std::string EncodeRecord(const RecordKind& kind, const std::vector<std::string>& fields,
                         std::optional<FieldError>& error);

// The key fields of a record for messages: "property 12, date 2024-01-31,
// order 1"; a field that does not decode shows its bytes in hexadecimal.
std::string DescribeKey(const RecordKind& kind, const std::string& record);

}  // namespace olm::datatool
