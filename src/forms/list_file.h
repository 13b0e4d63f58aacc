#pragma once
// The list file of a browse list, TempDir + "Browse.tmp": the lines produced
// so far, one record each, appended in list order, so that moving back and
// forth never reads the data file again. A record at 1-based position p:
//   4 bytes  position of the previous line's record (0 for the first line)
//   4 bytes  physical position of the data record the line shows
//   2 bytes  length n of the text, then the n bytes of the text
// All numbers little-endian. When the file cannot be opened the lines are
// kept in memory instead, so a list still works without its file.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace olm {

struct ListLine {
  int32_t position = 0;  // of this record in the list file; 0 for no line
  int32_t previous = 0;
  int32_t dataPosition = 0;
  std::string text;
};

class ListFile {
 public:
  // Opens the list file, emptied first when `empty`.
  explicit ListFile(bool empty);
  ListFile(const ListFile&) = delete;
  ListFile& operator=(const ListFile&) = delete;

  // The position just after the last record.
  int32_t EndPosition() const;
  // The record at `position`; false when no whole record starts there.
  bool Read(int32_t position, ListLine& line) const;
  // Appends a line after the last one appended (or found at open) and
  // returns it as read back. Texts longer than 65535 bytes are cut.
  ListLine Append(int32_t dataPosition, std::string_view text);
  // Closes the file and deletes it.
  void CloseAndDelete();

  static std::string Path();

 private:
  int64_t ReadBytes(int32_t position, void* buffer, size_t size) const;

  platform::File file_;
  std::string memory_;  // used when the file could not be opened
  bool inMemory_ = false;
  int32_t lastAppended_ = 0;
};

}  // namespace olm
