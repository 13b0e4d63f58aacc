#include "forms/list_file.h"

#include <cstring>

#include "session/session_settings.h"

namespace olm {
namespace {

constexpr size_t kHeaderSize = 10;

uint32_t ReadLittleEndian(const uint8_t* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

void AppendLittleEndian(std::string& out, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out += char(value >> (8 * i) & 0xFF);
}

}  // namespace

std::string ListFile::Path() { return Session().TempDir + "Browse.tmp"; }

ListFile::ListFile(bool empty) {
  using namespace platform;
  file_ = File::Open(Path(), Access::ReadWrite, Sharing::Shared, empty ? Creation::Truncate : Creation::OpenOrCreate);
  inMemory_ = !file_.IsOpen();
  // Lines appended later continue the chain of those already there.
  ListLine line;
  for (int32_t position = 1; Read(position, line); position = line.position + int32_t(kHeaderSize + line.text.size()))
    lastAppended_ = position;
}

int32_t ListFile::EndPosition() const {
  const int64_t size = inMemory_ ? int64_t(memory_.size()) : file_.Size();
  return int32_t(std::max<int64_t>(size, 0) + 1);
}

int64_t ListFile::ReadBytes(int32_t position, void* buffer, size_t size) const {
  if (!inMemory_) return file_.ReadAt(uint64_t(position - 1), buffer, size);
  if (size_t(position - 1) >= memory_.size()) return 0;
  const size_t count = std::min(size, memory_.size() - size_t(position - 1));
  std::memcpy(buffer, memory_.data() + position - 1, count);
  return int64_t(count);
}

bool ListFile::Read(int32_t position, ListLine& line) const {
  if (position < 1 || position >= EndPosition()) return false;
  uint8_t header[kHeaderSize];
  if (ReadBytes(position, header, kHeaderSize) != int64_t(kHeaderSize)) return false;
  const size_t length = ReadLittleEndian(header + 8, 2);
  std::string text(length, ' ');
  if (length > 0 && ReadBytes(int32_t(position + kHeaderSize), text.data(), length) != int64_t(length)) return false;
  line.position = position;
  line.previous = int32_t(ReadLittleEndian(header, 4));
  line.dataPosition = int32_t(ReadLittleEndian(header + 4, 4));
  line.text = std::move(text);
  return true;
}

ListLine ListFile::Append(int32_t dataPosition, std::string_view text) {
  text = text.substr(0, 65535);
  std::string record;
  AppendLittleEndian(record, uint32_t(lastAppended_), 4);
  AppendLittleEndian(record, uint32_t(dataPosition), 4);
  AppendLittleEndian(record, uint32_t(text.size()), 2);
  record += text;
  ListLine line{EndPosition(), lastAppended_, dataPosition, std::string(text)};
  if (inMemory_ || !file_.Append(record)) {
    // A file that fails to grow hands its lines over to memory.
    if (!inMemory_) {
      memory_ = file_.ReadAll();
      memory_.resize(size_t(line.position - 1));
      inMemory_ = true;
    }
    memory_ += record;
  }
  lastAppended_ = line.position;
  return line;
}

void ListFile::CloseAndDelete() {
  file_.Close();
  memory_.clear();
  platform::DeleteFile(Path());
}

}  // namespace olm
