#include "data/record_operations.h"

#include <gtest/gtest.h>

#include <cstring>

#include "data/data_files.h"
#include "data/lock_wait.h"
#include "data_fixture.h"
#include "platform/file.h"

namespace olm::testing {
namespace {

class RecordOperationsTest : public DataTest {
 protected:
  void SetUp() override {
    WriteTemplate("Small", SmallFile());
    int16_t status = -1;
    OpenDataFile(kFile, "DADES\\Small", buffer_, sizeof buffer_, status);
    ASSERT_EQ(status, 0);
  }
  void Insert(const std::vector<std::string>& records) {
    for (const std::string& record : records) {
      std::memcpy(buffer_, record.data(), 20);
      int16_t status = -1;
      InsertRecord(kFile, status);
      ASSERT_EQ(status, 0) << record;
    }
  }
  std::string Buffer() const { return std::string(buffer_, 20); }
  std::string Code() const { return std::string(buffer_, 4); }
  OpenFileSlot& Slot() { return OpenFiles().Slots[FindFileSlot(kFile)]; }
  std::string Log() { return PathExists("db.log") ? ReadFile("db.log") : ""; }

  static constexpr int16_t kFile = 510;
  char buffer_[20] = {};
};

TEST_F(RecordOperationsTest, ReadByKeyFitsTheValueToTheKey) {
  Insert({SmallRecord("AAAA", 1), SmallRecord("AB", 2), SmallRecord("ABC", 3)});
  int16_t status = -1;
  // A longer value is cut to the key's length.
  ReadByKey(kFile, 0, "AAAAZZZ", 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Code(), "AAAA");
  // A shorter one is completed with NUL bytes: "AB\0\0" sorts before "AB  ".
  ReadByKey(kFile, 0, "AB", 1, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Code(), "AB  ");
  ReadByKey(kFile, 0, "AB", -1, status);
  EXPECT_EQ(Code(), "AAAA");
  ReadByKey(kFile, 0, "AB", 0, status);
  EXPECT_EQ(status, 4);
  // A key number that names no key: 1004, and the current key is kept.
  ReadByKey(kFile, 0, "ABC ", 0, status);
  ReadByKey(kFile, 2, "x", 0, status);
  EXPECT_EQ(status, kStatusNoSuchKey);
  EXPECT_EQ(Slot().KeyNumber, 0);
  EXPECT_EQ(Slot().KeyValue, "ABC ");
  ReadByKey(99, 0, "x", 0, status);
  EXPECT_EQ(status, kStatusFileNotOpen);
}

TEST_F(RecordOperationsTest, SkipRecordsStepsDirectlyAndReadsOnlyTheLast) {
  Insert({SmallRecord("A", 1), SmallRecord("B", 2), SmallRecord("C", 3), SmallRecord("D", 4), SmallRecord("E", 5)});
  int16_t status = -1;
  ReadByKey(kFile, 0, "A   ", 0, status);
  std::memcpy(buffer_ + 10, "untouched", 9);  // the direct steps leave the buffer alone
  SkipRecords(kFile, 3, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Code(), "D   ");
  EXPECT_EQ(Slot().KeyValue, "D   ");
  SkipRecords(kFile, -2, status);
  EXPECT_EQ(Code(), "B   ");
  SkipRecords(kFile, 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Code(), "B   ");
  // Running off the end: the end-of-file status, the buffer as it was.
  SkipRecords(kFile, 19, status);
  EXPECT_EQ(status, 9);
  EXPECT_EQ(Code(), "B   ");
  SkipRecords(kFile, -1, status);
  EXPECT_EQ(Code(), "D   ");
}

// The paging of the movement list: reading beyond the last record answers
// an odd status and leaves the file on the last record, so stepping back
// n - 1 records reaches the start of the last page of n.
TEST_F(RecordOperationsTest, ReadingBeyondTheLastRecordLeavesItCurrent) {
  std::vector<std::string> records;
  for (int i = 0; i < 25; ++i) records.push_back(SmallRecord("K" + std::to_string(10 + i), uint16_t(i)));
  Insert(records);
  int16_t status = -1;
  ReadByKey(kFile, 0, "\xE3\xE3\xE3\xE3", 1, status);
  EXPECT_EQ(status, 9);
  EXPECT_EQ(status & 1, 1);
  SkipRecords(kFile, -(19 - (status & 1)), status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Code(), "K16 ");  // with K34 the last: K16..K34 are the last 19
}

TEST_F(RecordOperationsTest, RecordPositionReturnsToARecord) {
  Insert({SmallRecord("A", 1), SmallRecord("B", 2)});
  int16_t status = -1;
  ReadByKey(kFile, 0, "B   ", 0, status);
  const int32_t b = RecordPosition(kFile, 0);
  EXPECT_NE(b, 0);
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(RecordPosition(kFile, b), 0);
  EXPECT_EQ(Code(), "B   ");
  EXPECT_EQ(Slot().KeyValue, "B   ");
  EXPECT_EQ(RecordPosition(kFile, 123456), recman::kInvalidRecordAddress);
  EXPECT_EQ(RecordPosition(99, 0), 0);
  EXPECT_EQ(RecordPosition(99, b), 0);
}

TEST_F(RecordOperationsTest, WritesLeaveTheStoredRecordInTheBuffer) {
  Insert({SmallRecord("A", 1, "first"), SmallRecord("B", 2, "second")});
  int16_t status = -1;
  ReadByKey(kFile, 0, "B   ", 0, status);
  std::memcpy(buffer_, SmallRecord("A", 2, "rejected").data(), 20);
  UpdateRecord(kFile, status);
  EXPECT_EQ(status, recman::kDuplicateKey);
  EXPECT_EQ(Buffer(), SmallRecord("B", 2, "second"));
  EXPECT_EQ(Slot().KeyValue, "B   ");
  std::memcpy(buffer_ + 6, "changed", 7);
  UpdateRecord(kFile, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Buffer(), SmallRecord("B", 2, "changed"));
  // A refused insert clears the current key value, keeping its length.
  std::memcpy(buffer_, SmallRecord("A", 9).data(), 20);
  InsertRecord(kFile, status);
  EXPECT_EQ(status, recman::kDuplicateKey);
  EXPECT_EQ(Slot().KeyValue, std::string(4, '\0'));
  ReadByKey(kFile, 0, "A   ", 0, status);
  DeleteRecord(kFile, status);
  EXPECT_EQ(status, 0);
  DeleteRecord(kFile, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(Slot().KeyValue, std::string(4, '\0'));
}

TEST_F(RecordOperationsTest, DatabaseLogHasOneLinePerInsertAndUpdate) {
  EXPECT_EQ(DatabaseLogLine(501, 2, 0), " 501           2             0 \r\n");
  EXPECT_EQ(DatabaseLogLine(-3, 3, 84), "-3             3             84 \r\n");
  Insert({SmallRecord("A", 1)});
  int16_t status = -1;
  InsertRecord(kFile, status);  // duplicate: logged too
  ReadByKey(kFile, 0, "A   ", 0, status);
  UpdateRecord(kFile, status);
  DeleteRecord(kFile, status);
  EXPECT_EQ(Log(), DatabaseLogLine(kFile, 2, 0) + DatabaseLogLine(kFile, 2, 5) + DatabaseLogLine(kFile, 3, 0));
  // A log held by another process: the line is dropped, the insert is not.
  platform::File held = platform::File::Open("db.log", platform::Access::ReadWrite, platform::Sharing::Exclusive,
                                             platform::Creation::MustExist);
  ASSERT_TRUE(held.IsOpen());
  const std::string before = ReadFile("db.log");
  std::memcpy(buffer_, SmallRecord("B", 1).data(), 20);
  InsertRecord(kFile, status);
  EXPECT_EQ(status, 0);
  held.Close();
  EXPECT_EQ(Log(), before);
  ReadByKey(kFile, 0, "B   ", 0, status);
  EXPECT_EQ(status, 0);
}

TEST_F(RecordOperationsTest, LockModesAndTheirStack) {
  int16_t status = 77;
  struct Step {
    const char* letters;
    int16_t mode;
  } steps[] = {{"a", 1}, {"+b", 2}, {"-", 1}, {"-", 1}, {"+D+B", 2}, {"-", 0}, {"-", 1}, {"xyz", 1}};
  for (const Step& step : steps) {
    SetLockMode(kFile, step.letters, status);
    EXPECT_EQ(Slot().LockMode, step.mode) << step.letters;
  }
  EXPECT_EQ(status, 77);
  SetLockMode(99, "a", status);
  EXPECT_EQ(status, kStatusFileNotOpen);
}

// With lock mode 2 a read asks for a lock and a record held elsewhere comes
// back at once as 84; lock mode 0 reads it without a lock.
TEST_F(RecordOperationsTest, LockModeTwoAnswersARecordInUseAtOnce) {
  Insert({SmallRecord("A", 1)});
  char otherBuffer[20] = {};
  int16_t status = -1;
  OpenDataFile(2, "DADES\\Small", otherBuffer, sizeof otherBuffer, status);
  SetLockMode(2, "b", status);
  ReadByKey(2, 0, "A   ", 0, status);
  ASSERT_EQ(status, 0);
  SetLockMode(kFile, "b", status);
  Slot().KeyValue = "A   ";
  int16_t operation = recman::kGetGreaterOrEqual;
  CallWithLockWait(FindFileSlot(kFile), operation, status);
  EXPECT_EQ(operation, 209);
  EXPECT_EQ(status, recman::kRecordInUse);
  SetLockMode(kFile, "d", status);
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(status, 0);
  std::memcpy(buffer_ + 6, "x", 1);
  UpdateRecord(kFile, status);
  EXPECT_EQ(status, recman::kRecordInUse);
  // Inserts and updates never take the bias.
  operation = recman::kInsert;
  SetLockMode(kFile, "a", status);
  std::memcpy(buffer_, SmallRecord("Z", 1).data(), 20);
  CallWithLockWait(FindFileSlot(kFile), operation, status);
  EXPECT_EQ(operation, recman::kInsert);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(events_.empty());
}

TEST_F(RecordOperationsTest, KeySortTextFollowsTheKeyOrder) {
  int16_t status = -1;
  ReadByKey(kFile, 1, "", 0, status);  // makes key 1 (binary) current
  EXPECT_EQ(KeySortText(std::string("\x02\x01", 2), kFile), std::string("\x01\x02", 2));
  EXPECT_EQ(KeySortText(std::string("\x05", 1), kFile), std::string("\x00\x05", 2));
  EXPECT_EQ(KeySortText("abc", 99), "abc");
  EXPECT_EQ(CurrentKeySortText(99), "");
  // A collated text segment is mapped through the file's table.
  recman::FileDescription collated;
  collated.recordLength = 20;
  collated.keys = {{{1, 3, recman::kAlternateCollation}}};
  collated.collationName = "UPPER";
  collated.collationTable = recman::UpperCaseCollation();
  WriteTemplate("Collated", collated);
  char other[20] = {};
  OpenDataFile(3, "DADES\\Collated", other, sizeof other, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(KeySortText("abcd", 3), "ABCd");
  EXPECT_EQ(CurrentKeySortText(3), std::string(3, '\0'));
}

}  // namespace
}  // namespace olm::testing
