#pragma once
// One open of a data file, named by one position block: its storage, its
// place along a key, and the single record lock it may hold.

#include <cstdint>
#include <string>

#include "platform/range_lock.h"
#include "recman/file_spec.h"
#include "recman/store.h"

namespace olm::recman {

// The caller's buffers of one call.
struct CallBuffers {
  uint8_t* data;
  uint32_t& dataLength;
  uint8_t* key;
  uint8_t& keyLength;
  int8_t keyNumber;
  bool lock;  // the read asked for a single-record lock
};

class OpenFile {
 public:
  // Opens the database at `hostPath`, holding its companion lock file shared
  // or exclusive. Returns a status.
  int16_t Open(const std::string& hostPath, bool exclusive);

  // Get Equal .. Get Last (codes 5 to 13).
  int16_t Read(int16_t operation, CallBuffers& call);
  int16_t GetDirect(CallBuffers& call);
  int16_t GetPosition(CallBuffers& call) const;
  int16_t Insert(CallBuffers& call);
  int16_t Update(CallBuffers& call);
  int16_t Delete(CallBuffers& call);
  int16_t Stat(CallBuffers& call) const;

 private:
  // Where the block stands: a record along a key. After a delete, or a read
  // that returned no record, the place is kept (so Get Next and Get Previous
  // go on from it) but there is no current record (onRecord false).
  struct Place {
    bool valid = false;
    bool onRecord = false;
    int key = 0;
    std::string sortKey;
    int64_t id = 0;
  };

  bool IsKey(int keyNumber) const { return keyNumber >= 0 && keyNumber < static_cast<int>(spec_.keys.size()); }
  int16_t Step(int key, bool forward, Row& row);
  void StandOn(Seek end, int key);
  int16_t Land(Row& row, int key, CallBuffers& call);
  int16_t LockForWrite(bool& wasHeld);
  void ReturnKey(int key, const std::string& record, CallBuffers& call) const;
  std::vector<std::string> SortKeys(const std::string& record) const;

  FileSpec spec_;
  Store store_;
  platform::RangeLockFile locks_;
  Place place_;
  int64_t lockedId_ = 0;  // the record this block holds locked, 0 for none
};

}  // namespace olm::recman
