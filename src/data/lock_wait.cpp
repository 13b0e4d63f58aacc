#include "data/lock_wait.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/data_files.h"
#include "data/data_prompts.h"
#include "data/wait_times.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "recman/record_manager.h"
#include "session/session_settings.h"

namespace olm {
namespace {

bool TakesLockBias(int16_t operation) {
  return (operation >= 5 && operation <= 13) || operation == 19 || (operation >= 22 && operation <= 24) ||
         (operation >= 33 && operation <= 35);
}

std::string LockMessage() {
  const std::string& language = Session().Language;
  if (language == "SPA") return "FICHERO BLOQUEADO. ESPERE UN MOMENTO.";
  if (language == "GLG") return "FICHEIRO BLOQUEADO. ESPERE UM MOMENTO.";
  if (language == "OCI") return "FICH\xD4R BLOQUEJAT. ESPERATZ UN MOMENT.";
  return "FITXER BLOQUEJAT. ESPEREU UN MOMENT.";
}

// One attempt: the record buffer and the current key in, the call, and the
// record and key copied back whatever the status.
int16_t Attempt(OpenFileSlot& slot, int16_t operation) {
  char data[kDataBufferSize];
  std::memset(data, ' ', sizeof data);
  std::memcpy(data, slot.RecordBuffer, slot.RecordLength);
  char key[kKeyBufferSize];
  const char fill = (operation == 8 || operation == 9) ? '\0' : (operation == 10 || operation == 11) ? '\xFF' : ' ';
  std::memset(key, fill, sizeof key);
  std::memcpy(key, slot.KeyValue.data(), std::min<size_t>(slot.KeyValue.size(), kKeyBufferSize));
  uint32_t dataLength = slot.RecordLength;
  uint8_t keyLength = static_cast<uint8_t>(slot.KeyValue.size());
  int16_t status =
      RecordManagerCall(operation, slot.Block, data, dataLength, key, keyLength, static_cast<int8_t>(slot.KeyNumber));
  std::memcpy(slot.RecordBuffer, data, std::min(slot.RecordLength, dataLength));
  slot.KeyValue.assign(key, slot.KeyValue.size());
  return status;
}

// A blank for zero and positive numbers, "-" for negative ones, the digits
// and one blank.
std::string SignedNumber(int16_t value) {
  return (value < 0 ? "-" : " ") + std::to_string(std::abs(int(value))) + " ";
}

void PadToColumn(std::string& line, size_t step) { line.resize((line.size() / step + 1) * step, ' '); }

}  // namespace

void CallWithLockWait(int16_t slotNumber, int16_t& operation, int16_t& status) {
  OpenFileSlot& slot = OpenFiles().Slots[slotNumber];
  if (TakesLockBias(operation) && slot.LockMode != 0) operation = static_cast<int16_t>(operation + recman::kSingleLockBias);
  int waits = 0;
  for (;;) {
    if (waits == 1) ShowDataMessage(24, LockMessage());
    status = Attempt(slot, operation);
    if ((status != recman::kRecordInUse && status != recman::kFileInUse) || slot.LockMode != 1) break;
    platform::SleepMilliseconds(std::llround(DataWaitTimes().recordLockSpread * platform::UniformRandom() + 1));
    if (waits < 2) ++waits;
  }
  if (waits > 0) RemoveDataMessage();
}

std::string DatabaseLogLine(int16_t fileId, int16_t operation, int16_t status) {
  std::string line = SignedNumber(fileId);
  PadToColumn(line, 14);
  line += SignedNumber(operation);
  PadToColumn(line, 14);
  line += SignedNumber(status);
  return line + "\r\n";
}

void AppendDatabaseLog(int16_t fileId, int16_t operation, int16_t status) {
  const std::string line = DatabaseLogLine(fileId, operation, status);
  for (int attempt = 0; attempt < DataWaitTimes().dbLogAttempts; ++attempt) {
    platform::File log = platform::File::Open("db.log", platform::Access::ReadWrite, platform::Sharing::Exclusive,
                                              platform::Creation::OpenOrCreate);
    if (log.IsOpen()) {
      log.Append(line);
      return;
    }
    if (log.Error() != platform::OpenError::InUse) return;
    platform::SleepMilliseconds(1 + std::llround(20 * platform::UniformRandom()));
  }
}

}  // namespace olm
