#include "recman/store.h"

#include <sqlite3.h>

#include "recman/record_manager.h"

namespace olm::recman {
namespace {

// Marks our databases; a file without it is not one of ours.
constexpr int kApplicationId = 0x4F4C4D31;
// How long a connection waits for another process's write to finish before
// the call answers "file in use".
constexpr int kBusyTimeoutMs = 1000;

int16_t StatusOf(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW: return kSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kFileInUse;
    case SQLITE_CONSTRAINT: return kDuplicateKey;
    default: return kIoError;
  }
}

// Resets a statement when the call that used it ends, whatever its result.
class ResetOnExit {
 public:
  explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
  ~ResetOnExit() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }

 private:
  sqlite3_stmt* statement_;
};

std::string Column(int key) {
  std::string column = "k";
  column += std::to_string(key);
  return column;
}

std::string SeekSql(Seek seek, int key) {
  const std::string c = Column(key);
  const std::string select = "SELECT id, data, " + c + " FROM records ";
  const std::string up = " ORDER BY " + c + ", id LIMIT 1";
  const std::string down = " ORDER BY " + c + " DESC, id DESC LIMIT 1";
  switch (seek) {
    case Seek::Equal: return select + "WHERE " + c + " = ?1" + up;
    case Seek::GreaterOrEqual: return select + "WHERE " + c + " >= ?1" + up;
    case Seek::Greater: return select + "WHERE " + c + " > ?1" + up;
    case Seek::LessOrEqual: return select + "WHERE " + c + " <= ?1" + down;
    case Seek::Less: return select + "WHERE " + c + " < ?1" + down;
    case Seek::First: return select + up;
    case Seek::Last: return select + down;
    case Seek::NextSame: return select + "WHERE " + c + " = ?1 AND id > ?2 ORDER BY id LIMIT 1";
    case Seek::PreviousSame: return select + "WHERE " + c + " = ?1 AND id < ?2 ORDER BY id DESC LIMIT 1";
    case Seek::ById: return select + "WHERE id = ?2";
  }
  return {};
}

int Exec(sqlite3* db, const std::string& sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

std::string SchemaSql(const FileSpec& spec) {
  std::string sql = "CREATE TABLE file_spec(id INTEGER PRIMARY KEY CHECK (id = 1), buffer BLOB NOT NULL);"
                    "CREATE TABLE records(id INTEGER PRIMARY KEY, data BLOB NOT NULL";
  for (size_t k = 0; k < spec.keys.size(); ++k) sql += ", " + Column(int(k)) + " BLOB NOT NULL";
  sql += ");";
  for (size_t k = 0; k < spec.keys.size(); ++k) {
    sql += spec.keys[k].duplicates ? "CREATE INDEX " : "CREATE UNIQUE INDEX ";
    sql += "key" + std::to_string(k) + " ON records(" + Column(int(k)) + ");";
  }
  return sql;
}

void BindBlob(sqlite3_stmt* statement, int index, const std::string& bytes) {
  sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

std::string BlobColumn(sqlite3_stmt* statement, int column) {
  const void* bytes = sqlite3_column_blob(statement, column);
  return bytes ? std::string(static_cast<const char*>(bytes), sqlite3_column_bytes(statement, column)) : std::string();
}

}  // namespace

Store::~Store() {
  for (sqlite3_stmt* statement : seeks_) sqlite3_finalize(statement);
  sqlite3_finalize(insert_);
  sqlite3_finalize(update_);
  sqlite3_finalize(delete_);
  if (db_) sqlite3_close(db_);
}

int16_t Store::CreateDatabase(const std::string& hostPath, const FileSpec& spec) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    rc = Exec(db, "PRAGMA application_id = " + std::to_string(kApplicationId) + "; BEGIN; " + SchemaSql(spec));
  }
  if (rc == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v2(db, "INSERT INTO file_spec(id, buffer) VALUES (1, ?1)", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
      BindBlob(statement, 1, spec.buffer);
      rc = sqlite3_step(statement) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
    }
    sqlite3_finalize(statement);
  }
  if (rc == SQLITE_OK) rc = Exec(db, "COMMIT; PRAGMA journal_mode = WAL;");
  sqlite3_close(db);
  return rc == SQLITE_OK ? kSuccess : kIoError;
}

