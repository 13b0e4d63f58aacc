#pragma once
// Key locks shared by every workstation: a lock file LOCKS\<name>.lck under
// the root directory holds 121-byte entries, one per lock, and is opened
// exclusively for the length of each scan so that checking and writing are
// one step between processes. An entry nobody renews expires after 30
// minutes.

#include <cstdint>
#include <string>

#include "platform/file.h"

namespace olm {

constexpr size_t kLockEntrySize = 121;
constexpr int32_t kLockExpiryMinutes = 30;

// This workstation: a random number (never 0) and the computer name, kept in
// TempDir + "LOCKS.TMP" and shared by every program with that directory.
struct WorkstationIdentity {
  int32_t Number = 0;
  std::string StationName;  // 15 characters, blank padded
};

// The identity, loaded before its first use.
const WorkstationIdentity& Workstation();

// 0 when this workstation holds the lock (now or already), -1 when it was not
// obtained (wait mode "S", or Esc in mode "P"). Kind "F" (whole file) or "K"
// (key range).
int16_t LockRecordRange(std::string lockName, std::string kind, std::string fromKey, std::string toKey);
// A key lock on one value; packed digit bytes are written as their digits.
int16_t LockKey(std::string lockName, std::string keyValue);
// Frees this workstation's most recent entry: 0, or -1 when it has none.
int16_t ReleaseLock(std::string lockName);
// Opens directory + "\" + fileName exclusively, creating the file (and the
// directory) when missing, retrying while another process has it open.
platform::File OpenLockFile(const std::string& directory, const std::string& fileName);
// The local date and time in whole minutes since 1970-01-01 00:00.
int32_t MinutesNow();

// "S" do not wait; "P" wait, Esc gives up; anything else wait until obtained.
void SetLockWaitMode(char mode);
char LockWaitMode();

// The key text LockKey writes for a key value.
std::string LockKeyText(const std::string& keyValue);

void ResetLockFileState();

}  // namespace olm
