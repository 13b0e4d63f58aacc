#pragma once
// The pauses of the data layer's waits, in milliseconds. Tests shorten them;
// ResetDataState puts them back.

#include <cstdint>

namespace olm {

struct WaitTimes {
  int64_t openRetry = 3000;        // between opens of a file in use
  double recordLockSpread = 10000;  // a record-lock wait lasts 1 + spread * r
  double lockFileOpenSpread = 3000;  // a lock file held elsewhere
  double keyLockSpread = 1000;       // a key lock held by another workstation
  int dbLogAttempts = 5;             // opens of db.log tried before the line is skipped
};

WaitTimes& DataWaitTimes();

}  // namespace olm
