#include "data/lock_files.h"

#include <gtest/gtest.h>

#include "data_fixture.h"
#include "platform/clock.h"

namespace olm::testing {
namespace {

std::string Entry(const std::string& station, const std::string& number, int32_t stamp, char kind,
                  const std::string& from, const std::string& to) {
  auto pad = [](std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
  };
  std::string entry = pad(station, 15) + pad(number, 11) + pad(std::to_string(stamp), 8) + kind;
  entry += pad(std::to_string(from.size()), 2) + pad(from, 40) + pad(std::to_string(to.size()), 2) + pad(to, 40);
  return entry + "\r\n";
}

class LockFilesTest : public DataTest {
 protected:
  LockFilesTest() {
    platform::SetFixedTimeForTesting(platform::LocalDateTime{2024, 3, 5, 10, 20, 0});
    SetLockWaitMode('S');
  }
  ~LockFilesTest() override { platform::SetFixedTimeForTesting(std::nullopt); }

  std::string LockFile() { return scratch_.Path() + "LOCKS/PagamV.lck"; }
  std::string Ours(int32_t stamp, char kind, const std::string& from, const std::string& to) {
    return Entry(Workstation().StationName, std::to_string(Workstation().Number), stamp, kind, from, to);
  }
  // Another workstation's entry.
  static std::string Theirs(int32_t stamp, char kind, const std::string& from, const std::string& to) {
    return Entry("OTHER", "12345", stamp, kind, from, to);
  }
  static std::string Freed(std::string entry) {
    entry.replace(0, 26, 26, ' ');
    entry[34] = ' ';
    return entry;
  }
};

TEST_F(LockFilesTest, MinutesNowCountsFrom1970) {
  struct Case {
    platform::LocalDateTime time;
    int32_t minutes;
  } cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0},
      {{1970, 1, 2, 0, 1, 59.6}, 1440 + 2},  // seconds are rounded before the division
      {{2000, 3, 1, 0, 0, 0}, 11017 * 1440},
      {{2024, 2, 29, 23, 59, 0}, 19782 * 1440 + 1439},
  };
  for (const Case& c : cases) {
    platform::SetFixedTimeForTesting(c.time);
    EXPECT_EQ(MinutesNow(), c.minutes) << c.time.year << "-" << c.time.month << "-" << c.time.day;
  }
}

TEST_F(LockFilesTest, TheWorkstationIdentityIsKeptInTheTemporaryDirectory) {
  const WorkstationIdentity first = Workstation();
  EXPECT_NE(first.Number, 0);
  EXPECT_EQ(first.StationName.size(), 15u);
  const std::string stored = ReadFile(scratch_.Path() + "tmp/LOCKS.TMP");
  ASSERT_EQ(stored.size(), 19u);
  EXPECT_EQ(stored.substr(4), first.StationName);
  ResetLockFileState();
  EXPECT_EQ(Workstation().Number, first.Number);
}

TEST_F(LockFilesTest, LockKeyWritesPackedDigitsAsDigits) {
  EXPECT_EQ(LockKeyText("\x81\xC8"), "0172");
  EXPECT_EQ(LockKeyText("A\x80\xE3\xE4"), "A0099\xE4");
  const int32_t now = MinutesNow();
  ASSERT_EQ(LockKey("PagamV  ", "\x81\xC8"), 0);
  EXPECT_EQ(ReadFile(LockFile()), Ours(now, 'K', "0172", "0172"));
  // The holder asking again gets it at once, its stamp renewed in place.
  platform::SetFixedTimeForTesting(platform::LocalDateTime{2024, 3, 5, 10, 25, 0});
  ASSERT_EQ(LockKey("PagamV", "\x81\xC8"), 0);
  EXPECT_EQ(ReadFile(LockFile()), Ours(now + 5, 'K', "0172", "0172"));
  // Released by its trimmed, upper-cased name: the same file.
  EXPECT_EQ(ReleaseLock(" pagamv "), 0);
  EXPECT_EQ(ReadFile(LockFile()), Freed(Ours(now + 5, 'K', "0172", "0172")));
  EXPECT_EQ(ReleaseLock("PagamV"), -1);
  EXPECT_EQ(ReadFile(LockFile()), Freed(Ours(now + 5, 'K', "0172", "0172")));
  EXPECT_TRUE(events_.empty());
}

