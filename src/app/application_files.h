#pragma once
// The application's four data files, the numbers it opens them under, and
// the process-wide record buffers through which every read and write passes.

#include <cstdint>
#include <string>

#include "app/record_buffer.h"

namespace olm {

constexpr int16_t kExpenseTypeFile = 501;
constexpr int16_t kLinkedFile = 505;
constexpr int16_t kPropertyFile = 506;
constexpr int16_t kMovementFile = 510;

// Expense types: a 2-character code (key 0) and a description.
struct ExpenseTypeBuffer : RecordBuffer<28> {
  std::string Code() const { return Bytes(0, 2); }
  void SetCode(const std::string& code) { SetBytes(0, 2, code); }
  std::string Description() const { return Bytes(2, 25); }
  void SetDescription(const std::string& text) { SetBytes(2, 25, text); }
};

// Records linked from a property: a 2-byte code (key 0), a name, and the
// counter of the document numbers given to new movements.
struct LinkedBuffer : RecordBuffer<324> {
  std::string Code() const { return Bytes(0, 2); }
  std::string Name() const { return Bytes(2, 30); }
  void SetName(const std::string& text) { SetBytes(2, 30, text); }
  std::string DocumentCounter() const { return Bytes(180, 4); }
  void SetDocumentCounter(const std::string& packed) { SetBytes(180, 4, packed); }
};

// Properties: the code as 4 packed digits (key 0), the code of the linked
// record, a name and a kind.
struct PropertyBuffer : RecordBuffer<204> {
  std::string Code() const { return Bytes(0, 2); }
  void SetCode(const std::string& packed) { SetBytes(0, 2, packed, '\0'); }
  std::string LinkCode() const { return Bytes(6, 2); }
  std::string Name() const { return Bytes(8, 30); }
  char Kind() const { return Bytes(141, 1)[0]; }
};

// Expense movements. Key 0 is the property code, the packed date and the
// packed order number, 8 bytes in this order.
struct MovementBuffer : RecordBuffer<52> {
  std::string PropertyCode() const { return Bytes(0, 2); }
  std::string Date() const { return Bytes(2, 4); }
  std::string OrderNumber() const { return Bytes(6, 2); }
  std::string Key() const { return Bytes(0, 8); }
  void SetKey(const std::string& property, const std::string& date, const std::string& order) {
    SetBytes(0, 2, property, '\0');
    SetBytes(2, 4, date, '\0');
    SetBytes(6, 2, order, '\0');
  }
  std::string ExpenseType() const { return Bytes(8, 2); }
  void SetExpenseType(const std::string& text) { SetBytes(8, 2, text); }
  std::string Comment() const { return Bytes(10, 25); }
  void SetComment(const std::string& text) { SetBytes(10, 25, text); }
  int32_t Amount() const { return Int32(35); }
  void SetAmount(int32_t value) { SetInt32(35, value); }
  std::string DocumentNumber() const { return Bytes(39, 4); }
  void SetDocumentNumber(const std::string& packed) { SetBytes(39, 4, packed, '\0'); }
  int16_t TaxRate() const { return Int16(43); }
  void SetTaxRate(int16_t value) { SetInt16(43, value); }
  int32_t TaxAmount() const { return Int32(45); }
  void SetTaxAmount(int32_t value) { SetInt32(45, value); }
  std::string FirstStatus() const { return Bytes(49, 1); }
  std::string SecondStatus() const { return Bytes(50, 1); }
  void SetStatuses(const std::string& first, const std::string& second) {
    SetBytes(49, 1, first);
    SetBytes(50, 1, second);
  }
};

ExpenseTypeBuffer& ExpenseTypeRecord();
LinkedBuffer& LinkedRecord();
PropertyBuffer& PropertyRecord();
MovementBuffer& MovementRecord();

// Opens the four files in the order 501, 505, 506, 510 under RootDir. A file
// that cannot be opened ends the program inside the data layer.
void OpenApplicationFiles();

// Closes every data file of the process.
void CloseApplicationFiles();

// Zero-fills the four record buffers, as at start.
void ResetApplicationRecords();

}  // namespace olm
