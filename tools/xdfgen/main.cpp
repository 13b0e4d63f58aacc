// xdfgen: writes a creation template (.xdf) from its readable description.
//
//   xdfgen DESCRIPTION.txt TEMPLATE.xdf
//
// The description has one statement per line; "#" starts a comment:
//   record-length N
//   page-size N
//   key [duplicates] [modifiable]      starts a new key
//   segment POSITION LENGTH string|binary [collated]
//   collation NAME upper               the collating sequence of collated segments
// The template is a 16-bit little-endian length followed by the creation
// buffer of the record manager.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "recman/creation_buffer.h"
#include "recman/record_manager.h"

namespace {

using namespace olm::recman;

bool Fail(int line, const std::string& message) {
  std::cerr << "xdfgen: line " << line << ": " << message << "\n";
  return false;
}

bool ParseLine(const std::string& text, int line, FileDescription& file) {
  std::istringstream words(text.substr(0, text.find('#')));
  std::string word;
  if (!(words >> word)) return true;
  if (word == "record-length" || word == "page-size") {
    long value = 0;
    if (!(words >> value) || value < 1 || value > 65535) return Fail(line, "a number from 1 to 65535 is needed");
    (word == "record-length" ? file.recordLength : file.pageSize) = static_cast<uint16_t>(value);
  } else if (word == "key") {
    file.keys.emplace_back();
    uint16_t flags = 0;
    while (words >> word) {
      if (word == "duplicates") flags |= kDuplicatesAllowed;
      else if (word == "modifiable") flags |= kModifiable;
      else return Fail(line, "unknown key option " + word);
    }
    file.keys.back().push_back({0, 0, flags});  // holds the key's flags until its first segment
  } else if (word == "segment") {
    if (file.keys.empty()) return Fail(line, "a segment needs a key line before it");
    long position = 0, length = 0;
    std::string type;
    if (!(words >> position >> length >> type) || position < 1 || length < 1)
      return Fail(line, "segment POSITION LENGTH string|binary [collated]");
    KeyDescription& key = file.keys.back();
    uint16_t flags = key.front().flags & (kDuplicatesAllowed | kModifiable);
    if (type == "binary") flags |= kBinarySegment;
    else if (type != "string") return Fail(line, "a segment is string or binary");
    if (words >> word) {
      if (word != "collated") return Fail(line, "unknown segment option " + word);
      flags |= kAlternateCollation;
    }
    SegmentDescription segment{static_cast<uint16_t>(position), static_cast<uint16_t>(length), flags};
    if (key.size() == 1 && key.front().length == 0) key.front() = segment;
    else key.push_back(segment);
  } else if (word == "collation") {
    std::string table;
    if (!(words >> file.collationName >> table) || table != "upper") return Fail(line, "collation NAME upper");
    file.collationTable = UpperCaseCollation();
  } else {
    return Fail(line, "unknown statement " + word);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: xdfgen DESCRIPTION.txt TEMPLATE.xdf\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "xdfgen: cannot read " << argv[1] << "\n";
    return 1;
  }
  FileDescription file;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line)
    if (!ParseLine(text, line, file)) return 1;
  for (const KeyDescription& key : file.keys)
    if (key.front().length == 0) {
      std::cerr << "xdfgen: a key without segments\n";
      return 1;
    }
  if (file.recordLength == 0 || file.keys.empty()) {
    std::cerr << "xdfgen: record-length and at least one key are needed\n";
    return 1;
  }
  const std::string buffer = BuildCreationBuffer(file);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.put(static_cast<char>(buffer.size() & 0xFF)).put(static_cast<char>(buffer.size() >> 8)) << buffer;
  if (!out.flush()) {
    std::cerr << "xdfgen: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
