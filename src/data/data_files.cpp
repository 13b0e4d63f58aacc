#include "data/data_files.h"

#include <cstring>

#include "data/data_prompts.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "data/wait_times.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "session/program_end.h"
#include "session/session_settings.h"

namespace olm {
namespace {

// Owner name passed at every open; the record manager ignores it.
constexpr char kOwnerName[5] = {'T', 'R', 'L', 'X', '\0'};

// One record-manager call on the spare block, which holds 128 blanks during
// the call and is cleared after it.
int16_t SpareCall(int16_t operation, void* data, uint32_t dataLength, const std::string& key, int8_t keyNumber) {
  PositionBlock& spare = OpenFiles().Spare;
  spare.fill(' ');
  char keyBuffer[kKeyBufferSize] = {};
  std::memcpy(keyBuffer, key.data(), std::min<size_t>(key.size(), kKeyBufferSize - 1));
  uint8_t keyLength = static_cast<uint8_t>(std::min<size_t>(key.size(), kKeyBufferSize - 1));
  int16_t status = RecordManagerCall(operation, spare, data, dataLength, keyBuffer, keyLength, keyNumber);
  spare.fill(0);
  return status;
}

// Creates the file from its template. A missing or short template answers
// "file not found", the status that sent us here.
int16_t CreateFromTemplate(const std::string& path, const std::string& baseName) {
  std::string content;
  if (!platform::ReadWholeFile(Session().RootDir + "ddf\\" + baseName + ".xdf", content) || content.size() < 2)
    return recman::kFileNotFound;
  const size_t length = uint8_t(content[0]) | uint8_t(content[1]) << 8;
  if (content.size() < 2 + length || length > kDataBufferSize) return recman::kFileNotFound;
  std::string buffer(kDataBufferSize, ' ');
  std::memcpy(buffer.data(), content.data() + 2, length);
  return SpareCall(recman::kCreate, buffer.data(), kDataBufferSize, path, recman::kCreateNew);
}

// Opens, retrying while the file is in use and creating it when missing.
int16_t OpenOrCreate(OpenFileSlot& slot, const DataFileName& file) {
  for (;;) {
    char owner[sizeof kOwnerName];
    std::memcpy(owner, kOwnerName, sizeof owner);
    uint32_t ownerLength = sizeof owner;
    char key[kKeyBufferSize] = {};
    std::memcpy(key, file.path.data(), std::min<size_t>(file.path.size(), kKeyBufferSize - 1));
    uint8_t keyLength = static_cast<uint8_t>(std::min<size_t>(file.path.size(), kKeyBufferSize - 1));
    int16_t status = RecordManagerCall(recman::kOpen, slot.Block, owner, ownerLength, key, keyLength, 0);
    if (status == recman::kFileInUse) {
      platform::SleepMilliseconds(DataWaitTimes().openRetry);
    } else if (status == recman::kFileNotFound) {
      status = CreateFromTemplate(file.path, file.baseName);
      // Another workstation may be creating it, or have created it
      // meanwhile: wait for it and open that one.
      if (status == recman::kFileInUse) platform::SleepMilliseconds(DataWaitTimes().openRetry);
      else if (status != recman::kSuccess && status != recman::kFileExists) return status;
    } else {
      return status;
    }
  }
}

std::string OpenFailurePrefix() {
  const std::string& language = Session().Language;
  if (language == "SPA") return "NO SE PUEDE ACCEDER AL FICHERO ";
  if (language == "GLG") return "NOM SE PODE ACEDER AO FICHEIRO ";
  if (language == "OCI") return "NON SE P\xE3T ACCEDIR ATH FICH\xD4R ";
  return "NO ES POT ACCEDIR AL FITXER ";
}

// The one fatal failure: tell the user, wait for a key, close and end.
[[noreturn]] void FailOpen(const std::string& name, int16_t status) {
  ShowDataMessage(12, OpenFailurePrefix() + name + " (" + std::to_string(status) + ")");
  BeepConsole();
  DiscardWaitingKeys();
  WaitForKey();
  RemoveDataMessage();
  int16_t closeStatus = 0;
  CloseAllFiles(closeStatus);
  EndProgram(1);
}

void ClearSlot(OpenFileSlot& slot) { slot = OpenFileSlot{}; }

}  // namespace

OpenFileTable& OpenFiles() {
  static OpenFileTable table;
  return table;
}

int16_t FindFileSlot(int16_t fileId) {
  int16_t free = 0;
  auto& slots = OpenFiles().Slots;
  for (int16_t i = 1; i <= kOpenFileSlots; ++i) {
    if (fileId != 0 && slots[i].FileId == fileId) return i;
    if (slots[i].FileId == 0 && free == 0) free = i;
  }
  return static_cast<int16_t>(-free);
}

DataFileName SplitDataFileName(const std::string& name) {
  size_t start = name.size();
  while (start > 0 && name[start - 1] != ':' && name[start - 1] != '\\' && name[start - 1] != '/') --start;
  const std::string directory = name.substr(0, start);
  const std::string last = name.substr(start);
  const size_t dot = last.find('.');
  const std::string base = last.substr(0, dot);
  const std::string extension = dot == std::string::npos ? ".dat" : last.substr(dot);
  return {directory + base + extension, base};
}

void OpenDataFile(int16_t fileId, const std::string& name, void* recordBuffer, uint32_t bufferSize, int16_t& status) {
  if (fileId == 0) {
    status = kStatusFileNotOpen;
    return;
  }
  const int16_t found = FindFileSlot(fileId);
  if (found > 0 || found == 0) {
    status = found > 0 ? kStatusAlreadyOpen : kStatusTableFull;
    return;
  }
  OpenFileSlot& slot = OpenFiles().Slots[-found];
  ClearSlot(slot);
  slot.FileId = fileId;
  slot.RecordBuffer = static_cast<uint8_t*>(recordBuffer);
  slot.RecordBufferSize = bufferSize;
  status = OpenOrCreate(slot, SplitDataFileName(name));
  if (status == recman::kSuccess) {
    int16_t keyLength = 0;
    uint32_t recordLength = 0;
    GetKeyInfo(fileId, 0, keyLength, recordLength);
    if (recordLength == 0 || recordLength > bufferSize || recordLength > kDataBufferSize) {
      // The record operations copy whole records into the caller's buffer:
      // a file whose records do not fit it is refused.
      uint32_t none = 0;
      uint8_t noKey = 0;
      RecordManagerCall(recman::kClose, slot.Block, nullptr, none, nullptr, noKey, 0);
      status = kStatusRecordTooLong;
    } else {
      slot.KeyValue.assign(size_t(keyLength), '\0');
      slot.RecordLength = recordLength;
      return;
    }
  }
  ClearSlot(slot);
  FailOpen(name, status);
}

void GetKeyInfo(int16_t fileId, int16_t keyNumber, int16_t& keyLength, uint32_t& recordLength) {
  keyLength = 0;
  recordLength = 0;
  const int16_t slot = FindFileSlot(fileId);
  if (slot <= 0) return;
  std::string stat(kDataBufferSize, ' ');
  uint32_t length = kDataBufferSize;
  char key[kKeyBufferSize];
  std::memset(key, ' ', 255);
  key[255] = '\0';
  uint8_t keyLength8 = 255;
  int16_t status =
      RecordManagerCall(recman::kStat, OpenFiles().Slots[slot].Block, stat.data(), length, key, keyLength8, 0);
  if (status != recman::kSuccess && status != recman::kDataBufferTooShort) return;
  auto u16 = [&](size_t at) { return uint16_t(uint8_t(stat[at]) | uint8_t(stat[at + 1]) << 8); };
  recordLength = u16(0);
  const int keys = u16(4);
  if (keyNumber < 0 || keyNumber >= keys) return;
  int key16 = 0;
  for (size_t at = 16; at + 16 <= length && key16 <= keyNumber; at += 16) {
    if (key16 == keyNumber) keyLength = static_cast<int16_t>(keyLength + u16(at + 2));
    if ((u16(at + 4) & recman::kSegmentFollows) == 0) ++key16;
  }
}

void CloseAllFiles(int16_t& status) {
  status = SpareCall(recman::kReset, nullptr, 0, {}, 0);
  if (status != recman::kSuccess) return;
  for (OpenFileSlot& slot : OpenFiles().Slots) ClearSlot(slot);
}

WaitTimes& DataWaitTimes() {
  static WaitTimes times;
  return times;
}

void ResetDataState() {
  int16_t status = 0;
  CloseAllFiles(status);
  for (OpenFileSlot& slot : OpenFiles().Slots) ClearSlot(slot);
  DataWaitTimes() = WaitTimes{};
  ResetLockModeStack();
  ResetLockFileState();
}

}  // namespace olm
