#pragma once
// Builds the creation buffer of a file from its description: the layout that
// Create takes and Stat answers (see docs/record-manager.md).

#include <cstdint>
#include <string>
#include <vector>

namespace olm::recman {

struct SegmentDescription {
  uint16_t position = 1;  // 1-based
  uint16_t length = 0;
  uint16_t flags = 0;     // kSegmentFollows is set by the builder
};

using KeyDescription = std::vector<SegmentDescription>;

struct FileDescription {
  uint16_t recordLength = 0;
  uint16_t pageSize = 1024;
  std::vector<KeyDescription> keys;
  std::string collationName;   // up to 8 characters
  std::string collationTable;  // 256 bytes, or empty for none
};

std::string BuildCreationBuffer(const FileDescription& file);

// The table that sorts ASCII letters without regard to case.
std::string UpperCaseCollation();

}  // namespace olm::recman
