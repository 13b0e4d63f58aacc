#pragma once
// The SQLite database behind one open file: the file's description, a table
// of records (row id = position, never 0) and one indexed column per key
// holding the key's sort form. Statements are prepared once per open and
// reset after every use, so no read transaction outlives a call and each
// call sees every write committed before it began.

#include <cstdint>
#include <string>
#include <vector>

#include "recman/file_spec.h"

struct sqlite3;
struct sqlite3_stmt;

namespace olm::recman {

struct Row {
  int64_t id = 0;
  std::string data;
  std::string sortKey;  // of the key the row was looked up by
};

// Where to look for a row along a key, relative to a sort key (and row id
// for the two "same key" steps between duplicates).
enum class Seek { Equal, GreaterOrEqual, Greater, LessOrEqual, Less, First, Last, NextSame, PreviousSame, ById };
constexpr int kSeekKinds = 10;

class Store {
 public:
  Store() = default;
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;
  ~Store();

  // Writes a new, complete database for `spec` at the host path `hostPath`
  // (which must not exist yet). Returns a status.
  static int16_t CreateDatabase(const std::string& hostPath, const FileSpec& spec);

  // Opens an existing database and reads its description. Returns a status.
  int16_t Open(const std::string& hostPath, FileSpec& spec);

  // Looks for one row along `key`. kSuccess and the row, kKeyNotFound when
  // there is none, or the status of a storage failure.
  int16_t Find(Seek seek, int key, const std::string& sortKey, int64_t id, Row& row);

  // One transaction each, durable on return.
  int16_t Insert(const std::string& data, const std::vector<std::string>& sortKeys, int64_t& id);
  // kInvalidRecordAddress when the row is gone.
  int16_t Update(int64_t id, const std::string& data, const std::vector<std::string>& sortKeys);
  int16_t Delete(int64_t id);

 private:
  sqlite3_stmt* Statement(Seek seek, int key);
  sqlite3_stmt* Prepare(const std::string& sql);

  sqlite3* db_ = nullptr;
  const FileSpec* spec_ = nullptr;
  std::vector<sqlite3_stmt*> seeks_;  // kSeekKinds per key, prepared on first use
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* update_ = nullptr;
  sqlite3_stmt* delete_ = nullptr;
};

}  // namespace olm::recman
