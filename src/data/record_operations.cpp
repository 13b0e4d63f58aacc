#include "data/record_operations.h"

#include <algorithm>
#include <cstring>

#include "data/data_files.h"
#include "data/lock_wait.h"
#include "recman/record_manager.h"

namespace olm {
namespace {

// Pairs of (slot number, saved lock mode), newest last.
std::string& LockModeStack() {
  static std::string stack;
  return stack;
}

int16_t ReportShortAsSuccess(int16_t status) { return status == recman::kDataBufferTooShort ? 0 : status; }

// After a direct call that found a record, the key it returned becomes the
// current key value, whole (a binary key may hold NUL bytes) and as long as
// the current value. A failed call returns no key and changes nothing.
void TakeReturnedKey(OpenFileSlot& slot, const char* key, int16_t status) {
  if (status == 0 || status == recman::kDataBufferTooShort) slot.KeyValue.assign(key, slot.KeyValue.size());
}

// One Get Next or Get Previous straight to the record manager, with scratch
// buffers: the record buffer is not touched, no lock, no wait.
int16_t DirectStep(OpenFileSlot& slot, int16_t operation, char (&key)[kKeyBufferSize], bool first) {
  std::string data(kDataBufferSize, ' ');
  uint32_t length = kDataBufferSize;
  uint8_t keyLength = first ? 0 : static_cast<uint8_t>(strnlen(key, kKeyBufferSize - 1));
  int16_t status = RecordManagerCall(operation, slot.Block, data.data(), length, key, keyLength,
                                     static_cast<int8_t>(slot.KeyNumber));
  TakeReturnedKey(slot, key, status);
  return ReportShortAsSuccess(status);
}

void ClearKeyValue(OpenFileSlot& slot) { std::fill(slot.KeyValue.begin(), slot.KeyValue.end(), '\0'); }

}  // namespace

void ReadByKey(int16_t fileId, int16_t keyNumber, std::string keyValue, int16_t direction, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  int16_t keyLength = 0;
  uint32_t recordLength = 0;
  GetKeyInfo(fileId, keyNumber, keyLength, recordLength);
  if (keyLength == 0) {
    status = kStatusNoSuchKey;
    return;
  }
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  slot.KeyNumber = keyNumber;
  keyValue.resize(size_t(keyLength), '\0');
  slot.KeyValue = keyValue;
  int16_t operation = direction == 0 ? recman::kGetEqual : direction > 0 ? recman::kGetGreaterOrEqual : recman::kGetLessOrEqual;
  CallWithLockWait(slotNumber, operation, status);
  status = ReportShortAsSuccess(status);
}

void SkipRecords(int16_t fileId, int16_t count, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  status = 0;
  if (count == 0) return;
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  const int16_t operation = count > 0 ? recman::kGetNext : recman::kGetPrevious;
  int n = count > 0 ? count : -int(count);
  char key[kKeyBufferSize] = {};
  bool first = true;
  while (n > 1 && status == 0) {
    status = DirectStep(slot, operation, key, first);
    first = false;
    --n;
  }
  if (n == 1 && status == 0) {
    int16_t code = operation;
    CallWithLockWait(slotNumber, code, status);
    status = ReportShortAsSuccess(status);
  }
}

int32_t RecordPosition(int16_t fileId, int32_t position) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) return 0;
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  std::string data(kDataBufferSize, ' ');
  uint32_t length = kDataBufferSize;
  char key[kKeyBufferSize] = {};
  uint8_t keyLength = 0;
  if (position == 0) {
    int16_t status = RecordManagerCall(recman::kGetPosition, slot.Block, data.data(), length, key, keyLength, 0);
    if (status != 0) return 0;
    uint32_t found = 0;
    for (int i = 3; i >= 0; --i) found = found << 8 | uint8_t(data[size_t(i)]);
    return static_cast<int32_t>(found);
  }
  for (int i = 0; i < 4; ++i) data[size_t(i)] = static_cast<char>(uint32_t(position) >> (8 * i));
  int16_t status = RecordManagerCall(recman::kGetDirect, slot.Block, data.data(), length, key, keyLength,
                                     static_cast<int8_t>(slot.KeyNumber));
  TakeReturnedKey(slot, key, status);
  status = ReportShortAsSuccess(status);
  if (status == 0) std::memcpy(slot.RecordBuffer, data.data(), std::min(slot.RecordLength, length));
  return status;
}