int16_t Store::Open(const std::string& hostPath, FileSpec& spec) {
  int rc = sqlite3_open_v2(hostPath.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) return kIoError;
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // FULL makes every commit durable when the call returns, in WAL mode too.
  if (Exec(db_, "PRAGMA synchronous = FULL") != SQLITE_OK) return StatusOf(sqlite3_errcode(db_));
  sqlite3_stmt* statement = nullptr;
  rc = sqlite3_prepare_v2(db_, "PRAGMA application_id", -1, &statement, nullptr);
  if (rc != SQLITE_OK) {
    int16_t status = StatusOf(rc);
    return status == kFileInUse ? status : kIoError;
  }
  rc = sqlite3_step(statement);
  bool ours = rc == SQLITE_ROW && sqlite3_column_int(statement, 0) == kApplicationId;
  sqlite3_finalize(statement);
  if (rc != SQLITE_ROW) return StatusOf(rc) == kFileInUse ? kFileInUse : kIoError;
  if (!ours) return kIoError;
  rc = sqlite3_prepare_v2(db_, "SELECT buffer FROM file_spec WHERE id = 1", -1, &statement, nullptr);
  if (rc != SQLITE_OK) return StatusOf(rc) == kFileInUse ? kFileInUse : kIoError;
  rc = sqlite3_step(statement);
  std::string buffer = rc == SQLITE_ROW ? BlobColumn(statement, 0) : std::string();
  sqlite3_finalize(statement);
  if (rc != SQLITE_ROW) return StatusOf(rc) == kFileInUse ? kFileInUse : kIoError;
  if (!ParseFileSpec(reinterpret_cast<const uint8_t*>(buffer.data()), buffer.size(), spec)) return kIoError;
  spec_ = &spec;
  seeks_.assign(spec.keys.size() * kSeekKinds, nullptr);
  return kSuccess;
}

sqlite3_stmt* Store::Prepare(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return statement;
}

sqlite3_stmt* Store::Statement(Seek seek, int key) {
  sqlite3_stmt*& statement = seeks_[static_cast<size_t>(key) * kSeekKinds + static_cast<size_t>(seek)];
  if (!statement) statement = Prepare(SeekSql(seek, key));
  return statement;
}

int16_t Store::Find(Seek seek, int key, const std::string& sortKey, int64_t id, Row& row) {
  sqlite3_stmt* statement = Statement(seek, key);
  if (!statement) return StatusOf(sqlite3_errcode(db_));
  ResetOnExit reset(statement);
  if (seek != Seek::First && seek != Seek::Last && seek != Seek::ById) BindBlob(statement, 1, sortKey);
  if (seek == Seek::NextSame || seek == Seek::PreviousSame || seek == Seek::ById)
    sqlite3_bind_int64(statement, 2, id);
  int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return kKeyNotFound;
  if (rc != SQLITE_ROW) return StatusOf(rc);
  row.id = sqlite3_column_int64(statement, 0);
  row.data = BlobColumn(statement, 1);
  row.sortKey = BlobColumn(statement, 2);
  return kSuccess;
}

int16_t Store::Insert(const std::string& data, const std::vector<std::string>& sortKeys, int64_t& id) {
  if (!insert_) {
    std::string columns = "data", values = "?1";
    for (size_t k = 0; k < sortKeys.size(); ++k) {
      columns += ", " + Column(int(k));
      values += ", ?" + std::to_string(k + 2);
    }
    insert_ = Prepare("INSERT INTO records(" + columns + ") VALUES (" + values + ")");
    if (!insert_) return StatusOf(sqlite3_errcode(db_));
  }
  ResetOnExit reset(insert_);
  BindBlob(insert_, 1, data);
  for (size_t k = 0; k < sortKeys.size(); ++k) BindBlob(insert_, int(k) + 2, sortKeys[k]);
  int rc = sqlite3_step(insert_);
  if (rc != SQLITE_DONE) return StatusOf(rc);
  id = sqlite3_last_insert_rowid(db_);
  return kSuccess;
}

int16_t Store::Update(int64_t id, const std::string& data, const std::vector<std::string>& sortKeys) {
  if (!update_) {
    std::string sets = "data = ?1";
    for (size_t k = 0; k < sortKeys.size(); ++k) sets += ", " + Column(int(k)) + " = ?" + std::to_string(k + 2);
    update_ = Prepare("UPDATE records SET " + sets + " WHERE id = ?" + std::to_string(sortKeys.size() + 2));
    if (!update_) return StatusOf(sqlite3_errcode(db_));
  }
  ResetOnExit reset(update_);
  BindBlob(update_, 1, data);
  for (size_t k = 0; k < sortKeys.size(); ++k) BindBlob(update_, int(k) + 2, sortKeys[k]);
  sqlite3_bind_int64(update_, int(sortKeys.size()) + 2, id);
  int rc = sqlite3_step(update_);
  if (rc != SQLITE_DONE) return StatusOf(rc);
  return sqlite3_changes(db_) == 1 ? kSuccess : kInvalidRecordAddress;
}

int16_t Store::Delete(int64_t id) {
  if (!delete_) {
    delete_ = Prepare("DELETE FROM records WHERE id = ?1");
    if (!delete_) return StatusOf(sqlite3_errcode(db_));
  }
  ResetOnExit reset(delete_);
  sqlite3_bind_int64(delete_, 1, id);
  int rc = sqlite3_step(delete_);
  if (rc != SQLITE_DONE) return StatusOf(rc);
  return sqlite3_changes(db_) == 1 ? kSuccess : kInvalidRecordAddress;
}

}  // namespace olm::recman
