#pragma once
// The one place where a record operation meets the record manager with the
// caller's record: lock bias, waiting while a record or file is in use, and
// the database log of inserts and updates.

#include <cstdint>
#include <string>

namespace olm {

// Performs `operation` on the file in `slot` (from FindFileSlot) with its
// record buffer and current key. In lock mode 1 a record or file in use is
// waited for, with a message from the second attempt on. `operation` comes
// back as the code sent (with the lock bias when one was added).
void CallWithLockWait(int16_t slot, int16_t& operation, int16_t& status);

// Appends one line for an insert or update to "db.log" in the current
// directory. When another process holds the log, the line is tried a few
// times and then dropped: the record operation never depends on the log.
void AppendDatabaseLog(int16_t fileId, int16_t operation, int16_t status);

// The log line of three numbers, CR LF included.
std::string DatabaseLogLine(int16_t fileId, int16_t operation, int16_t status);

}  // namespace olm
