#include "scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace olm::testing {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (fs::temp_directory_path() / "olm-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
  previousDirectory_ = fs::current_path().string();
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::current_path(previousDirectory_, ignored);
  fs::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
  fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool PathExists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : saved_) {
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }
}

void ScopedEnvironment::Set(const std::string& name, std::optional<std::string> value) {
  if (!saved_.count(name)) {
    const char* old = std::getenv(name.c_str());
    saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
  }
  if (value)
    setenv(name.c_str(), value->c_str(), 1);
  else
    unsetenv(name.c_str());
}

void ScopedEnvironment::ClearProgramVariables() {
  for (const char* name : {"OLMROOT", "OLMTMP", "TERM", "HTTP_USER_AGENT", "HTTP_ACCEPT", "WINDIR", "SYSTEMROOT", "COMSPEC"})
    Set(name, std::nullopt);
}

}  // namespace olm::testing
