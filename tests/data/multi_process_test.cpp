// Several processes on the same files: record locks, exclusive opens and key
// locks, each side a real process started with fork.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "data/data_files.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "data_fixture.h"
#include "platform/clock.h"

namespace olm::testing {
namespace {

// A one-way channel of single bytes between two processes.
class Channel {
 public:
  Channel() { EXPECT_EQ(pipe(fds_), 0); }
  ~Channel() {
    close(fds_[0]);
    close(fds_[1]);
  }
  void Send(char byte) { EXPECT_EQ(write(fds_[1], &byte, 1), 1); }
  // The next byte, or 0 when none arrives within `timeoutMs`.
  char Receive(int timeoutMs = 10000) {
    pollfd watch{fds_[0], POLLIN, 0};
    if (poll(&watch, 1, timeoutMs) != 1) return 0;
    char byte = 0;
    return read(fds_[0], &byte, 1) == 1 ? byte : 0;
  }

 private:
  int fds_[2] = {-1, -1};
};

// Runs `body` in a child process, which ends with its result as exit code.
pid_t Spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 90;
    try {
      code = body();
    } catch (...) {
      code = 91;
    }
    _exit(code);
  }
  return pid;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class MultiProcessTest : public DataTest {
 protected:
  static constexpr int16_t kFile = 510;

  void SetUp() override {
    WriteTemplate("Small", SmallFile());
    OpenSmall();
    for (const char* code : {"A", "B"}) {
      std::memcpy(buffer_, SmallRecord(code, 1).data(), 20);
      int16_t status = -1;
      InsertRecord(kFile, status);
      ASSERT_EQ(status, 0);
    }
    // No process forks while it has files open.
    ResetDataState();
    ShortenWaits();
  }

  int16_t OpenSmall() {
    int16_t status = -1;
    OpenDataFile(kFile, "DADES\\Small", buffer_, sizeof buffer_, status);
    return status;
  }

  // A child that reads record "A" under a lock (lock mode 2), tells `locked`,
  // and holds it until told, then reads "B" (giving "A" up) and tells again.
  pid_t LockHolder(Channel& locked, Channel& release) {
    return Spawn([&] {
      if (OpenSmall() != 0) return 1;
      int16_t status = -1;
      SetLockMode(kFile, "b", status);
      ReadByKey(kFile, 0, "A   ", 0, status);
      if (status != 0) return 2;
      locked.Send('L');
      const char order = release.Receive(30000);
      if (order == 'W') platform::SleepMilliseconds(200);
      ReadByKey(kFile, 0, "B   ", 0, status);
      locked.Send('R');
      release.Receive(30000);
      return 0;
    });
  }

  char buffer_[20] = {};
};

TEST_F(MultiProcessTest, ARecordLockedElsewhereIsRefusedOrWaitedFor) {
  Channel locked, release;
  const pid_t holder = LockHolder(locked, release);
  ASSERT_EQ(locked.Receive(), 'L');
  ASSERT_EQ(OpenSmall(), 0);
  int16_t status = -1;
  SetLockMode(kFile, "b", status);
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(status, recman::kRecordInUse);
  EXPECT_TRUE(events_.empty());
  // Lock mode 1 waits while the holder keeps it 200 ms more: one message,
  // shown from the second attempt on and removed at the end.
  SetLockMode(kFile, "a", status);
  release.Send('W');
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(locked.Receive(0), 'R');
  EXPECT_EQ(events_, (std::vector<std::string>{"show:FITXER BLOQUEJAT. ESPEREU UN MOMENT.", "pop"}));
  release.Send('E');
  EXPECT_EQ(ExitCodeOf(holder), 0);
}

// Writes take no lock bias, yet in lock mode 1 they wait for the record too.
TEST_F(MultiProcessTest, AnUpdateInLockModeOneWaitsForTheRecord) {
  Channel locked, release;
  const pid_t holder = LockHolder(locked, release);
  ASSERT_EQ(locked.Receive(), 'L');
  ASSERT_EQ(OpenSmall(), 0);
  int16_t status = -1;
  ReadByKey(kFile, 0, "A   ", 0, status);
  ASSERT_EQ(status, 0);
  SetLockMode(kFile, "a", status);
  std::memcpy(buffer_ + 6, "waited", 6);
  release.Send('W');
  UpdateRecord(kFile, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(locked.Receive(0), 'R');
  EXPECT_EQ(std::string(buffer_ + 6, 6), "waited");
  EXPECT_EQ(events_.size(), 2u);
  release.Send('E');
  EXPECT_EQ(ExitCodeOf(holder), 0);
}

TEST_F(MultiProcessTest, AKilledProcessLeavesNoRecordLockBehind) {
  Channel locked, release;
  const pid_t holder = LockHolder(locked, release);
  ASSERT_EQ(locked.Receive(), 'L');
  ASSERT_EQ(OpenSmall(), 0);
  int16_t status = -1;
  SetLockMode(kFile, "b", status);
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(status, recman::kRecordInUse);
  kill(holder, SIGKILL);
  EXPECT_EQ(ExitCodeOf(holder), 128 + SIGKILL);
  ReadByKey(kFile, 0, "A   ", 0, status);
  EXPECT_EQ(status, 0);
  std::memcpy(buffer_ + 6, "after", 5);
  UpdateRecord(kFile, status);
  EXPECT_EQ(status, 0);
}

TEST_F(MultiProcessTest, AnOpenWaitsWhileAnotherProcessHoldsTheFileExclusively) {
  Channel held, released;
  const pid_t holder = Spawn([&] {
    PositionBlock block{};
    char owner[5] = {};
    uint32_t ownerLength = 5;
    char path[256] = "DADES\\Small.dat";
    uint8_t pathLength = static_cast<uint8_t>(std::strlen(path));
    if (RecordManagerCall(recman::kOpen, block, owner, ownerLength, path, pathLength, recman::kOpenExclusive) != 0) return 1;
    held.Send('H');
    platform::SleepMilliseconds(300);
    ResetDataState();
    released.Send('R');
    return 0;
  });
  ASSERT_EQ(held.Receive(), 'H');
  PositionBlock block{};
  char owner[5] = {};
  uint32_t ownerLength = 5;
  char path[256] = "DADES\\Small.dat";
  uint8_t pathLength = static_cast<uint8_t>(std::strlen(path));
  EXPECT_EQ(RecordManagerCall(recman::kOpen, block, owner, ownerLength, path, pathLength, 0), recman::kFileInUse);
  EXPECT_EQ(OpenSmall(), 0);
  EXPECT_EQ(released.Receive(0), 'R');  // the open came back only once the file was free
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(ExitCodeOf(holder), 0);
}

// Workstations starting at once all find the file missing: one creates it,
// the others wait for it and open it.
TEST_F(MultiProcessTest, ProcessesOpeningAMissingFileAtOnceAllGetIt) {
  WriteTemplate("Fresh", SmallFile());
  Channel start;
  std::vector<pid_t> children;
  for (int child = 0; child < 4; ++child) {
    children.push_back(Spawn([&, child] {
      start.Receive();
      int16_t status = -1;
      OpenDataFile(kFile, "DADES\\Fresh", buffer_, sizeof buffer_, status);
      if (status != 0) return 1;
      std::memcpy(buffer_, SmallRecord(std::to_string(child), 1).data(), 20);
      InsertRecord(kFile, status);
      return status == 0 ? 0 : 2;
    }));
  }
  for (size_t i = 0; i < children.size(); ++i) start.Send('G');
  for (pid_t child : children) EXPECT_EQ(ExitCodeOf(child), 0);
  int16_t status = -1;
  OpenDataFile(kFile, "DADES\\Fresh", buffer_, sizeof buffer_, status);
  ASSERT_EQ(status, 0);
  ReadByKey(kFile, 0, "", 1, status);
  int records = 0;
  for (; status == 0; SkipRecords(kFile, 1, status)) ++records;
  EXPECT_EQ(records, 4);
}

TEST_F(MultiProcessTest, ASecondWorkstationWaitsForAKeyLock) {
  Channel locked, released;
  const pid_t first = Spawn([&] {
    // Another workstation: its own temporary directory and identity. (A
    // forked child draws the same random numbers as its parent.)
    Session().TempDir = scratch_.Path() + "other\\";
    WriteFile(scratch_.Path() + "other/LOCKS.TMP", std::string("\x92\x10\0\0OTHER          ", 19));
    ResetLockFileState();
    if (Workstation().Number != 0x1092) return 2;
    if (LockKey("PagamV", "\x81\xC8") != 0) return 1;
    locked.Send('L');
    platform::SleepMilliseconds(300);
    released.Send(ReleaseLock("PagamV") == 0 ? 'R' : 'X');
    return 0;
  });
  ASSERT_EQ(locked.Receive(), 'L');
  SetLockWaitMode(' ');
  EXPECT_EQ(LockKey("PagamV", "\x81\xC8"), 0);
  EXPECT_EQ(released.Receive(0), 'R');
  EXPECT_EQ(events_, (std::vector<std::string>{"show:FITXER BLOQUEJAT. ESPEREU UN MOMENT.", "pop"}));
  EXPECT_EQ(ExitCodeOf(first), 0);
  EXPECT_EQ(ReleaseLock("PagamV"), 0);
}

}  // namespace
}  // namespace olm::testing
