#include "records.h"

#include <algorithm>
#include <cstdlib>

#include "platform/codepage.h"
#include "text/dates.h"
#include "text/packed_digits.h"

namespace olm::datatool {
namespace {

using T = FieldType;

bool IsPacked(const std::string& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) >= 128 && uint8_t(c) <= 227; });
}

bool IsDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

int64_t LittleEndian(const std::string& bytes) {
  uint32_t value = 0;
  for (size_t i = bytes.size(); i-- > 0;) value = (value << 8) | uint8_t(bytes[i]);
  return bytes.size() == 2 ? int64_t(int16_t(value)) : int64_t(int32_t(value));
}

std::string LittleEndianBytes(int64_t value, size_t width) {
  std::string bytes(width, '\0');
  for (size_t i = 0; i < width; ++i) bytes[i] = char(uint64_t(value) >> (8 * i));
  return bytes;
}

// Hundredths as a decimal text with two decimals: -550 is "-5.50".
std::string FormatHundredths(int64_t value) {
  const int64_t magnitude = value < 0 ? -value : value;
  std::string cents = std::to_string(magnitude % 100);
  if (cents.size() < 2) cents = "0" + cents;
  return (value < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + cents;
}

// Reads "116", "116.5", "-5.50": a sign, digits, and at most two decimals.
std::optional<int64_t> ParseHundredths(const std::string& text) {
  size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) pos = 1;
  const size_t dot = text.find('.', pos);
  const std::string whole = text.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos);
  std::string decimals = dot == std::string::npos ? "" : text.substr(dot + 1);
  if (!IsDigits(whole) || whole.size() > 12) return std::nullopt;
  if (dot != std::string::npos && (decimals.empty() || decimals.size() > 2 || !IsDigits(decimals)))
    return std::nullopt;
  while (decimals.size() < 2) decimals += '0';
  const int64_t value = std::stoll(whole) * 100 + std::stoll(decimals);
  return negative ? -value : value;
}

bool IsRealDate(int year, int month, int day) {
  return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(month, IsLeapYear(year));
}

std::optional<std::string> DecodeText(const std::string& bytes, FieldError& error) {
  if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 32; })) {
    error.reason = "holds a control character";
    return std::nullopt;
  }
  const size_t end = bytes.find_last_not_of(' ');
  return platform::Cp850ToUtf8(end == std::string::npos ? "" : bytes.substr(0, end + 1));
}

// UTF-8 to the code page, refusing what the code page cannot hold instead
// of storing a replacement character.
std::optional<std::string> EncodeText(const std::string& text, size_t width, FieldError& error) {
  std::string bytes;
  for (size_t pos = 0; pos < text.size();) {
    const std::optional<char32_t> character = platform::DecodeUtf8(text, pos);
    if (!character) {
      error.reason = "is not valid UTF-8";
      return std::nullopt;
    }
    const std::optional<uint8_t> byte = platform::UnicodeToCp850(*character);
    if (!byte || *byte < 32) {
      error.reason = *character < 32 ? "holds a control character" : "holds a character that cannot be stored";
      return std::nullopt;
    }
    bytes += char(*byte);
  }
  if (bytes.size() > width) {
    error.reason = "is longer than " + std::to_string(width) + " characters";
    return std::nullopt;
  }
  return bytes + std::string(width - bytes.size(), ' ');
}

std::optional<std::string> DecodeField(const FieldLayout& layout, const std::string& bytes, FieldError& error) {
  switch (layout.type) {
    case T::Text:
      return DecodeText(bytes, error);
    case T::Code:
      if (IsPacked(bytes)) return WithoutLeadingZeros(UnpackDigits(bytes));
      if (IsDigits(bytes)) {
        error.reason = "is a text of digits, which would read back as a number";
        return std::nullopt;
      }
      return DecodeText(bytes, error);
    case T::PackedNumber:
      if (!IsPacked(bytes)) break;
      return WithoutLeadingZeros(UnpackDigits(bytes));
    case T::Date: {
      if (!IsPacked(bytes)) break;
      const CalendarDate date = UnpackDate(bytes);
      if (!IsRealDate(date.year, date.month, date.day)) {
        error.reason = "is not a real date (" + UnpackDigits(bytes) + ")";
        return std::nullopt;
      }
      const std::string digits = UnpackDigits(bytes);
      return digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2);
    }
    case T::Money:
    case T::Rate:
      return FormatHundredths(LittleEndian(bytes));
  }
  error.reason = "is not packed digits";
  return std::nullopt;
}

std::optional<std::string> EncodeDate(const std::string& text, FieldError& error) {
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' && IsDigits(text.substr(0, 4)) &&
                      IsDigits(text.substr(5, 2)) && IsDigits(text.substr(8, 2));
  if (!shaped) {
    error.reason = "is not a date written as YYYY-MM-DD";
    return std::nullopt;
  }
  if (!IsRealDate(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)), std::stoi(text.substr(8, 2)))) {
    error.reason = "is not a real date";
    return std::nullopt;
  }
  return PackDigits(text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2));
}

