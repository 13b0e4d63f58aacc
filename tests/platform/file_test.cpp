#include "platform/file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "scratch.h"

namespace olm::platform {
namespace {

TEST(HostPath, TurnsProgramPathsIntoLinuxPathsIgnoringLetterCase) {
  testing::ScratchDirectory scratch;
  testing::WriteFile(scratch.Path() + "LOCKS/PagamV.lck", "x");
  testing::WriteFile(scratch.Path() + "dades/TDespesa.dat", "x");
  testing::WriteFile(scratch.Path() + "caf\xc3\xa9/a", "x");

  const std::string root = scratch.Path();
  EXPECT_EQ(HostPath(root + "LOCKS\\PAGAMV.lck"), root + "LOCKS/PagamV.lck");
  EXPECT_EQ(HostPath("DADES\\tdespesa.DAT"), "dades/TDespesa.dat");  // relative to the current directory
  EXPECT_EQ(HostPath("DADES\\New.dat"), "dades/New.dat");            // a new file keeps its spelling
  EXPECT_EQ(HostPath("CAF\x90\\A"), "caf\xc3\xa9/a");                // É (144) matches é
  EXPECT_EQ(HostPath("missing\\Dir\\x"), "missing/Dir/x");
  EXPECT_EQ(HostPath(root + "\\\\LOCKS\\"), root + "LOCKS/");  // doubled separators collapse
}

TEST(File, OpenErrorsTellMissingFilesFromMissingDirectories) {
  testing::ScratchDirectory scratch;
  EXPECT_EQ(File::Open("none.txt", Access::Read, Sharing::Shared, Creation::MustExist).Error(), OpenError::NotFound);
  EXPECT_EQ(File::Open("nodir\\x.lck", Access::ReadWrite, Sharing::Exclusive, Creation::OpenOrCreate).Error(),
            OpenError::DirectoryMissing);
  ASSERT_TRUE(MakeDirectory("NoDir"));
  File created = File::Open("nodir\\x.lck", Access::ReadWrite, Sharing::Exclusive, Creation::OpenOrCreate);
  ASSERT_TRUE(created.IsOpen());
  EXPECT_TRUE(created.WriteAt(3, "ab", 2));
  EXPECT_EQ(created.Size(), 5);
  EXPECT_EQ(created.ReadAll(), std::string("\0\0\0ab", 5));
  EXPECT_TRUE(created.Append("c"));
  EXPECT_TRUE(FileExists("NODIR\\X.LCK"));
  created.Close();
  EXPECT_TRUE(DeleteFile("NODIR\\X.LCK"));
  EXPECT_FALSE(FileExists("NoDir\\x.lck"));
}

// A child process holds the file open with `sharing` until told to close it.
class Holder {
 public:
  Holder(const std::string& path, Sharing sharing) {
    int ready[2], release[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(release), 0);
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      File file = File::Open(path, Access::ReadWrite, sharing, Creation::OpenOrCreate);
      char answer = file.IsOpen() ? 'y' : 'n';
      (void)!write(ready[1], &answer, 1);
      char byte;
      (void)!read(release[0], &byte, 1);
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    char answer = 0;
    EXPECT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    close(ready[0]);
    release_ = release[1];
  }
  void Release() {
    if (pid_ <= 0) return;
    close(release_);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
  ~Holder() { Release(); }

 private:
  pid_t pid_ = 0;
  int release_ = -1;
};

TEST(File, ExclusiveAndSharedOpensConflictBetweenProcesses) {
  testing::ScratchDirectory scratch;
  const auto open = [](Sharing sharing) {
    return File::Open("shared.dat", Access::ReadWrite, sharing, Creation::OpenOrCreate);
  };
  {
    Holder holder("shared.dat", Sharing::Exclusive);
    EXPECT_EQ(open(Sharing::Exclusive).Error(), OpenError::InUse);
    EXPECT_EQ(open(Sharing::Shared).Error(), OpenError::InUse);
    holder.Release();
    EXPECT_TRUE(open(Sharing::Exclusive).IsOpen());
  }
  {
    Holder holder("shared.dat", Sharing::Shared);
    EXPECT_TRUE(open(Sharing::Shared).IsOpen());
    EXPECT_EQ(open(Sharing::Exclusive).Error(), OpenError::InUse);
  }
}

TEST(File, TruncateWaitsForTheLockBeforeEmptyingTheFile) {
  testing::ScratchDirectory scratch;
  testing::WriteFile(scratch.Path() + "busy.tmp", "content");
  Holder holder("busy.tmp", Sharing::Shared);
  EXPECT_EQ(File::Open("busy.tmp", Access::ReadWrite, Sharing::Exclusive, Creation::Truncate).Error(),
            OpenError::InUse);
  EXPECT_EQ(testing::ReadFile(scratch.Path() + "busy.tmp"), "content");
}

}  // namespace
}  // namespace olm::platform
