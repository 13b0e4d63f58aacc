#pragma once
// Files opened the way the original platform opened them: with explicit
// sharing. A shared open takes a shared flock, an exclusive open an exclusive
// one, both without waiting, so an open that conflicts with another process's
// open fails as a sharing violation would. Paths are program paths (code page
// 850, backslashes); HostPath resolves them.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm::platform {

enum class Access { Read, ReadWrite };
enum class Sharing { Shared, Exclusive };
enum class Creation {
  MustExist,     // fail when the file does not exist
  OpenOrCreate,  // create an empty file when it does not exist
  Truncate,      // create, or empty an existing file
};

enum class OpenError {
  None,
  NotFound,          // the file does not exist
  DirectoryMissing,  // a directory of the path does not exist
  InUse,             // another open conflicts with the requested sharing
  Denied,            // no permission, or the path names a directory
  Other,
};

class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  ~File();

  // Opens `path`; check IsOpen() or the error of the returned file.
  static File Open(std::string_view path, Access access, Sharing sharing, Creation creation);

  bool IsOpen() const { return fd_ >= 0; }
  OpenError Error() const { return error_; }

  // Reads up to `size` bytes at `offset`; returns the number read (0 at the end, -1 on error).
  int64_t ReadAt(uint64_t offset, void* buffer, size_t size) const;
  // Writes all `size` bytes at `offset`; false on error.
  bool WriteAt(uint64_t offset, const void* buffer, size_t size);
  // Appends at the current end of the file.
  bool Append(std::string_view bytes);
  int64_t Size() const;
  bool Truncate(uint64_t size);
  // Makes what was written durable.
  bool Sync();
  void Close();

  // The whole content, or what could be read of it.
  std::string ReadAll() const;

 private:
  int fd_ = -1;
  OpenError error_ = OpenError::None;
};

// Reads a whole file opened for shared reading; false when it cannot be opened.
bool ReadWholeFile(std::string_view path, std::string& content);

bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
// Creates one directory; true when it exists afterwards.
bool MakeDirectory(std::string_view path);
bool DeleteFile(std::string_view path);
bool ChangeDirectory(std::string_view path);
// The current directory as a program text (code page 850).
std::string CurrentDirectory();

}  // namespace olm::platform
