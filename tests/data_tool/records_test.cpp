#include <gtest/gtest.h>

#include "records.h"

namespace olm::datatool {
namespace {

const std::vector<std::string> kMovement = {"101", "2024-01-31", "1", "AI", "Rebut de l'aigua", "121.00",
                                            "7", "21.00", "21.00", "P", "P"};

size_t Column(const RecordKind& kind, const std::string& name) {
  for (size_t i = 0; i < kind.fields.size(); ++i)
    if (kind.fields[i].name == name) return i;
  ADD_FAILURE() << name;
  return 0;
}

std::vector<std::string> WithField(const std::string& column, const std::string& value) {
  std::vector<std::string> fields = kMovement;
  fields[Column(MovementKind(), column)] = value;
  return fields;
}

TEST(RecordsTest, MovementIsStoredInTheProgramsLayout) {
  std::optional<FieldError> error;
  const std::string record = EncodeRecord(MovementKind(), kMovement, error);
  ASSERT_FALSE(error);
  ASSERT_EQ(record.size(), 52u);
  EXPECT_EQ(record.substr(0, 8), std::string("\x81\x81\x94\x98\x81\x9F\x80\x81", 8));  // 0101 20240131 0001
  EXPECT_EQ(record.substr(8, 2), "AI");
  EXPECT_EQ(record.substr(10, 25), "Rebut de l'aigua         ");
  EXPECT_EQ(record.substr(35, 4), std::string("\x44\x2F\x00\x00", 4));  // 12100
  EXPECT_EQ(record.substr(39, 4), std::string("\x80\x80\x80\x87", 4));
  EXPECT_EQ(record.substr(43, 2), std::string("\x34\x08", 2));  // 2100
  EXPECT_EQ(record.substr(49, 3), std::string("PP\0", 3));
  EXPECT_EQ(DecodeRecord(MovementKind(), record, error), kMovement);
}

TEST(RecordsTest, SpreadsheetFormsOfNumbersAreRead) {
  struct Case {
    std::string column, typed, exported;
  } cases[] = {
      {"amount", "116", "116.00"},   {"amount", "116.5", "116.50"}, {"amount", "-0.05", "-0.05"},
      {"amount", "+3", "3.00"},      {"tax_rate", "16", "16.00"},   {"property", "0012", "12"},
      {"order", "0001", "1"},        {"document", "0", "0"},        {"comment", "Reparació ·€", "Reparació ·€"},
  };
  for (const Case& c : cases) {
    std::optional<FieldError> error;
    const std::string record = EncodeRecord(MovementKind(), WithField(c.column, c.typed), error);
    ASSERT_FALSE(error) << c.typed << ": " << error->reason;
    EXPECT_EQ(DecodeRecord(MovementKind(), record, error)[Column(MovementKind(), c.column)], c.exported);
  }
}

TEST(RecordsTest, FieldsThatCannotBeStoredNameTheirReason) {
  struct Case {
    std::string column, value, reason;
  } cases[] = {
      {"date", "31/01/2024", "is not a date written as YYYY-MM-DD"},
      {"date", "2023-02-29", "is not a real date"},
      {"amount", "1.005", "is not an amount such as 116.00"},
      {"amount", "1,5", "is not an amount such as 116.00"},
      {"amount", "21474836.48", "is out of range"},
      {"tax_rate", "327.68", "is out of range"},
      {"property", "12345", "is not a whole number of at most 4 digits"},
      {"order", "", "is empty but is part of the key"},
      {"comment", std::string(26, 'x'), "is longer than 25 characters"},
      {"comment", "日本", "holds a character that cannot be stored"},
      {"comment", "a\tb", "holds a control character"},
      {"comment", "\xC3", "is not valid UTF-8"},
  };
  for (const Case& c : cases) {
    std::optional<FieldError> error;
    EncodeRecord(MovementKind(), WithField(c.column, c.value), error);
    ASSERT_TRUE(error) << c.value;
    EXPECT_EQ(error->field, c.column);
    EXPECT_EQ(error->reason, c.reason) << c.value;
  }
}

TEST(RecordsTest, DamagedBytesDoNotDecode) {
  std::optional<FieldError> error;
  const std::string good = EncodeRecord(MovementKind(), kMovement, error);
  struct Case {
    size_t offset;
    std::string bytes, field, reason;
  } cases[] = {
      {2, "  ", "date", "is not packed digits"},
      {2, std::string("\x94\x97\x82\x9E", 4), "date", "is not a real date (20230230)"},
      {6, std::string("\xE4", 1), "order", "is not packed digits"},
      {12, std::string("\0", 1), "comment", "holds a control character"},
  };
  for (const Case& c : cases) {
    std::string record = good;
    record.replace(c.offset, c.bytes.size(), c.bytes);
    error.reset();
    EXPECT_TRUE(DecodeRecord(MovementKind(), record, error).empty());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, c.field);
    EXPECT_EQ(error->reason, c.reason);
  }
}

TEST(RecordsTest, LinkedCodesArePackedDigitsOrText) {
  const RecordKind& linked = RecordKinds()[1];
  std::optional<FieldError> error;
  EXPECT_EQ(EncodeRecord(linked, {"7", "x", "0"}, error).substr(0, 2), "\x80\x87");
  EXPECT_EQ(EncodeRecord(linked, {"AB", "x", "0"}, error).substr(0, 2), "AB");
  std::string digitsAsText = EncodeRecord(linked, {"AB", "x", "0"}, error);
  digitsAsText.replace(0, 2, "12");
  EXPECT_TRUE(DecodeRecord(linked, digitsAsText, error).empty());
  EXPECT_EQ(error->reason, "is a text of digits, which would read back as a number");
}

TEST(RecordsTest, HeaderRowsNameTheirKind) {
  EXPECT_EQ(KindOfHeader({"code", "description"}), &RecordKinds()[0]);
  EXPECT_EQ(KindOfHeader({"property", "linked_code", "name", "kind"}), &PropertyKind());
  EXPECT_EQ(KindOfHeader({"code", "descripcio"}), nullptr);
}

}  // namespace
}  // namespace olm::datatool
