#pragma once
// A thin client of RecordManagerCall for tests: one position block, string
// buffers in and out, the status of the last call.

#include <cstring>
#include <string>

#include "recman/creation_buffer.h"
#include "recman/record_manager.h"

namespace olm::testing {

struct Answer {
  int16_t status = 0;
  std::string record;
  std::string key;
};

class EngineClient {
 public:
  int16_t Create(const std::string& path, const recman::FileDescription& file, int8_t mode = recman::kCreateNew) {
    std::string buffer = recman::BuildCreationBuffer(file);
    buffer.resize(1536, ' ');
    return Call(recman::kCreate, buffer, path, mode).status;
  }
  int16_t Open(const std::string& path, int8_t mode = recman::kOpenShared) {
    return Call(recman::kOpen, std::string("OLM\0", 5), path, mode).status;
  }
  // A read by key value; the answer carries the record and its key.
  Answer Read(int16_t operation, const std::string& keyValue = {}, int8_t keyNumber = 0) {
    return Call(operation, std::string(1536, ' '), keyValue, keyNumber, 1536);
  }
  int16_t Insert(const std::string& record, int8_t keyNumber = 0) {
    return Call(recman::kInsert, record, {}, keyNumber).status;
  }
  int16_t Update(const std::string& record, int8_t keyNumber = 0) {
    return Call(recman::kUpdate, record, {}, keyNumber).status;
  }
  int16_t Delete() { return Call(recman::kDelete, {}, {}, 0).status; }
  uint32_t Position() {
    Answer answer = Call(recman::kGetPosition, std::string(4, '\0'), {}, 0);
    uint32_t position = 0;
    if (answer.status == 0) std::memcpy(&position, answer.record.data(), 4);
    return position;
  }
  Answer Direct(uint32_t position, int8_t keyNumber = 0, int16_t bias = 0) {
    std::string data(1536, ' ');
    std::memcpy(data.data(), &position, 4);
    return Call(static_cast<int16_t>(recman::kGetDirect + bias), data, {}, keyNumber, 1536);
  }
  Answer Stat() { return Call(recman::kStat, std::string(1536, ' '), std::string(255, ' '), 0); }

  // One raw call; `dataLength` defaults to the data's size.
  Answer Call(int16_t operation, std::string data, const std::string& keyText, int8_t keyNumber,
              uint32_t dataLength = UINT32_MAX) {
    uint32_t length = dataLength == UINT32_MAX ? static_cast<uint32_t>(data.size()) : dataLength;
    data.resize(std::max<size_t>(data.size(), 1536), ' ');
    char key[256] = {};
    std::memcpy(key, keyText.data(), std::min<size_t>(keyText.size(), 255));
    uint8_t keyLength = static_cast<uint8_t>(keyText.size());
    Answer answer;
    answer.status = RecordManagerCall(operation, block, data.data(), length, key, keyLength, keyNumber);
    answer.record = data.substr(0, length);
    answer.key.assign(key, keyLength);
    return answer;
  }

  PositionBlock block{};
};

}  // namespace olm::testing
