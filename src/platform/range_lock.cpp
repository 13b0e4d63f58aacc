#include "platform/range_lock.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace olm::platform {
namespace {

// One byte lock request of an open-file description.
bool SetByteLock(int fd, uint64_t offset, short type) {
  struct flock request {};
  request.l_type = type;
  request.l_whence = SEEK_SET;
  request.l_start = static_cast<off_t>(offset);
  request.l_len = 1;
  request.l_pid = 0;  // required by open-file-description locks
  return fcntl(fd, F_OFD_SETLK, &request) == 0;
}

}  // namespace

RangeLockFile::RangeLockFile(RangeLockFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

RangeLockFile& RangeLockFile::operator=(RangeLockFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

RangeLockFile::~RangeLockFile() { Close(); }

RangeLockOpen RangeLockFile::Open(const std::string& hostPath, bool exclusive) {
  Close();
  int fd = open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return RangeLockOpen::Failed;
  if (flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    int error = errno;
    close(fd);
    return error == EWOULDBLOCK ? RangeLockOpen::InUse : RangeLockOpen::Failed;
  }
  fd_ = fd;
  return RangeLockOpen::Opened;
}

void RangeLockFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool RangeLockFile::TryLock(uint64_t offset) { return fd_ >= 0 && SetByteLock(fd_, offset, F_WRLCK); }

void RangeLockFile::Unlock(uint64_t offset) {
  if (fd_ >= 0) SetByteLock(fd_, offset, F_UNLCK);
}

bool RenameNoReplace(const std::string& fromHost, const std::string& toHost) {
  // A hard link fails when the target exists, which makes the check and the
  // move one step; the temporary name is removed afterwards.
  if (link(fromHost.c_str(), toHost.c_str()) != 0) return false;
  unlink(fromHost.c_str());
  return true;
}

bool RenameReplace(const std::string& fromHost, const std::string& toHost) {
  return rename(fromHost.c_str(), toHost.c_str()) == 0;
}

bool DeleteHostFile(const std::string& hostPath) {
  return unlink(hostPath.c_str()) == 0 || errno == ENOENT;
}

bool HostFileExists(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0;
}

int64_t ProcessId() { return static_cast<int64_t>(getpid()); }

}  // namespace olm::platform
