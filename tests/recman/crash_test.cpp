// A writer killed at random moments, many times: afterwards the file is
// sound and holds every write whose call had returned.

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <map>
#include <random>

#include "engine_client.h"
#include "recman/record_manager.h"
#include "scratch.h"

namespace olm::testing {
namespace {

using namespace recman;

// Records of 16 bytes: an 8-byte binary number (key 0), then a stage letter
// ("I" inserted, "U" updated) repeated.
FileDescription CounterFile() {
  FileDescription file;
  file.recordLength = 16;
  file.keys = {{{1, 8, kBinarySegment}}};
  return file;
}

std::string CounterRecord(uint64_t number, char stage) {
  std::string record(16, stage);
  std::memcpy(record.data(), &number, 8);
  return record;
}

std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string answer = "cannot open";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
      answer = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return answer;
}

void ResetEngine() {
  PositionBlock spare{};
  uint32_t length = 0;
  uint8_t keyLength = 0;
  RecordManagerCall(kReset, spare, nullptr, length, nullptr, keyLength, 0);
}

// The child: inserts records from `first` on and updates each one after its
// insert, writing to `ack` a stage letter and the number once each call has
// returned. It runs until it is killed.
[[noreturn]] void Writer(uint64_t first, int ack) {
  EngineClient client;
  if (client.Open("counter.dat") != kSuccess) _exit(1);
  for (uint64_t n = first;; ++n) {
    if (client.Insert(CounterRecord(n, 'I')) != kSuccess) _exit(2);
    char message[9] = {'I'};
    std::memcpy(message + 1, &n, 8);
    if (write(ack, message, 9) != 9) _exit(3);
    if (client.Update(CounterRecord(n, 'U')) != kSuccess) _exit(4);
    message[0] = 'U';
    if (write(ack, message, 9) != 9) _exit(3);
  }
}

TEST(CrashTest, KilledWritersLoseNoAcknowledgedWriteAndCorruptNothing) {
  ScratchDirectory scratch;
  EngineClient creator;
  ASSERT_EQ(creator.Create("counter.dat", CounterFile()), kSuccess);
  std::mt19937 random(12345);
  std::map<uint64_t, char> acknowledged;  // number -> last stage acknowledged
  uint64_t next = 1;
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    int ack[2];
    ASSERT_EQ(pipe(ack), 0);
    const pid_t writer = fork();
    if (writer == 0) {
      close(ack[0]);
      Writer(next, ack[1]);
    }
    close(ack[1]);
    usleep(1000 * std::uniform_int_distribution<int>(2, 40)(random));
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << WEXITSTATUS(status);
    char message[9];
    while (read(ack[0], message, 9) == 9) {
      uint64_t n = 0;
      std::memcpy(&n, message + 1, 8);
      acknowledged[n] = message[0];
    }
    close(ack[0]);

    ASSERT_EQ(IntegrityCheck(scratch.Path() + "counter.dat"), "ok");
    EngineClient reader;
    ASSERT_EQ(reader.Open("counter.dat"), kSuccess);
    for (const auto& [n, stage] : acknowledged) {
      std::string key(8, '\0');
      std::memcpy(key.data(), &n, 8);
      Answer answer = reader.Read(kGetEqual, key);
      ASSERT_EQ(answer.status, kSuccess) << "record " << n << " lost";
      if (stage == 'U') {
        ASSERT_EQ(answer.record, CounterRecord(n, 'U')) << "update of " << n << " lost";
      }
    }
    Answer last = reader.Read(kGetLast);
    if (last.status == kSuccess) {
      std::memcpy(&next, last.record.data(), 8);
      ++next;
    }
    ResetEngine();
  }
  EXPECT_GT(acknowledged.size(), 40u);
  std::cout << acknowledged.size() << " writes acknowledged\n";
}

}  // namespace
}  // namespace olm::testing
