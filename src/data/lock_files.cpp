#include "data/lock_files.h"

#include <cmath>
#include <cstring>

#include "data/data_prompts.h"
#include "data/wait_times.h"
#include "platform/clock.h"
#include "session/session_settings.h"
#include "text/fold_case.h"

namespace olm {
namespace {

// Field offsets and widths of a lock entry.
constexpr size_t kStationAt = 0, kStationWidth = 15;
constexpr size_t kNumberAt = 15, kNumberWidth = 11;
constexpr size_t kStampAt = 26, kStampWidth = 8;
constexpr size_t kKindAt = 34;
constexpr size_t kFromLengthAt = 35, kFromAt = 37;
constexpr size_t kToLengthAt = 77, kToAt = 79;
constexpr size_t kKeyWidth = 40;
constexpr int16_t kEsc = 27;

struct LockFileState {
  WorkstationIdentity identity;
  char waitMode = ' ';
};

LockFileState& State() {
  static LockFileState state;
  return state;
}

std::string Padded(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string Field(const std::string& entry, size_t at, size_t width) { return entry.substr(at, width); }

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The value of a decimal text field; 0 for blanks or rubbish.
long FieldNumber(const std::string& entry, size_t at, size_t width) {
  const std::string text = Field(entry, at, width);
  return std::strtol(text.c_str(), nullptr, 10);
}

std::string FieldKey(const std::string& entry, size_t lengthAt, size_t keyAt) {
  const long length = std::clamp(FieldNumber(entry, lengthAt, 2), 0L, long(kKeyWidth));
  return entry.substr(keyAt, size_t(length));
}

void FreeEntry(std::string& entry) {
  entry.replace(kStationAt, kStationWidth, kStationWidth, ' ');
  entry.replace(kNumberAt, kNumberWidth, kNumberWidth, ' ');
  entry[kKindAt] = ' ';
}

std::string RightTrimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string Trimmed(std::string text) {
  text = RightTrimmed(std::move(text));
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

void SleepRandom(double spread) { platform::SleepMilliseconds(std::llround(spread * platform::UniformRandom() + 1)); }

// Reads the identity from LOCKS.TMP, drawing and storing a new one when the
// file holds none yet.
void LoadWorkstationIdentity() {
  WorkstationIdentity& identity = State().identity;
  if (identity.Number != 0) return;
  const std::string path = Session().TempDir + "LOCKS.TMP";
  platform::File file;
  for (;;) {
    file = platform::File::Open(path, platform::Access::ReadWrite, platform::Sharing::Exclusive,
                                platform::Creation::OpenOrCreate);
    if (file.IsOpen() || file.Error() != platform::OpenError::InUse) break;
    SleepRandom(DataWaitTimes().lockFileOpenSpread);
  }
  char stored[19] = {};
  if (file.IsOpen()) file.ReadAt(0, stored, sizeof stored);
  uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = number << 8 | uint8_t(stored[i]);
  identity.Number = static_cast<int32_t>(number);
  identity.StationName = Padded(std::string(stored + 4, 15), kStationWidth);
  if (identity.Number == 0) {
    while (identity.Number == 0)
      identity.Number = static_cast<int32_t>(std::floor(platform::UniformRandom() * 4294967295.0 - 2147483648.0));
    std::string name = platform::HostName();
    if (name.size() > 16) name.resize(16);
    identity.StationName = Padded(name.substr(0, std::min<size_t>(name.size(), kStationWidth)), kStationWidth);
    char out[19];
    const uint32_t bits = static_cast<uint32_t>(identity.Number);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(bits >> (8 * i));
    std::memcpy(out + 4, identity.StationName.data(), kStationWidth);
    if (file.IsOpen()) file.WriteAt(0, out, sizeof out);
  }
}

std::string NumberText(int32_t number) { return Padded(std::to_string(number), kNumberWidth); }

bool IsOurs(const std::string& entry, bool byNameToo) {
  const WorkstationIdentity& identity = State().identity;
  if (Field(entry, kNumberAt, kNumberWidth) != NumberText(identity.Number)) return false;
  return !byNameToo || Field(entry, kStationAt, kStationWidth) == identity.StationName;
}

std::string NewEntry(char kind, const std::string& fromKey, const std::string& toKey) {
  const WorkstationIdentity& identity = State().identity;
  std::string entry = identity.StationName + NumberText(identity.Number) +
                      Padded(std::to_string(MinutesNow()), kStampWidth) + kind;
  if (kind == 'K') {
    const std::string from = fromKey.substr(0, kKeyWidth), to = toKey.substr(0, kKeyWidth);
    entry += Padded(std::to_string(from.size()), 2) + Padded(from, kKeyWidth);
    entry += Padded(std::to_string(to.size()), 2) + Padded(to, kKeyWidth);
  } else {
    entry += std::string(2 * (2 + kKeyWidth), ' ');
  }
  return entry + "\r\n";
}

// Whether the requested range meets the entry's key range, comparing each
// end only as far as both texts go.
bool RangesMeet(const std::string& entry, const std::string& from, const std::string& to) {
  const std::string theirFrom = FieldKey(entry, kFromLengthAt, kFromAt);
  const std::string theirTo = FieldKey(entry, kToLengthAt, kToAt);
  const size_t first = std::min(theirFrom.size(), from.size());
  const size_t second = std::min(theirTo.size(), to.size());
  if (from.substr(0, first) > theirTo.substr(0, first)) return false;
  if (to.substr(0, second) < theirFrom.substr(0, second)) return false;
  return true;
}

// One scan of the lock file: frees expired entries and writes this
// workstation's entry unless another workstation's lock conflicts. True when
// there was a conflict.
bool ScanAndLock(const std::string& lockName, char kind, const std::string& from, const std::string& to) {
  platform::File file = OpenLockFile(Session().RootDir + "LOCKS", RightTrimmed(lockName) + ".lck");
  const int64_t size = std::max<int64_t>(file.Size(), 0);
  const int64_t entries = size / int64_t(kLockEntrySize);
  uint64_t writeAt = uint64_t(entries) * kLockEntrySize;
  const int32_t now = MinutesNow();
  bool conflict = false;
  for (int64_t i = 0; i < entries; ++i) {
    const uint64_t at = uint64_t(i) * kLockEntrySize;
    std::string entry(kLockEntrySize, ' ');
    if (file.ReadAt(at, entry.data(), kLockEntrySize) != int64_t(kLockEntrySize)) break;
    if (!IsBlank(Field(entry, kNumberAt, kNumberWidth)) && FieldNumber(entry, kStampAt, kStampWidth) < now - kLockExpiryMinutes) {
      FreeEntry(entry);
      file.WriteAt(at, entry.data(), kLockEntrySize);
    }
    const char theirKind = static_cast<char>(std::toupper(static_cast<unsigned char>(entry[kKindAt])));
    if (theirKind == ' ') {
      writeAt = at;
      continue;
    }
    if (theirKind == 'F' || kind == 'F') {
      if (IsOurs(entry, true)) {
        if (theirKind == kind) writeAt = at;
      } else {
        conflict = true;
      }
      break;
    }
    if (theirKind == 'K' && kind == 'K') {
      if (!RangesMeet(entry, from, to)) continue;
      if (IsOurs(entry, false)) writeAt = at;
      else conflict = true;
      break;
    }
  }
  if (!conflict) {
    const std::string entry = NewEntry(kind, from, to);
    file.WriteAt(writeAt, entry.data(), entry.size());
  }
  return conflict;
}

std::string LockTextOfLanguage(bool withEsc) {
  const std::string& language = Session().Language;
  std::string text, esc;
  if (language == "SPA") {
    text = "FICHERO BLOQUEADO. ESPERE UN MOMENTO";
    esc = " O PULSE [ESC] PARA SALIR";
  } else if (language == "GLG") {
    text = "FICHEIRO BLOQUEADO. ESPERE UM MOMENTO";
    esc = " OU PULSE [ESC] PARA SAIR";
  } else if (language == "OCI") {
    text = "FICH\xD4R BLOQUEJAT. ESPERATZ UN MOMENT";
    esc = " O POSSATZ [ESC] ENT\xB7 G\xD4SSER";
  } else {
    text = "FITXER BLOQUEJAT. ESPEREU UN MOMENT";
    esc = " O POLSEU [ESC] PER A EIXIR";
  }
  return text + (withEsc ? esc : "") + ".";
}

}  // namespace

const WorkstationIdentity& Workstation() {
  LoadWorkstationIdentity();
  return State().identity;
}

platform::File OpenLockFile(const std::string& directory, const std::string& fileName) {
  const std::string path = directory + "\\" + fileName;
  for (;;) {
    platform::File file = platform::File::Open(path, platform::Access::ReadWrite, platform::Sharing::Exclusive,
                                               platform::Creation::OpenOrCreate);
    if (file.IsOpen()) return file;
    if (file.Error() == platform::OpenError::DirectoryMissing && platform::MakeDirectory(directory)) continue;
    SleepRandom(DataWaitTimes().lockFileOpenSpread);
  }
}

int16_t LockRecordRange(std::string lockName, std::string kind, std::string fromKey, std::string toKey) {
  LoadWorkstationIdentity();
  const char requested = kind.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(kind[0])));
  const char mode = static_cast<char>(std::toupper(static_cast<unsigned char>(State().waitMode)));
  int waits = 0;
  bool conflict = false;
  for (;;) {
    conflict = ScanAndLock(lockName, requested, fromKey, toKey);
    if (!conflict || mode == 'S') break;
    if (waits < 2) ++waits;
    if (waits == 1) {
      ShowDataMessage(24, LockTextOfLanguage(mode == 'P'));
      if (mode == 'P') DiscardWaitingKeys();
    }
    SleepRandom(DataWaitTimes().keyLockSpread);
    if (mode == 'P' && ReadWaitingKey() == kEsc) break;
  }
  if (waits > 0) RemoveDataMessage();
  return conflict ? -1 : 0;
}

std::string LockKeyText(const std::string& keyValue) {
  std::string text;
  for (char c : keyValue) {
    const uint8_t byte = static_cast<uint8_t>(c);
    if (byte >= 128 && byte <= 227) {
      text += static_cast<char>('0' + (byte - 128) / 10);
      text += static_cast<char>('0' + (byte - 128) % 10);
    } else {
      text += c;
    }
  }
  return text;
}

int16_t LockKey(std::string lockName, std::string keyValue) {
  const std::string text = LockKeyText(keyValue);
  return LockRecordRange(std::move(lockName), "K", text, text);
}

int16_t ReleaseLock(std::string lockName) {
  const std::string name = UpperCase(Trimmed(std::move(lockName)));
  LoadWorkstationIdentity();
  platform::File file = OpenLockFile(Session().RootDir + "LOCKS", name + ".lck");
  const int64_t entries = std::max<int64_t>(file.Size(), 0) / int64_t(kLockEntrySize);
  int64_t found = -1;
  long foundStamp = 0;
  std::string foundEntry;
  for (int64_t i = 0; i < entries; ++i) {
    std::string entry(kLockEntrySize, ' ');
    if (file.ReadAt(uint64_t(i) * kLockEntrySize, entry.data(), kLockEntrySize) != int64_t(kLockEntrySize)) break;
    if (!IsOurs(entry, true)) continue;
    const long stamp = FieldNumber(entry, kStampAt, kStampWidth);
    if (found < 0 || stamp >= foundStamp) {
      found = i;
      foundStamp = stamp;
      foundEntry = entry;
    }
  }
  if (found < 0) return -1;
  FreeEntry(foundEntry);
  file.WriteAt(uint64_t(found) * kLockEntrySize, foundEntry.data(), kLockEntrySize);
  return 0;
}

int32_t MinutesNow() {
  const platform::LocalDateTime now = platform::Now();
  int64_t y = now.year, m = now.month;
  const int64_t d = now.day;
  if (m < 3) {
    y -= 1;
    m += 12;
  }
  m -= 3;
  const int64_t days = d + (153 * m + 2) / 5 + 1721119 + (1461 * (y % 100)) / 4 + (146097 * (y / 100)) / 4 - 2440588;
  return static_cast<int32_t>(1440 * days + std::llround(now.SecondsSinceMidnight()) / 60);
}

void SetLockWaitMode(char mode) { State().waitMode = mode; }
char LockWaitMode() { return State().waitMode; }

void ResetLockFileState() { State() = LockFileState{}; }

}  // namespace olm
