#pragma once
// A fixed block of bytes that one data file reads its records into, with
// typed access to the fields the application uses. Bytes the application
// does not name are never touched, so an update writes them back as read.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace olm {

template <size_t Size>
class RecordBuffer {
 public:
  uint8_t* Data() { return bytes_.data(); }
  static constexpr uint32_t BufferSize() { return Size; }

  // The `width` bytes at `offset`, as stored.
  std::string Bytes(size_t offset, size_t width) const {
    return std::string(reinterpret_cast<const char*>(bytes_.data()) + offset, width);
  }
  // Stores `text` in the field: cut to `width` or padded with `fill`.
  void SetBytes(size_t offset, size_t width, std::string_view text, char fill = ' ') {
    for (size_t i = 0; i < width; ++i) bytes_[offset + i] = static_cast<uint8_t>(i < text.size() ? text[i] : fill);
  }
  int32_t Int32(size_t offset) const {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes_[offset + i];
    return static_cast<int32_t>(value);
  }
  void SetInt32(size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  }
  int16_t Int16(size_t offset) const {
    return static_cast<int16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  void SetInt16(size_t offset, int16_t value) {
    bytes_[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes_[offset + 1] = static_cast<uint8_t>((static_cast<uint16_t>(value) >> 8) & 0xFF);
  }
  void Clear() { bytes_.fill(0); }

 private:
  std::array<uint8_t, Size> bytes_{};
};

}  // namespace olm
