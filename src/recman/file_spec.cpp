#include "recman/file_spec.h"

#include <algorithm>

#include "recman/record_manager.h"

namespace olm::recman {
namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Reads the segment descriptions of `keyCount` keys starting at `offset`;
// false when the buffer ends first or a segment does not fit the record.
bool ReadKeys(const uint8_t* data, size_t length, int keyCount, FileSpec& spec, size_t& offset) {
  for (int k = 0; k < keyCount; ++k) {
    KeySpec key;
    bool more = true;
    while (more) {
      if (offset + kSegmentSpecSize > length) return false;
      Segment segment{Read16(data + offset), Read16(data + offset + 2), Read16(data + offset + 4)};
      offset += kSegmentSpecSize;
      if (segment.position < 1 || segment.length < 1 ||
          segment.position + segment.length - 1 > spec.recordLength)
        return false;
      more = (segment.flags & kSegmentFollows) != 0;
      key.length = static_cast<uint16_t>(key.length + segment.length);
      key.segments.push_back(segment);
    }
    // A key allows duplicates when its first segment says so.
    key.duplicates = (key.segments.front().flags & kDuplicatesAllowed) != 0;
    if (key.length > kMaxKeyLength) return false;
    spec.keys.push_back(std::move(key));
  }
  return true;
}

bool UsesCollation(const FileSpec& spec) {
  for (const KeySpec& key : spec.keys)
    for (const Segment& segment : key.segments)
      if (segment.flags & kAlternateCollation) return true;
  return false;
}

}  // namespace

bool ParseFileSpec(const uint8_t* data, size_t length, FileSpec& spec) {
  spec = FileSpec{};
  if (length < static_cast<size_t>(kFileSpecSize)) return false;
  spec.recordLength = Read16(data);
  const int keyCount = Read16(data + 4);
  if (spec.recordLength < 1 || keyCount < 1 || keyCount > 119) return false;
  size_t offset = kFileSpecSize;
  if (!ReadKeys(data, length, keyCount, spec, offset)) return false;
  if (UsesCollation(spec)) {
    if (offset + kCollatingSequenceSize > length || data[offset] != kCollatingSignature) return false;
    spec.collation.assign(reinterpret_cast<const char*>(data + offset + 9), 256);
    offset += kCollatingSequenceSize;
  }
  spec.buffer.assign(reinterpret_cast<const char*>(data), offset);
  return true;
}

std::string KeyValue(const FileSpec& spec, int key, const uint8_t* record) {
  std::string value;
  value.reserve(spec.keys[key].length);
  for (const Segment& segment : spec.keys[key].segments)
    value.append(reinterpret_cast<const char*>(record + segment.position - 1), segment.length);
  return value;
}

std::string SortForm(const FileSpec& spec, int key, const uint8_t* value) {
  std::string sort(reinterpret_cast<const char*>(value), spec.keys[key].length);
  size_t at = 0;
  for (const Segment& segment : spec.keys[key].segments) {
    auto begin = sort.begin() + static_cast<std::ptrdiff_t>(at);
    auto end = begin + segment.length;
    if (segment.flags & kBinarySegment) {
      std::reverse(begin, end);
    } else if (segment.flags & kAlternateCollation) {
      for (auto it = begin; it != end; ++it)
        *it = spec.collation[static_cast<uint8_t>(*it)];
    }
    at += segment.length;
  }
  return sort;
}

}  // namespace olm::recman