TEST_F(LockFilesTest, KeyRangesConflictOnlyWhenTheyMeet) {
  struct Case {
    const char* theirFrom;
    const char* theirTo;
    const char* from;
    const char* to;
    int16_t result;
  } cases[] = {
      {"10", "19", "20", "29", 0},
      {"10", "25", "20", "29", -1},
      {"20", "29", "10", "19", 0},
      {"20", "29", "29", "35", -1},
      {"0172", "0172", "01", "01", -1},  // compared as far as the shorter text goes
      {"0172", "0172", "0173", "0199", 0},
  };
  const int32_t now = MinutesNow();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.theirFrom) + ".." + c.theirTo + " vs " + c.from + ".." + c.to);
    WriteFile(LockFile(), Theirs(now, 'K', c.theirFrom, c.theirTo));
    EXPECT_EQ(LockRecordRange("PagamV", "k", c.from, c.to), c.result);
  }
  // A whole-file lock of another workstation stops every request.
  WriteFile(LockFile(), Theirs(now, 'F', "", ""));
  EXPECT_EQ(LockKey("PagamV", "99"), -1);
  EXPECT_TRUE(events_.empty());  // mode "S": no message, no wait
}

TEST_F(LockFilesTest, ExpiredEntriesAreFreedAndFreePlacesReused) {
  const int32_t now = MinutesNow();
  const std::string stale = Theirs(now - 31, 'K', "55", "55");
  const std::string fresh = Theirs(now - 30, 'K', "66", "66");
  WriteFile(LockFile(), stale + fresh);
  ASSERT_EQ(LockKey("PagamV", "55"), 0);
  EXPECT_EQ(ReadFile(LockFile()), Ours(now, 'K', "55", "55") + fresh);
  EXPECT_EQ(LockKey("PagamV", "66"), -1);
  // A new entry takes the last free place the scan met.
  const std::string freed = Freed(Theirs(now, 'K', "77", "77"));
  WriteFile(LockFile(), freed + fresh + freed);
  ASSERT_EQ(LockKey("PagamV", "88"), 0);
  EXPECT_EQ(ReadFile(LockFile()), freed + fresh + Ours(now, 'K', "88", "88"));
}

TEST_F(LockFilesTest, ReleaseFreesTheMostRecentEntryOfThisWorkstation) {
  const int32_t now = MinutesNow();
  const std::string older = Ours(now - 2, 'K', "11", "11");
  const std::string newer = Ours(now - 1, 'K', "22", "22");
  const std::string theirs = Theirs(now, 'K', "33", "33");
  WriteFile(LockFile(), older + newer + theirs);
  EXPECT_EQ(ReleaseLock("PagamV"), 0);
  EXPECT_EQ(ReadFile(LockFile()), older + Freed(newer) + theirs);
}

TEST_F(LockFilesTest, WaitModePLetsTheUserGiveUpWithEsc) {
  WriteFile(LockFile(), Theirs(MinutesNow(), 'K', "55", "55"));
  SetLockWaitMode('p');
  console_->QueueKey('a');  // waiting before the message: dropped
  console_->QueueIdle(3);
  console_->QueueKey(27);
  EXPECT_EQ(LockKey("PagamV", "55"), -1);
  EXPECT_EQ(events_, (std::vector<std::string>{"show:FITXER BLOQUEJAT. ESPEREU UN MOMENT O POLSEU [ESC] PER A EIXIR.", "pop"}));
  EXPECT_EQ(console_->QueuedEvents(), 0u);
}

}  // namespace
}  // namespace olm::testing
