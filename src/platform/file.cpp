#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/codepage.h"
#include "platform/host_path.h"

namespace olm::platform {
namespace {

OpenError ErrorFromErrno(int error, const std::string& hostPath) {
  switch (error) {
    case ENOENT: {
      // Tell a missing file from a missing directory.
      auto slash = hostPath.rfind('/');
      if (slash == std::string::npos) return OpenError::NotFound;
      std::string directory = slash == 0 ? "/" : hostPath.substr(0, slash);
      struct stat info;
      return stat(directory.c_str(), &info) == 0 ? OpenError::NotFound : OpenError::DirectoryMissing;
    }
    case ENOTDIR: return OpenError::DirectoryMissing;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return OpenError::Denied;
    default: return OpenError::Other;
  }
}

}  // namespace

File::File(File&& other) noexcept : fd_(other.fd_), error_(other.error_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    error_ = other.error_;
    other.fd_ = -1;
  }
  return *this;
}

File::~File() { Close(); }

File File::Open(std::string_view path, Access access, Sharing sharing, Creation creation) {
  File file;
  const std::string hostPath = HostPath(path);
  int flags = O_CLOEXEC | (access == Access::Read ? O_RDONLY : O_RDWR);
  if (creation != Creation::MustExist) flags |= O_CREAT;
  if (hostPath.empty()) {
    file.error_ = OpenError::NotFound;
    return file;
  }
  int fd = open(hostPath.c_str(), flags, 0666);
  if (fd < 0) {
    file.error_ = ErrorFromErrno(errno, hostPath);
    return file;
  }
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    file.error_ = OpenError::Denied;
    return file;
  }
  if (flock(fd, (sharing == Sharing::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    close(fd);
    file.error_ = OpenError::InUse;
    return file;
  }
  // Truncate only once the lock shows that nobody else has the file open.
  if (creation == Creation::Truncate && ftruncate(fd, 0) != 0) {
    close(fd);
    file.error_ = OpenError::Other;
    return file;
  }
  file.fd_ = fd;
  return file;
}

int64_t File::ReadAt(uint64_t offset, void* buffer, size_t size) const {
  if (fd_ < 0) return -1;
  size_t done = 0;
  while (done < size) {
    ssize_t n = pread(fd_, static_cast<char*>(buffer) + done, size - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return static_cast<int64_t>(done);
}

bool File::WriteAt(uint64_t offset, const void* buffer, size_t size) {
  if (fd_ < 0) return false;
  size_t done = 0;
  while (done < size) {
    ssize_t n = pwrite(fd_, static_cast<const char*>(buffer) + done, size - done, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

bool File::Append(std::string_view bytes) {
  int64_t end = Size();
  return end >= 0 && WriteAt(end, bytes.data(), bytes.size());
}

int64_t File::Size() const {
  struct stat info;
  if (fd_ < 0 || fstat(fd_, &info) != 0) return -1;
  return info.st_size;
}

bool File::Truncate(uint64_t size) { return fd_ >= 0 && ftruncate(fd_, size) == 0; }

bool File::Sync() { return fd_ >= 0 && fdatasync(fd_) == 0; }

void File::Close() {
  if (fd_ >= 0) close(fd_);  // closing the descriptor also drops its flock
  fd_ = -1;
}

std::string File::ReadAll() const {
  std::string content;
  int64_t size = Size();
  if (size <= 0) return content;
  content.resize(size);
  int64_t got = ReadAt(0, content.data(), content.size());
  content.resize(got < 0 ? 0 : got);
  return content;
}

bool ReadWholeFile(std::string_view path, std::string& content) {
  File file = File::Open(path, Access::Read, Sharing::Shared, Creation::MustExist);
  if (!file.IsOpen()) return false;
  content = file.ReadAll();
  return true;
}

bool FileExists(std::string_view path) {
  struct stat info;
  return stat(HostPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(std::string_view path) {
  struct stat info;
  return stat(HostPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(std::string_view path) {
  const std::string hostPath = HostPath(path);
  if (mkdir(hostPath.c_str(), 0777) == 0) return true;
  return DirectoryExists(path);
}

bool DeleteFile(std::string_view path) { return unlink(HostPath(path).c_str()) == 0; }

bool ChangeDirectory(std::string_view path) {
  const std::string hostPath = HostPath(path);
  return !hostPath.empty() && chdir(hostPath.c_str()) == 0;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) return "";
  return Utf8ToCp850(buffer);
}

}  // namespace olm::platform
