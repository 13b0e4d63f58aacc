#pragma once
// An installation's root directory opened by the data tool as the program
// opens it: the same data files under the same numbers, the same record
// operations, and the same lock files. The tool is a workstation of its own
// (its identity lives in a private temporary directory), so its whole-file
// locks wait for the key locks of every program, this computer's included.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "records.h"

namespace olm::datatool {

class DataRoot {
 public:
  // `root` is a host directory. Messages of the data layer (a lock wait, a
  // file that cannot be opened) are written to `messages`.
  DataRoot(const std::string& root, std::ostream& messages);
  ~DataRoot();
  DataRoot(const DataRoot&) = delete;
  DataRoot& operator=(const DataRoot&) = delete;

  // False when the root directory does not exist.
  bool Valid() const { return valid_; }
  // The program path of the kind's data file, without extension.
  std::string DataPath(const RecordKind& kind) const;
  bool DataFileExists(const RecordKind& kind) const;

  // Opens (creating it from its template when missing) the kind's file. A
  // file that cannot be opened, or whose records are not of the kind's
  // length, is reported to `messages` and gives false. A file opened for
  // writing reads with record locks and waits for records in use.
  bool Open(const RecordKind& kind, bool forWriting);
  // Closes every file opened here.
  void CloseAll();

  // Takes the whole-file lock of the kind's file, waiting while anybody
  // holds a lock on it; the lock is released by ReleaseLocks or at the end.
  void LockWholeFile(const RecordKind& kind);
  void ReleaseLocks();

  // The record read last, as many bytes as the kind's records.
  std::string Record(const RecordKind& kind) const;
  // The first record along key 0 (status 9 on an empty file), then the next.
  int16_t ReadFirst(const RecordKind& kind);
  int16_t ReadNext(const RecordKind& kind);
  // Status 0 when a record with this key is there, 4 when not.
  int16_t ReadEqual(const RecordKind& kind, const std::string& key);
  int16_t Insert(const RecordKind& kind, const std::string& record);
  // Deletes the record with this key.
  int16_t Delete(const RecordKind& kind, const std::string& key);

 private:
  std::vector<uint8_t>& Buffer(const RecordKind& kind);

  bool valid_ = false;
  std::ostream& messages_;
  std::string previousDirectory_;
  std::string privateTemp_;
  bool installedConsole_ = false;
  std::vector<std::vector<uint8_t>> buffers_;
  std::vector<std::string> locks_;
};

}  // namespace olm::datatool
