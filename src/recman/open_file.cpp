#include "recman/open_file.h"

#include <algorithm>
#include <cstring>

#include "recman/record_manager.h"

namespace olm::recman {
namespace {

// Copies as much of `bytes` as the caller's data buffer takes.
int16_t ReturnData(const std::string& bytes, CallBuffers& call) {
  const uint32_t n = std::min<uint32_t>(call.dataLength, static_cast<uint32_t>(bytes.size()));
  std::memcpy(call.data, bytes.data(), n);
  call.dataLength = n;
  return n < bytes.size() ? kDataBufferTooShort : kSuccess;
}

}  // namespace

int16_t OpenFile::Open(const std::string& hostPath, bool exclusive) {
  switch (locks_.Open(hostPath + "-locks", exclusive)) {
    case platform::RangeLockOpen::Opened: break;
    case platform::RangeLockOpen::InUse: return kFileInUse;
    case platform::RangeLockOpen::Failed: return kIoError;
  }
  return store_.Open(hostPath, spec_);
}

std::vector<std::string> OpenFile::SortKeys(const std::string& record) const {
  std::vector<std::string> keys;
  keys.reserve(spec_.keys.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(record.data());
  for (size_t k = 0; k < spec_.keys.size(); ++k) {
    keys.push_back(SortForm(spec_, int(k), reinterpret_cast<const uint8_t*>(KeyValue(spec_, int(k), bytes).data())));
  }
  return keys;
}

void OpenFile::ReturnKey(int key, const std::string& record, CallBuffers& call) const {
  const std::string value = KeyValue(spec_, key, reinterpret_cast<const uint8_t*>(record.data()));
  std::memcpy(call.key, value.data(), value.size());
  call.keyLength = static_cast<uint8_t>(value.size());
}

// Moves the place onto the first or last record of `key` without reading it:
// where a read that runs off an end of the key leaves the block.
void OpenFile::StandOn(Seek end, int key) {
  Row row;
  if (store_.Find(end, key, {}, 0, row) == kSuccess) place_ = Place{true, false, key, row.sortKey, row.id};
  else place_.onRecord = false;
}

int16_t OpenFile::Read(int16_t operation, CallBuffers& call) {
  if (!IsKey(call.keyNumber)) return kInvalidKeyNumber;
  const int key = call.keyNumber;
  Row row;
  int16_t status = kSuccess;
  auto sought = [&] { return SortForm(spec_, key, call.key); };
  switch (operation) {
    case kGetEqual: status = store_.Find(Seek::Equal, key, sought(), 0, row); break;
    case kGetGreater: status = store_.Find(Seek::Greater, key, sought(), 0, row); break;
    case kGetGreaterOrEqual: status = store_.Find(Seek::GreaterOrEqual, key, sought(), 0, row); break;
    case kGetLess: status = store_.Find(Seek::Less, key, sought(), 0, row); break;
    case kGetLessOrEqual: status = store_.Find(Seek::LessOrEqual, key, sought(), 0, row); break;
    case kGetFirst: status = store_.Find(Seek::First, key, {}, 0, row); break;
    case kGetLast: status = store_.Find(Seek::Last, key, {}, 0, row); break;
    case kGetNext: status = Step(key, true, row); break;
    case kGetPrevious: status = Step(key, false, row); break;
    default: return kInvalidOperation;
  }
  if (status == kKeyNotFound) {
    // A read that returns no record leaves no current record to update or
    // delete; the place is kept (or moved to an end) for Get Next and Get
    // Previous.
    switch (operation) {
      case kGetEqual: place_.onRecord = false; return kKeyNotFound;
      case kGetGreater:
      case kGetGreaterOrEqual: StandOn(Seek::Last, key); return kEndOfFile;
      case kGetLess:
      case kGetLessOrEqual: StandOn(Seek::First, key); return kEndOfFile;
      default: place_.onRecord = false; return kEndOfFile;
    }
  }
  if (status != kSuccess) return status;
  return Land(row, key, call);
}

// Finds the record after or before the place along `key`. A place taken
// along another key is first carried over to `key` through its record.
int16_t OpenFile::Step(int key, bool forward, Row& row) {
  if (!place_.valid) return kInvalidPositioning;
  std::string sortKey = place_.sortKey;
  if (place_.key != key) {
    if (!place_.onRecord) return kInvalidPositioning;
    Row current;
    int16_t status = store_.Find(Seek::ById, key, {}, place_.id, current);
    if (status != kSuccess) return status == kKeyNotFound ? kInvalidPositioning : status;
    sortKey = current.sortKey;
  }
  if (spec_.keys[key].duplicates) {
    int16_t status = store_.Find(forward ? Seek::NextSame : Seek::PreviousSame, key, sortKey, place_.id, row);
    if (status != kKeyNotFound) return status;
  }
  return store_.Find(forward ? Seek::Greater : Seek::Less, key, sortKey, 0, row);
}

// Makes `row` the block's current record: takes its lock when asked for,
// gives up a lock on any other record, and returns the record and its key.
int16_t OpenFile::Land(Row& row, int key, CallBuffers& call) {
  if (call.lock && row.id != lockedId_) {
    if (!locks_.TryLock(static_cast<uint64_t>(row.id))) return kRecordInUse;
    // Read again under the lock: a writer may have changed it meanwhile.
    Row fresh;
    int16_t status = store_.Find(Seek::ById, key, {}, row.id, fresh);
    if (status != kSuccess) {
      locks_.Unlock(static_cast<uint64_t>(row.id));
      return status == kKeyNotFound ? kRecordInUse : status;
    }
    row = std::move(fresh);
    if (lockedId_ != 0) locks_.Unlock(static_cast<uint64_t>(lockedId_));
    lockedId_ = row.id;
  } else if (lockedId_ != 0 && row.id != lockedId_) {
    locks_.Unlock(static_cast<uint64_t>(lockedId_));
    lockedId_ = 0;
  }
  place_ = Place{true, true, key, row.sortKey, row.id};
  ReturnKey(key, row.data, call);
  return ReturnData(row.data, call);
}

int16_t OpenFile::GetDirect(CallBuffers& call) {
  if (call.dataLength < 4) return kDataBufferTooShort;
  if (!IsKey(call.keyNumber)) return kInvalidKeyNumber;
  int64_t id = int64_t(call.data[0]) | int64_t(call.data[1]) << 8 | int64_t(call.data[2]) << 16 | int64_t(call.data[3]) << 24;
  Row row;
  int16_t status = store_.Find(Seek::ById, call.keyNumber, {}, id, row);
  if (status == kKeyNotFound) return kInvalidRecordAddress;
  if (status != kSuccess) return status;
  return Land(row, call.keyNumber, call);
}

int16_t OpenFile::GetPosition(CallBuffers& call) const {
  if (!place_.onRecord) return kInvalidPositioning;
  if (call.dataLength < 4) return kDataBufferTooShort;
  for (int i = 0; i < 4; ++i) call.data[i] = static_cast<uint8_t>(place_.id >> (8 * i));
  call.dataLength = 4;
  return kSuccess;
}

int16_t OpenFile::Insert(CallBuffers& call) {
  if (call.dataLength != spec_.recordLength) return kInvalidRecordLength;
  std::string record(reinterpret_cast<const char*>(call.data), call.dataLength);
  std::vector<std::string> sortKeys = SortKeys(record);
  int64_t id = 0;
  int16_t status = store_.Insert(record, sortKeys, id);
  if (status != kSuccess) return status;
  if (IsKey(call.keyNumber)) {
    place_ = Place{true, true, call.keyNumber, sortKeys[size_t(call.keyNumber)], id};
    ReturnKey(call.keyNumber, record, call);
  }
  return kSuccess;
}

// Takes the current record's lock for the length of a write, unless this
// block holds it already; kRecordInUse when another block holds it.
int16_t OpenFile::LockForWrite(bool& wasHeld) {
  if (!place_.onRecord) return kInvalidPositioning;
  wasHeld = lockedId_ == place_.id;
  if (!wasHeld && !locks_.TryLock(static_cast<uint64_t>(place_.id))) return kRecordInUse;
  return kSuccess;
}

int16_t OpenFile::Update(CallBuffers& call) {
  if (!place_.onRecord) return kInvalidPositioning;
  if (call.dataLength != spec_.recordLength) return kInvalidRecordLength;
  bool wasHeld = false;
  int16_t status = LockForWrite(wasHeld);
  if (status != kSuccess) return status;
  std::string record(reinterpret_cast<const char*>(call.data), call.dataLength);
  std::vector<std::string> sortKeys = SortKeys(record);
  status = store_.Update(place_.id, record, sortKeys);
  if (status == kSuccess || !wasHeld) {
    locks_.Unlock(static_cast<uint64_t>(place_.id));
    if (wasHeld) lockedId_ = 0;
  }
  if (status != kSuccess) return status;
  const int key = IsKey(call.keyNumber) ? call.keyNumber : place_.key;
  place_.key = key;
  place_.sortKey = sortKeys[size_t(key)];
  ReturnKey(key, record, call);
  return kSuccess;
}

int16_t OpenFile::Delete(CallBuffers&) {
  bool wasHeld = false;
  int16_t status = LockForWrite(wasHeld);
  if (status != kSuccess) return status;
  status = store_.Delete(place_.id);
  if (status == kSuccess || !wasHeld) {
    locks_.Unlock(static_cast<uint64_t>(place_.id));
    if (wasHeld) lockedId_ = 0;
  }
  if (status == kSuccess) place_.onRecord = false;
  return status;
}

int16_t OpenFile::Stat(CallBuffers& call) const { return ReturnData(spec_.buffer, call); }

}  // namespace olm::recman