std::optional<std::string> EncodeNumber(const std::string& text, size_t width, FieldError& error) {
  if (!IsDigits(text) || text.size() > 2 * width) {
    error.reason = "is not a whole number of at most " + std::to_string(2 * width) + " digits";
    return std::nullopt;
  }
  return PackDigits(std::string(2 * width - text.size(), '0') + text);
}

std::optional<std::string> EncodeField(const FieldLayout& layout, const std::string& text, FieldError& error) {
  switch (layout.type) {
    case T::Text:
      return EncodeText(text, layout.width, error);
    case T::Code:
      return IsDigits(text) ? EncodeNumber(text, layout.width, error) : EncodeText(text, layout.width, error);
    case T::PackedNumber:
      return EncodeNumber(text, layout.width, error);
    case T::Date:
      return EncodeDate(text, error);
    case T::Money:
    case T::Rate: {
      const std::optional<int64_t> value = ParseHundredths(text);
      const int64_t limit = layout.type == T::Rate ? 32767 : 2147483647;
      if (!value || *value > limit || *value < -limit - 1) {
        error.reason = value ? "is out of range" : "is not an amount such as 116.00";
        return std::nullopt;
      }
      return LittleEndianBytes(*value, layout.width);
    }
  }
  return std::nullopt;
}

}  // namespace

const std::vector<RecordKind>& RecordKinds() {
  static const std::vector<RecordKind> kinds = {
      {"expense-types", "TDespesa", 501, 28, 2, {{"code", 0, 2, T::Text}, {"description", 2, 25, T::Text}}},
      {"linked-records", "PropietV", 505, 324, 2,
       {{"code", 0, 2, T::Code}, {"name", 2, 30, T::Text}, {"document_counter", 180, 4, T::PackedNumber}}},
      {"properties", "FinquesV", 506, 204, 2,
       {{"property", 0, 2, T::PackedNumber},
        {"linked_code", 6, 2, T::Code},
        {"name", 8, 30, T::Text},
        {"kind", 141, 1, T::Text}}},
      {"movements", "PagamV", 510, 52, 8,
       {{"property", 0, 2, T::PackedNumber},
        {"date", 2, 4, T::Date},
        {"order", 6, 2, T::PackedNumber},
        {"expense_type", 8, 2, T::Text},
        {"comment", 10, 25, T::Text},
        {"amount", 35, 4, T::Money},
        {"document", 39, 4, T::PackedNumber},
        {"tax_rate", 43, 2, T::Rate},
        {"tax_amount", 45, 4, T::Money},
        {"status1", 49, 1, T::Text},
        {"status2", 50, 1, T::Text}}},
  };
  return kinds;
}

const RecordKind& PropertyKind() { return RecordKinds()[2]; }
const RecordKind& MovementKind() { return RecordKinds()[3]; }

const RecordKind* KindOfHeader(const std::vector<std::string>& header) {
  for (const RecordKind& kind : RecordKinds()) {
    if (header.size() != kind.fields.size()) continue;
    bool same = true;
    for (size_t i = 0; i < header.size(); ++i) same = same && header[i] == kind.fields[i].name;
    if (same) return &kind;
  }
  return nullptr;
}

std::vector<std::string> DecodeRecord(const RecordKind& kind, const std::string& record,
                                      std::optional<FieldError>& error) {
  std::vector<std::string> fields;
  for (const FieldLayout& layout : kind.fields) {
    FieldError fieldError{layout.name, ""};
    std::optional<std::string> text;
    if (layout.offset + layout.width <= record.size()) text = DecodeField(layout, record.substr(layout.offset, layout.width), fieldError);
    else fieldError.reason = "lies beyond the end of the record";
    if (!text) {
      error = fieldError;
      return {};
    }
    fields.push_back(*text);
  }
  return fields;
}

std::string EncodeRecord(const RecordKind& kind, const std::vector<std::string>& fields,
                         std::optional<FieldError>& error) {
  if (fields.size() != kind.fields.size()) {
    error = FieldError{"", "has " + std::to_string(fields.size()) + " fields instead of " +
                               std::to_string(kind.fields.size())};
    return {};
  }
  std::string record(kind.recordLength, '\0');
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldLayout& layout = kind.fields[i];
    FieldError fieldError{layout.name, ""};
    std::optional<std::string> bytes;
    if (layout.offset < kind.keyLength && fields[i].empty()) fieldError.reason = "is empty but is part of the key";
    else bytes = EncodeField(layout, fields[i], fieldError);
    if (!bytes) {
      error = fieldError;
      return {};
    }
    record.replace(layout.offset, layout.width, *bytes);
  }
  return record;
}

std::string DescribeKey(const RecordKind& kind, const std::string& record) {
  std::string text;
  for (const FieldLayout& layout : kind.fields) {
    if (layout.offset >= kind.keyLength) break;
    FieldError error;
    const std::string bytes = record.substr(layout.offset, layout.width);
    std::optional<std::string> value = DecodeField(layout, bytes, error);
    if (!value) {
      static const char kHex[] = "0123456789abcdef";
      value = "x";
      for (char c : bytes) *value += std::string{kHex[uint8_t(c) >> 4], kHex[uint8_t(c) & 15]};
    }
    text += (text.empty() ? "" : ", ") + layout.name + " " + *value;
  }
  return text;
}

}  // namespace olm::datatool
