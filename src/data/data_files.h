#pragma once
// The table of open data files. A caller opens a file once under a number of
// its own choosing (the FileId) and hands over the buffer that holds its
// record; every record operation then names the file by that number.

#include <array>
#include <cstdint>
#include <string>

#include "recman/record_manager.h"

namespace olm {

constexpr int kOpenFileSlots = 40;
constexpr uint32_t kDataBufferSize = 1536;
constexpr uint32_t kKeyBufferSize = 256;

// Statuses of the data layer, beside the record manager's own.
constexpr int16_t kStatusFileNotOpen = 3;
constexpr int16_t kStatusAlreadyOpen = 1002;
constexpr int16_t kStatusTableFull = 1003;
constexpr int16_t kStatusNoSuchKey = 1004;
// The file's records are longer than the buffer the caller gave at open.
constexpr int16_t kStatusRecordTooLong = 1005;

struct OpenFileSlot {
  int16_t FileId = 0;  // 0: the slot is free
  PositionBlock Block{};
  uint8_t* RecordBuffer = nullptr;  // the caller's, not owned
  uint32_t RecordBufferSize = 0;
  uint32_t RecordLength = 0;
  int16_t KeyNumber = 0;
  std::string KeyValue;  // exactly the current key's length
  int16_t LockMode = 0;
};

struct OpenFileTable {
  PositionBlock Spare{};  // for Create and Reset only
  std::array<OpenFileSlot, kOpenFileSlots + 1> Slots{};  // 1..40; [0] unused
};

OpenFileTable& OpenFiles();

// Opens the file `name` (a program path; without an extension ".dat" is
// added) under `fileId`, creating it from its template RootDir + "ddf\" +
// base name + ".xdf" when it does not exist. Status 0, 1002 (already open),
// 1003 (table full) or 3 (FileId 0); any other failure tells the user and
// ends the program.
void OpenDataFile(int16_t fileId, const std::string& name, void* recordBuffer, uint32_t bufferSize, int16_t& status);

// Closes every data file of the process; the status of the record manager.
void CloseAllFiles(int16_t& status);

// The slot holding `fileId` (positive), else minus a free slot's number, else
// 0 when the table is full.
int16_t FindFileSlot(int16_t fileId);

// Key and record length of an open file; both 0 when it is not open, key
// length 0 when the key number names no key.
void GetKeyInfo(int16_t fileId, int16_t keyNumber, int16_t& keyLength, uint32_t& recordLength);

// The file path that OpenDataFile opens for `name`, and the base name of its
// template.
struct DataFileName {
  std::string path;
  std::string baseName;
};
DataFileName SplitDataFileName(const std::string& name);

// Closes every file and clears every process-wide state of the data layer.
void ResetDataState();

}  // namespace olm
