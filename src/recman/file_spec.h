#pragma once
// The description of a file given at its creation: record length, keys and
// their segments, and the collating sequence. It also turns records and key
// values into the sort form in which keys are stored and compared.

#include <cstdint>
#include <string>
#include <vector>

namespace olm::recman {

struct Segment {
  uint16_t position = 1;  // 1-based offset in the record
  uint16_t length = 0;
  uint16_t flags = 0;
};

struct KeySpec {
  std::vector<Segment> segments;
  bool duplicates = false;
  uint16_t length = 0;  // sum of the segment lengths
};

struct FileSpec {
  uint16_t recordLength = 0;
  std::vector<KeySpec> keys;
  std::string collation;  // 256 bytes, or empty when no key uses one
  std::string buffer;     // the creation buffer as stored; Stat answers it
};

// Reads a creation buffer of `length` bytes; false when it is malformed.
// Bytes after the description (a template's trailing blanks) are ignored.
bool ParseFileSpec(const uint8_t* data, size_t length, FileSpec& spec);

// The key's value as it lies in `record`: its segments one after the other.
std::string KeyValue(const FileSpec& spec, int key, const uint8_t* record);

// The sort form of a key value (segments laid out one after the other):
// binary segments reversed into big-endian, collated segments mapped through
// the collating sequence, so that byte order is key order.
std::string SortForm(const FileSpec& spec, int key, const uint8_t* value);

}  // namespace olm::recman
