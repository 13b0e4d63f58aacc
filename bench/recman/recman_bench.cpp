// recman_bench: the record manager against raw SQLite on the same schema.
//
// A file of 100,000 movement-sized records (52 bytes, an 8-byte key) is read
// along its key with Get Next, read at random keys with Get Equal, and
// written with durable inserts, once through RecordManagerCall and once
// through raw SQLite calls that prepare a fresh statement for each operation,
// as a caller without a statement cache would. A single raw scan in key order
// gives the cost per row to approach. Every figure is measured in this run.
//
//   recman_bench [directory]     (default: a new directory under /tmp)

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "recman/creation_buffer.h"
#include "recman/record_manager.h"

namespace {

using namespace olm;
using namespace olm::recman;
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 100000;
constexpr int kRecordLength = 52;
constexpr int kKeyLength = 8;
constexpr int kSteps = 50000;
constexpr int kLookups = 20000;
constexpr int kInserts = 50;

// Key of record i: a 2-byte property, 4-byte date, 2-byte order, as bytes.
std::string KeyOf(uint32_t i) {
  std::string key(kKeyLength, '\0');
  key[0] = char(0x80 + (i / 500000) % 100);
  for (int b = 0; b < 7; ++b) key[size_t(7 - b)] = char((i >> (b * 4) & 0x0F) + 0x80);
  return key;
}

std::string RecordOf(uint32_t i) {
  std::string record = KeyOf(i);
  record.resize(kRecordLength, 'x');
  return record;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The best of three runs, in microseconds per operation.
double Best(int operations, const std::function<void()>& run) {
  double best = 1e300;
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto start = Clock::now();
    run();
    best = std::min(best, Seconds(start) * 1e6 / operations);
  }
  return best;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "recman_bench: %s failed\n", what);
    std::exit(1);
  }
}

// The engine's side: one open file and its buffers.
struct Engine {
  PositionBlock block{};
  char data[1536];
  char key[256];
  uint32_t dataLength = 0;
  uint8_t keyLength = 0;

  int16_t Call(int16_t operation, const std::string& keyValue = {}, const std::string& record = {}) {
    std::memcpy(key, keyValue.data(), keyValue.size());
    keyLength = uint8_t(keyValue.size());
    if (!record.empty()) std::memcpy(data, record.data(), record.size());
    dataLength = record.empty() ? sizeof data : uint32_t(record.size());
    return RecordManagerCall(operation, block, data, dataLength, key, keyLength, 0);
  }
};

// The raw side: a connection to the same database with the engine's settings.
struct Raw {
  sqlite3* db = nullptr;
  char data[1536];

  explicit Raw(const std::string& path) {
    Check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK, "raw open");
    sqlite3_exec(db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(db, 1000);
  }
  ~Raw() { sqlite3_close(db); }

  // One operation with a fresh statement: prepare, bind, step, copy, finalize.
  bool Once(const char* sql, const std::string& first, const std::string* second = nullptr) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    sqlite3_bind_blob(statement, 1, first.data(), int(first.size()), SQLITE_STATIC);
    if (second) sqlite3_bind_blob(statement, 2, second->data(), int(second->size()), SQLITE_STATIC);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) std::memcpy(data, sqlite3_column_blob(statement, 1), size_t(sqlite3_column_bytes(statement, 1)));
    sqlite3_finalize(statement);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
  }
};

