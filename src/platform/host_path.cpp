#include "platform/host_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/codepage.h"

namespace olm::platform {
namespace {

// Upper case of the Latin letters that code page 850 holds, for comparing
// names the way a case-insensitive file system does.
char32_t UpperCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0x131) return U'I';
  return c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    auto ca = DecodeUtf8(a, i);
    auto cb = DecodeUtf8(b, j);
    if (!ca || !cb) {
      if (a[i - 1] != b[j - 1]) return false;
      continue;
    }
    if (UpperCase(*ca) != UpperCase(*cb)) return false;
  }
  return i == a.size() && j == b.size();
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The entry of `directory` whose name matches `name` ignoring case, or `name`.
std::string ResolveComponent(const std::string& directory, const std::string& name) {
  const std::string prefix = directory.empty() ? "" : directory;
  if (name == "." || name == ".." || Exists(prefix + name)) return name;
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return name;
  std::string match = name;
  while (dirent* entry = readdir(dir)) {
    if (SameIgnoringCase(entry->d_name, name)) {
      match = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return match;
}

}  // namespace

std::string HostPath(std::string_view programPath) {
  std::string utf8 = Cp850ToUtf8(programPath);
  for (char& c : utf8)
    if (c == '\\') c = '/';

  std::string resolved;
  size_t start = 0;
  if (!utf8.empty() && utf8[0] == '/') {
    resolved = "/";
    start = 1;
  }
  while (start <= utf8.size()) {
    size_t slash = utf8.find('/', start);
    const bool last = slash == std::string::npos;
    std::string component = utf8.substr(start, last ? std::string::npos : slash - start);
    if (!component.empty()) resolved += ResolveComponent(resolved, component);
    if (last) break;
    if (!resolved.empty() && resolved.back() != '/') resolved += '/';
    start = slash + 1;
  }
  return resolved;
}

}  // namespace olm::platform
