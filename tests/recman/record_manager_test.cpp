#include "recman/record_manager.h"

#include <gtest/gtest.h>

#include <vector>

#include "recman/creation_buffer.h"
#include "scratch.h"
#include "engine_client.h"

namespace olm::testing {
namespace {

using namespace recman;

// Records of 12 bytes: a 4-byte name (collated without regard to case), a
// 2-byte little-endian number, a 6-byte group. Key 0 = name + number,
// unique; key 1 = group, duplicates allowed.
FileDescription SampleFile() {
  FileDescription file;
  file.recordLength = 12;
  file.keys = {{{1, 4, kAlternateCollation}, {5, 2, kBinarySegment}}, {{7, 6, kDuplicatesAllowed}}};
  file.collationName = "UPPER";
  file.collationTable = UpperCaseCollation();
  return file;
}

std::string Record(const std::string& name, uint16_t number, const std::string& group) {
  std::string record = name;
  record.resize(4, ' ');
  record += static_cast<char>(number & 0xFF);
  record += static_cast<char>(number >> 8);
  record += group;
  record.resize(12, ' ');
  return record;
}

std::string Key0(const std::string& name, uint16_t number) { return Record(name, number, "").substr(0, 6); }

class RecordManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(client.Create("sample.dat", SampleFile()), kSuccess);
    ASSERT_EQ(client.Open("sample.dat"), kSuccess);
  }
  void TearDown() override {
    PositionBlock spare{};
    uint32_t length = 0;
    uint8_t keyLength = 0;
    RecordManagerCall(kReset, spare, nullptr, length, nullptr, keyLength, 0);
  }
  void InsertAll(const std::vector<std::string>& records) {
    for (const std::string& record : records) ASSERT_EQ(client.Insert(record), kSuccess) << record;
  }
  // Names of the records read by stepping from the current place.
  std::vector<std::string> Walk(int16_t operation, int8_t keyNumber) {
    std::vector<std::string> names;
    for (Answer a = client.Read(operation, {}, keyNumber); a.status == kSuccess; a = client.Read(operation, {}, keyNumber))
      names.push_back(a.record.substr(0, 4) + std::to_string(uint8_t(a.record[4]) | uint8_t(a.record[5]) << 8));
    return names;
  }

  ScratchDirectory scratch;
  EngineClient client;
};

TEST_F(RecordManagerTest, StatAnswersTheCreationLayout) {
  Answer stat = client.Stat();
  ASSERT_EQ(stat.status, kSuccess);
  auto u16 = [&](size_t at) { return uint8_t(stat.record[at]) | uint8_t(stat.record[at + 1]) << 8; };
  EXPECT_EQ(u16(0), 12);
  EXPECT_EQ(u16(4), 2);
  EXPECT_EQ(u16(16 + 2), 4);
  EXPECT_EQ(u16(16 + 4), kAlternateCollation | kSegmentFollows);
  EXPECT_EQ(u16(32 + 4), kBinarySegment);
  EXPECT_EQ(u16(48 + 2), 6);
  EXPECT_EQ(uint8_t(stat.record[64]), kCollatingSignature);
  EXPECT_EQ(stat.record.substr(65, 8), "UPPER   ");
  EXPECT_EQ(stat.record.substr(73, 256), UpperCaseCollation());
  EXPECT_EQ(stat.record.size(), 16u + 3 * 16 + 265);
  // A buffer too short for the answer gets what fits and status 22.
  EXPECT_EQ(client.Call(kStat, std::string(20, ' '), {}, 0).status, kDataBufferTooShort);
}