void InsertRecord(int16_t fileId, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  int16_t operation = recman::kInsert;
  CallWithLockWait(slotNumber, operation, status);
  AppendDatabaseLog(fileId, recman::kInsert, status);
  if (status != 0) ClearKeyValue(OpenFiles().Slots[slotNumber]);
}

void UpdateRecord(int16_t fileId, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  const int32_t position = RecordPosition(fileId, 0);
  int16_t operation = recman::kUpdate;
  CallWithLockWait(slotNumber, operation, status);
  AppendDatabaseLog(fileId, recman::kUpdate, status);
  status = ReportShortAsSuccess(status);
  if (status != 0) ClearKeyValue(OpenFiles().Slots[slotNumber]);
  // Read the record back, so the buffer holds it as stored, even after a refusal.
  if (position != 0) RecordPosition(fileId, position);
}

void DeleteRecord(int16_t fileId, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  int16_t operation = recman::kDelete;
  CallWithLockWait(slotNumber, operation, status);
  if (status != 0) ClearKeyValue(OpenFiles().Slots[slotNumber]);
}

void SetLockMode(int16_t fileId, std::string_view letters, int16_t& status) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) {
    status = kStatusFileNotOpen;
    return;
  }
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  std::string& stack = LockModeStack();
  for (char letter : letters) {
    switch (letter) {
      case 'D': case 'd': slot.LockMode = 0; break;
      case 'A': case 'a': slot.LockMode = 1; break;
      case 'B': case 'b': slot.LockMode = 2; break;
      case '+':
        stack += static_cast<char>(slotNumber);
        stack += static_cast<char>(slot.LockMode);
        break;
      case '-':
        for (size_t at = stack.size(); at >= 2; at -= 2) {
          if (stack[at - 2] == static_cast<char>(slotNumber)) {
            slot.LockMode = stack[at - 1];
            stack.erase(at - 2, 2);
            break;
          }
        }
        break;
      default: break;
    }
  }
}

std::string KeySortText(std::string keyValue, int16_t fileId) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) return keyValue;
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  std::string stat(kDataBufferSize, ' ');
  uint32_t length = kDataBufferSize;
  char key[kKeyBufferSize];
  std::memset(key, ' ', kKeyBufferSize);
  uint8_t keyLength = 255;
  int16_t status = RecordManagerCall(recman::kStat, slot.Block, stat.data(), length, key, keyLength, 0);
  if (status != 0 && status != recman::kDataBufferTooShort) return keyValue;
  auto u16 = [&](size_t at) { return uint16_t(uint8_t(stat[at]) | uint8_t(stat[at + 1]) << 8); };
  const int keys = u16(4);
  // Segment descriptions of all keys, and where the current key's begin.
  size_t segments = 0, firstOfKey = 0;
  for (int k = 0; k < keys && 16 + 16 * (segments + 1) <= length; ++k) {
    if (k == slot.KeyNumber) firstOfKey = segments;
    while (16 + 16 * (segments + 1) <= length && (u16(16 + 16 * segments + 4) & recman::kSegmentFollows)) ++segments;
    ++segments;
  }
  const size_t table = 16 + 16 * segments + 9;
  if (slot.KeyNumber < 0 || slot.KeyNumber >= keys) return keyValue;
  size_t g = 0;  // 0-based position in the text
  for (size_t s = firstOfKey; s < segments; ++s) {
    const size_t at = 16 + 16 * s;
    const size_t segmentLength = u16(at + 2);
    const uint16_t flags = u16(at + 4);
    if (flags & recman::kBinarySegment) {
      if (keyValue.size() < g + segmentLength) keyValue.resize(g + segmentLength, '\0');
      std::reverse(keyValue.begin() + std::ptrdiff_t(g), keyValue.begin() + std::ptrdiff_t(g + segmentLength));
    } else if (flags & recman::kAlternateCollation) {
      for (size_t i = g; i < g + segmentLength && i < keyValue.size(); ++i)
        if (table + 256 <= length) keyValue[i] = stat[table + uint8_t(keyValue[i])];
    }
    g += segmentLength;
    if ((flags & recman::kSegmentFollows) == 0) break;
  }
  return keyValue;
}

std::string CurrentKeySortText(int16_t fileId) {
  const int16_t slotNumber = FindFileSlot(fileId);
  if (slotNumber <= 0) return {};
  return KeySortText(OpenFiles().Slots[slotNumber].KeyValue, fileId);
}

void ResetLockModeStack() { LockModeStack().clear(); }

}  // namespace olm
