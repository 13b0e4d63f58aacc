#include "session/ini_reader.h"

#include "platform/file.h"
#include "text/fold_case.h"
#include "text/text_reader.h"

namespace olm {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// Names compare upper-cased, on both sides.
std::string NameKey(std::string_view name) { return UpperCase(name); }

}  // namespace

std::string ReadIniValue(std::string_view path, std::string_view section, std::string_view key) {
  std::string content;
  if (path.empty() || !platform::ReadWholeFile(path, content)) return "";

  const std::string wantedSection = NameKey(TrimBlanks(section));
  const std::string wantedKey = NameKey(TrimBlanks(key));
  std::string result;
  bool inSection = false;

  TextReader reader(std::move(content));
  while (!reader.AtEnd()) {
    std::string fullLine = reader.ReadLine();
    std::string_view line = fullLine;
    line = line.substr(0, line.find(';'));  // a comment runs to the line end, even inside quotes
    line.remove_prefix(std::min(line.size(), line.find_first_not_of(' ')));
    if (TrimTrailingBlanks(line).empty()) continue;

    if (!inSection) {
      if (line[0] == '[') {
        std::string_view name = line.substr(1);
        name = name.substr(0, name.find(']'));
        inSection = NameKey(TrimBlanks(name)) == wantedSection;
      }
      continue;
    }
    if (line[0] == '[') break;  // the section ended without the key
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (NameKey(TrimTrailingBlanks(line.substr(0, equals))) == wantedKey) {
      result = std::string(line.substr(equals + 1));
      break;
    }
  }

  if (result.size() > 1 && result.front() == '"' && result.back() == '"') result = result.substr(1, result.size() - 2);
  return result;
}

}  // namespace olm
