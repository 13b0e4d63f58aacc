#include "recman/record_manager.h"

#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/host_path.h"
#include "platform/range_lock.h"
#include "recman/file_spec.h"
#include "recman/open_file.h"
#include "recman/store.h"

namespace olm {
namespace {

using namespace recman;

// A position block names an open file by a number of this process's table,
// after a mark that tells it from a block never opened (all NUL bytes).
constexpr uint8_t kBlockMark[4] = {'O', 'L', 'M', 'F'};

struct OpenEntry {
  std::unique_ptr<OpenFile> file;
  int64_t ownerProcess = 0;  // a forked child must not use its parent's files
};

struct OpenFiles {
  std::unordered_map<uint64_t, OpenEntry> entries;
  uint64_t nextNumber = 1;
};

OpenFiles& Table() {
  static OpenFiles table;
  return table;
}

uint64_t BlockNumber(const PositionBlock& block) {
  if (std::memcmp(block.data(), kBlockMark, 4) != 0) return 0;
  uint64_t number = 0;
  std::memcpy(&number, block.data() + 4, sizeof number);
  return number;
}

OpenFile* FileOf(const PositionBlock& block) {
  auto it = Table().entries.find(BlockNumber(block));
  if (it == Table().entries.end() || it->second.ownerProcess != platform::ProcessId()) return nullptr;
  return it->second.file.get();
}

// The path text passed in the key buffer: up to its length or first NUL.
std::string PathText(const void* key, uint8_t keyLength) {
  const char* text = static_cast<const char*>(key);
  return std::string(text, strnlen(text, keyLength));
}

int16_t OpenCall(PositionBlock& block, const void* key, uint8_t keyLength, int8_t mode) {
  if (FileOf(block)) return kInvalidOperation;
  const std::string path = PathText(key, keyLength);
  if (path.empty()) return kInvalidFileName;
  const std::string hostPath = platform::HostPath(path);
  if (!platform::HostFileExists(hostPath)) return kFileNotFound;
  auto file = std::make_unique<OpenFile>();
  int16_t status = file->Open(hostPath, mode == kOpenExclusive);
  if (status != kSuccess) return status;
  OpenFiles& table = Table();
  const uint64_t number = table.nextNumber++;
  table.entries[number] = OpenEntry{std::move(file), platform::ProcessId()};
  block.fill(0);
  std::memcpy(block.data(), kBlockMark, 4);
  std::memcpy(block.data() + 4, &number, sizeof number);
  return kSuccess;
}

// Builds the new database under a temporary name and moves it into place in
// one step, so a file is either absent or complete. The companion lock file
// is held exclusively meanwhile: no process has the file open while it is
// created or replaced.
int16_t CreateCall(const void* data, uint32_t dataLength, const void* key, uint8_t keyLength, int8_t mode) {
  FileSpec spec;
  if (!ParseFileSpec(static_cast<const uint8_t*>(data), dataLength, spec)) return kInvalidCreationBuffer;
  const std::string path = PathText(key, keyLength);
  if (path.empty()) return kInvalidFileName;
  const std::string hostPath = platform::HostPath(path);
  const bool mustBeNew = mode == kCreateNew;
  if (mustBeNew && platform::HostFileExists(hostPath)) return kFileExists;
  platform::RangeLockFile guard;
  switch (guard.Open(hostPath + "-locks", true)) {
    case platform::RangeLockOpen::Opened: break;
    case platform::RangeLockOpen::InUse: return kFileInUse;
    case platform::RangeLockOpen::Failed: return kIoError;
  }
  if (mustBeNew && platform::HostFileExists(hostPath)) return kFileExists;
  const std::string temporary = hostPath + ".new-" + std::to_string(platform::ProcessId());
  platform::DeleteHostFile(temporary);
  if (Store::CreateDatabase(temporary, spec) != kSuccess) {
    platform::DeleteHostFile(temporary);
    return kIoError;
  }
  // A log left by an earlier file of this name must not be applied to the new one.
  platform::DeleteHostFile(hostPath + "-wal");
  platform::DeleteHostFile(hostPath + "-shm");
  const bool moved = mustBeNew ? platform::RenameNoReplace(temporary, hostPath)
                               : platform::RenameReplace(temporary, hostPath);
  if (!moved) {
    platform::DeleteHostFile(temporary);
    return platform::HostFileExists(hostPath) ? kFileExists : kIoError;
  }
  return kSuccess;
}

// Closes every file this process opened. Entries inherited from a parent
// process are forgotten without touching their connections.
int16_t ResetCall() {
  OpenFiles& table = Table();
  const int64_t self = platform::ProcessId();
  for (auto& [number, entry] : table.entries)
    if (entry.ownerProcess != self) (void)entry.file.release();
  table.entries.clear();
  return kSuccess;
}

int16_t CloseCall(PositionBlock& block) {
  if (!FileOf(block)) return kFileNotOpen;
  Table().entries.erase(BlockNumber(block));
  block.fill(0);
  return kSuccess;
}

bool IsRead(int16_t operation) {
  return (operation >= kGetEqual && operation <= kGetLast) || operation == kGetDirect || operation == kGetPosition;
}

}  // namespace

int16_t RecordManagerCall(int16_t operation, PositionBlock& block, void* data, uint32_t& dataLength, void* key,
                          uint8_t& keyLength, int8_t keyNumber) {
  bool lock = false;
  if (operation >= kSingleLockBias && operation < kSingleLockBias + 100) {
    operation = static_cast<int16_t>(operation - kSingleLockBias);
    if (!IsRead(operation)) return kInvalidOperation;
    lock = true;
  }
  switch (operation) {
    case kOpen: return OpenCall(block, key, keyLength, keyNumber);
    case kCreate: return CreateCall(data, dataLength, key, keyLength, keyNumber);
    case kReset: return ResetCall();
    case kClose: return CloseCall(block);
    default: break;
  }
  OpenFile* file = FileOf(block);
  if (!file) return kFileNotOpen;
  CallBuffers call{static_cast<uint8_t*>(data), dataLength, static_cast<uint8_t*>(key), keyLength, keyNumber, lock};
  switch (operation) {
    case kInsert: return file->Insert(call);
    case kUpdate: return file->Update(call);
    case kDelete: return file->Delete(call);
    case kStat: return file->Stat(call);
    case kGetPosition: return file->GetPosition(call);
    case kGetDirect: return file->GetDirect(call);
    default:
      if (operation >= kGetEqual && operation <= kGetLast) return file->Read(operation, call);
      return kInvalidOperation;
  }
}

}  // namespace olm
