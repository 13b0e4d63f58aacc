#pragma once
// A file used for locks only: the whole file is held shared or exclusive
// (flock) for as long as it is open, and single bytes of it are locked as
// stand-ins for records (open-file-description locks). Both kinds of lock go
// with the open file: a process that dies, however it dies, holds none.

#include <cstdint>
#include <string>

namespace olm::platform {

enum class RangeLockOpen { Opened, InUse, Failed };

class RangeLockFile {
 public:
  RangeLockFile() = default;
  RangeLockFile(const RangeLockFile&) = delete;
  RangeLockFile& operator=(const RangeLockFile&) = delete;
  RangeLockFile(RangeLockFile&& other) noexcept;
  RangeLockFile& operator=(RangeLockFile&& other) noexcept;
  ~RangeLockFile();

  // Opens (creating it when missing) the file at the host path `hostPath`
  // and takes a shared or exclusive hold of it without waiting. InUse when
  // another open's hold conflicts.
  RangeLockOpen Open(const std::string& hostPath, bool exclusive);
  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  // Locks byte `offset` for this open without waiting; false when another
  // open (of this process or another one) holds it. Taking a byte this open
  // already holds succeeds.
  bool TryLock(uint64_t offset);
  void Unlock(uint64_t offset);

 private:
  int fd_ = -1;
};

// Moves the file `fromHost` to `toHost` (host paths) unless `toHost` exists;
// false when it exists or the move fails.
bool RenameNoReplace(const std::string& fromHost, const std::string& toHost);

// Replaces `toHost` by `fromHost` in one step.
bool RenameReplace(const std::string& fromHost, const std::string& toHost);

// Deletes a file given by its host path; true when it is gone.
bool DeleteHostFile(const std::string& hostPath);

bool HostFileExists(const std::string& hostPath);

// This process's id; it tells a process from the one it was forked from.
int64_t ProcessId();

}  // namespace olm::platform
