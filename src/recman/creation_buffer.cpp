#include "recman/creation_buffer.h"

#include "recman/record_manager.h"

namespace olm::recman {
namespace {

void Put16(std::string& out, size_t at, uint16_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8);
}

}  // namespace

std::string BuildCreationBuffer(const FileDescription& file) {
  std::string out(kFileSpecSize, '\0');
  Put16(out, 0, file.recordLength);
  Put16(out, 2, file.pageSize);
  Put16(out, 4, static_cast<uint16_t>(file.keys.size()));
  for (const KeyDescription& key : file.keys) {
    for (size_t s = 0; s < key.size(); ++s) {
      std::string segment(kSegmentSpecSize, '\0');
      uint16_t flags = static_cast<uint16_t>(key[s].flags & ~kSegmentFollows);
      if (s + 1 < key.size()) flags |= kSegmentFollows;
      Put16(segment, 0, key[s].position);
      Put16(segment, 2, key[s].length);
      Put16(segment, 4, flags);
      out += segment;
    }
  }
  if (!file.collationTable.empty()) {
    out += static_cast<char>(kCollatingSignature);
    std::string name = file.collationName;
    name.resize(8, ' ');
    out += name;
    out += file.collationTable;
  }
  return out;
}

std::string UpperCaseCollation() {
  std::string table(256, '\0');
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char>(i >= 'a' && i <= 'z' ? i - 32 : i);
  return table;
}

}  // namespace olm::recman