TEST_F(RecordManagerTest, OpenAndCreateStatuses) {
  EngineClient other;
  EXPECT_EQ(other.Open("missing.dat"), kFileNotFound);
  EXPECT_EQ(other.Create("sample.dat", SampleFile()), kFileExists);
  EXPECT_EQ(other.Read(kGetFirst).status, kFileNotOpen);
  FileDescription bad = SampleFile();
  bad.keys[1][0].position = 10;  // runs past the record's end
  EXPECT_EQ(other.Create("bad.dat", bad), kInvalidCreationBuffer);
  EXPECT_FALSE(PathExists("bad.dat"));
  WriteFile("notours.dat", "this is no database at all, only some text of some length............");
  EXPECT_EQ(other.Open("notours.dat"), kIoError);
  EXPECT_EQ(client.Read(kGetFirst, {}, 2).status, kInvalidKeyNumber);
  EXPECT_EQ(client.Insert(Record("A", 1, "G").substr(0, 11)), kInvalidRecordLength);
  // Program paths: backslashes and any letter case reach the same file.
  EXPECT_EQ(other.Open("SAMPLE.DAT"), kSuccess);
}

TEST_F(RecordManagerTest, KeyOrderFollowsSegmentTypesAndCollation) {
  InsertAll({Record("b", 1, "G"), Record("A", 258, "G"), Record("a", 2, "G"), Record("B", 256, "G"), Record("a", 255, "G")});
  client.Read(kGetFirst);
  EXPECT_EQ(Walk(kGetNext, 0), (std::vector<std::string>{"a   255", "A   258", "b   1", "B   256"}));
  EXPECT_EQ(client.Read(kGetFirst).record.substr(0, 1), "a");
  // The collated segment makes "a"+1 and "A"+1 the same key: unique key refused.
  EXPECT_EQ(client.Insert(Record("A", 2, "H")), kDuplicateKey);
  Answer equal = client.Read(kGetEqual, Key0("B", 1));
  EXPECT_EQ(equal.status, kSuccess);
  EXPECT_EQ(equal.record, Record("b", 1, "G"));
  EXPECT_EQ(equal.key, Key0("b", 1));
}

TEST_F(RecordManagerTest, DuplicatesReadInInsertionOrder) {
  InsertAll({Record("C", 1, "X"), Record("A", 1, "Y"), Record("B", 1, "X"), Record("D", 1, "X")});
  Answer first = client.Read(kGetEqual, "X     ", 1);
  EXPECT_EQ(first.record.substr(0, 1), "C");
  EXPECT_EQ(Walk(kGetNext, 1), (std::vector<std::string>{"B   1", "D   1", "A   1"}));
  EXPECT_EQ(client.Read(kGetLast, {}, 1).record.substr(0, 1), "A");
  EXPECT_EQ(Walk(kGetPrevious, 1), (std::vector<std::string>{"D   1", "B   1", "C   1"}));
}

