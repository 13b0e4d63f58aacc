#pragma once
// Test support: a scratch directory per test, files written into it, and
// environment variables set for the length of a test.

#include <map>
#include <optional>
#include <string>

namespace olm::testing {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes. The current directory is moved into
// it while the object lives.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // The directory's path, ending with "/".
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string previousDirectory_;
};

// Writes `content` to `path` (host path), creating the directories on the way.
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool PathExists(const std::string& path);

// Sets (or, with nullopt, unsets) environment variables, restoring them all
// when the object goes.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& name, std::optional<std::string> value);
  // Unsets every variable the program reads.
  void ClearProgramVariables();

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace olm::testing