void Load(const std::string& path) {
  Raw raw(path);
  sqlite3_exec(raw.db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(raw.db, "INSERT INTO records(data, k0) VALUES (?1, ?2)", -1, &insert, nullptr);
  for (uint32_t i = 0; i < kRecords; ++i) {
    const std::string record = RecordOf(i * 2);  // even numbers: odd ones are free for inserts
    sqlite3_bind_blob(insert, 1, record.data(), kRecordLength, SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 2, record.data(), kKeyLength, SQLITE_TRANSIENT);
    Check(sqlite3_step(insert) == SQLITE_DONE, "load");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(raw.db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, "load commit");
}

void Report(const char* what, double engine, double raw) {
  std::printf("%-34s %10.3f us %10.3f us %8.3f\n", what, engine, raw, engine / raw);
}

}  // namespace

int main(int argc, char** argv) {
  std::string directory = argc > 1 ? argv[1] : "/tmp/recman_bench." + std::to_string(getpid());
  std::filesystem::create_directories(directory);
  const std::string path = directory + "/movements.dat";
  std::filesystem::remove(path);

  FileDescription file;
  file.recordLength = kRecordLength;
  file.keys = {{{1, 2, 0}, {3, 4, 0}, {7, 2, 0}}};
  std::string buffer = BuildCreationBuffer(file);
  buffer.resize(1536, ' ');
  Engine creator;
  uint32_t length = 1536;
  char pathKey[256] = {};
  std::memcpy(pathKey, path.data(), path.size());
  uint8_t pathLength = uint8_t(path.size());
  Check(RecordManagerCall(kCreate, creator.block, buffer.data(), length, pathKey, pathLength, kCreateNew) == 0, "create");
  Load(path);

  Engine engine;
  Check(engine.Call(kOpen, path) == 0, "open");
  Raw raw(path);
  std::mt19937 random(42);
  std::uniform_int_distribution<uint32_t> anyRecord(0, kRecords - 1);

  std::printf("%d records of %d bytes; per operation:\n", kRecords, kRecordLength);
  std::printf("%-34s %13s %13s %8s\n", "", "RecordManager", "raw SQLite", "ratio");

  const double engineNext = Best(kSteps, [&] {
    Check(engine.Call(kGetFirst) == 0, "get first");
    for (int i = 1; i < kSteps; ++i) Check(engine.Call(kGetNext) == 0, "get next");
  });
  const double rawNext = Best(kSteps, [&] {
    std::string current = KeyOf(0);
    std::string after;
    for (int i = 0; i < kSteps; ++i) {
      Check(raw.Once("SELECT id, data, k0 FROM records WHERE k0 > ?1 ORDER BY k0, id LIMIT 1", current), "raw next");
      current.assign(raw.data, kKeyLength);
    }
  });
  Report("Get Next along the key", engineNext, rawNext);

  std::vector<std::string> keys;
  for (int i = 0; i < kLookups; ++i) keys.push_back(KeyOf(anyRecord(random) * 2));
  const double engineEqual = Best(kLookups, [&] {
    for (const std::string& key : keys) Check(engine.Call(kGetEqual, key) == 0, "get equal");
  });
  const double rawEqual = Best(kLookups, [&] {
    for (const std::string& key : keys)
      Check(raw.Once("SELECT id, data, k0 FROM records WHERE k0 = ?1 ORDER BY k0, id LIMIT 1", key), "raw equal");
  });
  Report("Get Equal at random keys", engineEqual, rawEqual);

  // Inserts wait for the disk: the two sides take turns, so both meet the
  // same disk conditions, and each keeps its best batch.
  uint32_t nextOdd = 1;
  double engineInsert = 1e300, rawInsert = 1e300;
  for (int round = 0; round < 7; ++round) {
    engineInsert = std::min(engineInsert, Best(kInserts, [&] {
      for (int i = 0; i < kInserts; ++i, nextOdd += 2) Check(engine.Call(kInsert, {}, RecordOf(nextOdd)) == 0, "insert");
    }));
    rawInsert = std::min(rawInsert, Best(kInserts, [&] {
      for (int i = 0; i < kInserts; ++i, nextOdd += 2) {
        const std::string record = RecordOf(nextOdd);
        const std::string key = record.substr(0, kKeyLength);
        Check(raw.Once("INSERT INTO records(data, k0) VALUES (?1, ?2)", record, &key), "raw insert");
      }
    }));
  }
  Report("Insert, durable", engineInsert, rawInsert);

  const double scan = Best(kRecords, [&] {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(raw.db, "SELECT id, data, k0 FROM records ORDER BY k0, id", -1, &statement, nullptr);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW && rows < kRecords) {
      std::memcpy(raw.data, sqlite3_column_blob(statement, 1), size_t(sqlite3_column_bytes(statement, 1)));
      ++rows;
    }
    sqlite3_finalize(statement);
  });
  std::printf("%-34s %13s %10.3f us\n", "one raw scan in key order, per row", "", scan);
  std::printf("%-34s %10.3f x\n", "Get Next against the scan", engineNext / scan);

  PositionBlock spare{};
  RecordManagerCall(kReset, spare, nullptr, length, nullptr, pathLength, 0);
  if (argc <= 1) std::filesystem::remove_all(directory);
  return 0;
}