// Reads that find nothing: the status, and the record a following Get Next
// or Get Previous reads.
TEST_F(RecordManagerTest, ReadsOffTheEndsLeaveTheBlockOnTheLastOrFirstRecord) {
  InsertAll({Record("A", 1, "G"), Record("B", 1, "G"), Record("C", 1, "G"), Record("D", 1, "G")});
  struct Case {
    const char* what;
    int16_t operation;
    std::string key;
    int16_t status;
    int16_t then;
    const char* thenReads;  // "" when it reads nothing
  } cases[] = {
      {"Get Greater or Equal beyond the last", kGetGreaterOrEqual, Key0("Z", 0), kEndOfFile, kGetPrevious, "C"},
      {"Get Greater from the last", kGetGreater, Key0("D", 1), kEndOfFile, kGetPrevious, "C"},
      {"Get Less or Equal before the first", kGetLessOrEqual, Key0("0", 0), kEndOfFile, kGetNext, "B"},
      {"Get Less from the first", kGetLess, Key0("A", 1), kEndOfFile, kGetNext, "B"},
      {"Get Next from the last", kGetLast, {}, kSuccess, kGetNext, ""},
      {"Get Previous from the first", kGetFirst, {}, kSuccess, kGetPrevious, ""},
      {"Get Greater or Equal between records", kGetGreaterOrEqual, Key0("B", 2), kSuccess, kGetNext, "D"},
      {"Get Less or Equal between records", kGetLessOrEqual, Key0("B", 2), kSuccess, kGetPrevious, "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(client.Read(c.operation, c.key).status, c.status);
    Answer then = client.Read(c.then);
    if (*c.thenReads) {
      EXPECT_EQ(then.status, kSuccess);
      EXPECT_EQ(then.record.substr(0, 1), c.thenReads);
    } else {
      EXPECT_EQ(then.status, kEndOfFile);
    }
  }
  // Get Equal that finds nothing keeps the place it had.
  client.Read(kGetEqual, Key0("B", 1));
  EXPECT_EQ(client.Read(kGetEqual, Key0("BB", 1)).status, kKeyNotFound);
  EXPECT_EQ(client.Read(kGetNext).record.substr(0, 1), "C");
}

// A read that returned no record leaves nothing to update or delete: a
// stale record must not be overwritten.
TEST_F(RecordManagerTest, NoCurrentRecordAfterAReadThatFoundNothing) {
  InsertAll({Record("A", 1, "G"), Record("B", 1, "G")});
  const std::pair<int16_t, std::string> reads[] = {
      {kGetEqual, Key0("X", 1)}, {kGetGreaterOrEqual, Key0("X", 1)}, {kGetLess, Key0("A", 1)}, {kGetNext, ""}};
  for (const auto& [operation, key] : reads) {
    SCOPED_TRACE(operation);
    client.Read(kGetLast);
    EXPECT_NE(client.Read(operation, key).status, kSuccess);
    EXPECT_EQ(client.Update(Record("B", 1, "overwritten")), kInvalidPositioning);
    EXPECT_EQ(client.Delete(), kInvalidPositioning);
    EXPECT_EQ(client.Position(), 0u);
  }
  EXPECT_EQ(client.Read(kGetLast).record, Record("B", 1, "G"));
}

TEST_F(RecordManagerTest, EmptyFileAndNoPlace) {
  EXPECT_EQ(client.Read(kGetNext).status, kInvalidPositioning);
  EXPECT_EQ(client.Read(kGetFirst).status, kEndOfFile);
  EXPECT_EQ(client.Read(kGetGreaterOrEqual, Key0("A", 0)).status, kEndOfFile);
  EXPECT_EQ(client.Update(Record("A", 1, "G")), kInvalidPositioning);
  EXPECT_EQ(client.Delete(), kInvalidPositioning);
  EXPECT_EQ(client.Position(), 0u);
}

TEST_F(RecordManagerTest, PositionsAndDirectReads) {
  InsertAll({Record("A", 1, "G1"), Record("B", 1, "G2"), Record("C", 1, "G3")});
  client.Read(kGetEqual, Key0("B", 1));
  const uint32_t b = client.Position();
  EXPECT_NE(b, 0u);
  client.Read(kGetFirst);
  // Get Direct reads by position and places the block on the key asked for.
  Answer direct = client.Direct(b, 1);
  EXPECT_EQ(direct.status, kSuccess);
  EXPECT_EQ(direct.record, Record("B", 1, "G2"));
  EXPECT_EQ(direct.key, "G2    ");
  EXPECT_EQ(client.Read(kGetNext, {}, 1).record.substr(0, 1), "C");
  EXPECT_EQ(client.Direct(99999).status, kInvalidRecordAddress);
  // Get Next along another key than the place's carries the place over.
  client.Read(kGetEqual, Key0("A", 1));
  EXPECT_EQ(client.Read(kGetNext, {}, 1).record.substr(0, 1), "B");
  // A short data buffer: the first bytes, status 22, and the place moves.
  Answer shortRead = client.Call(kGetNext, std::string(5, ' '), {}, 1);
  EXPECT_EQ(shortRead.status, kDataBufferTooShort);
  EXPECT_EQ(shortRead.record, "C   \x01");
}

TEST_F(RecordManagerTest, UpdateAndDeleteFollowTheRecord) {
  InsertAll({Record("A", 1, "G"), Record("B", 1, "G"), Record("C", 1, "G")});
  client.Read(kGetEqual, Key0("B", 1));
  // An update may change the key; the place follows the record.
  ASSERT_EQ(client.Update(Record("E", 1, "G")), kSuccess);
  EXPECT_EQ(client.Read(kGetPrevious).record.substr(0, 1), "C");
  EXPECT_EQ(client.Update(Record("A", 1, "G")), kDuplicateKey);
  EXPECT_EQ(client.Read(kGetEqual, Key0("C", 1)).record, Record("C", 1, "G"));
  // After a delete, Get Next and Get Previous go on from where it stood.
  ASSERT_EQ(client.Delete(), kSuccess);
  EXPECT_EQ(client.Delete(), kInvalidPositioning);
  EXPECT_EQ(client.Read(kGetNext).record.substr(0, 1), "E");
  client.Read(kGetEqual, Key0("A", 1));
  ASSERT_EQ(client.Delete(), kSuccess);
  EXPECT_EQ(client.Read(kGetPrevious).status, kEndOfFile);
  EXPECT_EQ(client.Read(kGetNext).record.substr(0, 1), "E");
}

TEST_F(RecordManagerTest, SingleRecordLocksBelongToThePositionBlock) {
  InsertAll({Record("A", 1, "G"), Record("B", 1, "G")});
  EngineClient other;
  ASSERT_EQ(other.Open("sample.dat"), kSuccess);
  ASSERT_EQ(client.Read(kGetEqual + kSingleLockBias, Key0("A", 1)).status, kSuccess);
  // Locked reads, updates and deletes by another block are refused; a plain read is not.
  EXPECT_EQ(other.Read(kGetFirst + kSingleLockBias).status, kRecordInUse);
  EXPECT_EQ(other.Read(kGetFirst).status, kSuccess);
  EXPECT_EQ(other.Update(Record("A", 1, "H")), kRecordInUse);
  EXPECT_EQ(other.Delete(), kRecordInUse);
  // A refused locked read leaves the block where it was.
  EXPECT_EQ(other.Read(kGetNext).record.substr(0, 1), "B");
  EXPECT_EQ(other.Read(kGetPrevious + kSingleLockBias).status, kRecordInUse);
  EXPECT_EQ(other.Read(kGetPrevious).record.substr(0, 1), "A");
  // Reading the same record again keeps the lock; reading another gives it up.
  EXPECT_EQ(client.Read(kGetEqual, Key0("A", 1)).status, kSuccess);
  EXPECT_EQ(other.Update(Record("A", 1, "H")), kRecordInUse);
  EXPECT_EQ(client.Read(kGetNext).status, kSuccess);
  EXPECT_EQ(other.Update(Record("A", 1, "H")), kSuccess);
  // An update by the holder writes and gives the lock up.
  ASSERT_EQ(client.Read(kGetFirst + kSingleLockBias).status, kSuccess);
  EXPECT_EQ(client.Read(kGetFirst + kSingleLockBias).record, Record("A", 1, "H"));
  ASSERT_EQ(client.Update(Record("A", 1, "I")), kSuccess);
  EXPECT_EQ(other.Read(kGetFirst + kSingleLockBias).record, Record("A", 1, "I"));
  // Closing every file gives every lock up.
  EXPECT_EQ(client.Read(kGetFirst + kSingleLockBias).status, kRecordInUse);
  EXPECT_EQ(client.Call(kInsert + kSingleLockBias, Record("Z", 1, "G"), {}, 0).status, kInvalidOperation);
}

TEST_F(RecordManagerTest, ExclusiveOpenKeepsOthersOut) {
  EngineClient exclusive;
  EXPECT_EQ(exclusive.Open("sample.dat", kOpenExclusive), kFileInUse);
  TearDown();
  ASSERT_EQ(exclusive.Open("sample.dat", kOpenExclusive), kSuccess);
  EngineClient other;
  EXPECT_EQ(other.Open("sample.dat"), kFileInUse);
  EXPECT_EQ(other.Create("sample.dat", SampleFile(), kCreateReplace), kFileInUse);
}

TEST_F(RecordManagerTest, ReplacingCreateEmptiesTheFile) {
  InsertAll({Record("A", 1, "G")});
  TearDown();
  EngineClient creator;
  ASSERT_EQ(creator.Create("sample.dat", SampleFile(), kCreateReplace), kSuccess);
  ASSERT_EQ(client.Open("sample.dat"), kSuccess);
  EXPECT_EQ(client.Read(kGetFirst).status, kEndOfFile);
}

}  // namespace
}  // namespace olm::testing
