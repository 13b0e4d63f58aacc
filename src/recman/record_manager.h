#pragma once
// The record manager: indexed files of fixed-length records reached through
// one call with an operation code. Each file is named at open by a position
// block that the caller keeps between calls; keys of one or more segments
// give the orders in which records are read. See docs/record-manager.md.

#include <array>
#include <cstdint>

namespace olm {

// The caller's handle of one open file; all bytes 0 before the Open.
using PositionBlock = std::array<uint8_t, 128>;

namespace recman {

// Operation codes.
constexpr int16_t kOpen = 0;
constexpr int16_t kClose = 1;
constexpr int16_t kInsert = 2;
constexpr int16_t kUpdate = 3;
constexpr int16_t kDelete = 4;
constexpr int16_t kGetEqual = 5;
constexpr int16_t kGetNext = 6;
constexpr int16_t kGetPrevious = 7;
constexpr int16_t kGetGreater = 8;
constexpr int16_t kGetGreaterOrEqual = 9;
constexpr int16_t kGetLess = 10;
constexpr int16_t kGetLessOrEqual = 11;
constexpr int16_t kGetFirst = 12;
constexpr int16_t kGetLast = 13;
constexpr int16_t kCreate = 14;
constexpr int16_t kStat = 15;
constexpr int16_t kGetPosition = 22;
constexpr int16_t kGetDirect = 23;
constexpr int16_t kReset = 28;

// Added to a read's code: lock the record read, without waiting.
constexpr int16_t kSingleLockBias = 200;

// Statuses.
constexpr int16_t kSuccess = 0;
constexpr int16_t kInvalidOperation = 1;
constexpr int16_t kIoError = 2;
constexpr int16_t kFileNotOpen = 3;
constexpr int16_t kKeyNotFound = 4;
constexpr int16_t kDuplicateKey = 5;
constexpr int16_t kInvalidKeyNumber = 6;
constexpr int16_t kInvalidPositioning = 8;
constexpr int16_t kEndOfFile = 9;
constexpr int16_t kInvalidFileName = 11;
constexpr int16_t kFileNotFound = 12;
constexpr int16_t kDataBufferTooShort = 22;
constexpr int16_t kInvalidRecordLength = 24;
constexpr int16_t kInvalidCreationBuffer = 25;
constexpr int16_t kInvalidRecordAddress = 43;
constexpr int16_t kFileExists = 59;
constexpr int16_t kRecordInUse = 84;
constexpr int16_t kFileInUse = 85;

// Open modes, passed as the key number of an Open.
constexpr int8_t kOpenShared = 0;
constexpr int8_t kOpenExclusive = -4;

// Create modes, passed as the key number of a Create.
constexpr int8_t kCreateReplace = 0;
constexpr int8_t kCreateNew = -1;  // answer kFileExists rather than replace

// Creation buffer and Stat layout.
constexpr int kFileSpecSize = 16;
constexpr int kSegmentSpecSize = 16;
constexpr int kCollatingSequenceSize = 1 + 8 + 256;
constexpr uint8_t kCollatingSignature = 0xAC;
constexpr int kMaxKeyLength = 255;

// Segment flags.
constexpr uint16_t kDuplicatesAllowed = 0x01;
constexpr uint16_t kModifiable = 0x02;
constexpr uint16_t kBinarySegment = 0x04;
constexpr uint16_t kSegmentFollows = 0x10;
constexpr uint16_t kAlternateCollation = 0x20;

}  // namespace recman

// Performs one operation on the file named by `block`. `data` holds
// `dataLength` bytes (in: offered, out: returned); `key` must hold at least
// 255 bytes; `keyLength` is the length of the key text passed (Open,
// Create) and, after a read, of the key value returned. Returns a status.
int16_t RecordManagerCall(int16_t operation, PositionBlock& block, void* data, uint32_t& dataLength,
                          void* key, uint8_t& keyLength, int8_t keyNumber);

}  // namespace olm
