#pragma once
// Reading and writing records of the open data files. Every operation names
// the file by its FileId and moves the record through the buffer given at
// open; the current key number and key value of the file's slot carry the
// position from one call to the next.

#include <cstdint>
#include <string>
#include <string_view>

namespace olm {

// The record whose key equals `keyValue` (direction 0), the first at or after
// it (direction > 0) or the last at or before it (direction < 0).
void ReadByKey(int16_t fileId, int16_t keyNumber, std::string keyValue, int16_t direction, int16_t& status);
// Moves `count` records along the current key and reads the one reached.
void SkipRecords(int16_t fileId, int16_t count, int16_t& status);
// Position 0: the current record's physical position (0 on failure);
// otherwise reads the record at `position` and returns the status.
int32_t RecordPosition(int16_t fileId, int32_t position);
void InsertRecord(int16_t fileId, int16_t& status);
void UpdateRecord(int16_t fileId, int16_t& status);
void DeleteRecord(int16_t fileId, int16_t& status);
// "D", "A", "B" set lock mode 0, 1, 2; "+" saves the mode, "-" restores the
// last one saved for this file. Sets `status` only to report 3.
void SetLockMode(int16_t fileId, std::string_view letters, int16_t& status);
// The key value rewritten so that byte order is the file's key order.
std::string KeySortText(std::string keyValue, int16_t fileId);
std::string CurrentKeySortText(int16_t fileId);

void ResetLockModeStack();

}  // namespace olm
