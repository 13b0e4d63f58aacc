#include "text/fold_case.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace olm {

bool FoldAccents = false;

namespace {

using Table = std::array<uint8_t, 256>;

Table Identity() {
  Table table{};
  for (int code = 0; code < 256; ++code) table[code] = static_cast<uint8_t>(code);
  return table;
}

// Upper case keeping accents.
const Table& UpperCaseTable() {
  static const Table table = [] {
    Table t = Identity();
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 32);
    const std::pair<uint8_t, uint8_t> pairs[] = {
        {129, 154}, {130, 144}, {131, 182}, {132, 142}, {133, 183}, {134, 143}, {135, 128}, {136, 210},
        {137, 211}, {138, 212}, {139, 216}, {140, 215}, {141, 222}, {145, 146}, {147, 226}, {148, 153},
        {149, 227}, {150, 234}, {151, 235}, {160, 181}, {161, 214}, {162, 224}, {163, 233}, {164, 165},
        {198, 199}, {208, 209}, {228, 229}, {236, 237},
    };
    for (auto [from, to] : pairs) t[from] = to;
    return t;
  }();
  return table;
}

// Plain capitals, every other code of the letter range a blank.
const Table& AccentFreeTable() {
  static const Table table = [] {
    Table t = Identity();
    for (int c = 64; c <= 237; ++c) t[c] = ' ';
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<uint8_t>(c);
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 32);
    const std::pair<char, std::vector<uint8_t>> groups[] = {
        {'C', {128, 135}},
        {'U', {129, 150, 151, 154, 163, 233, 234, 235}},
        {'E', {130, 136, 137, 138, 144, 210, 211, 212, 213}},
        {'A', {131, 132, 133, 134, 142, 143, 145, 146, 160, 166, 181, 182, 183, 198, 199}},
        {'I', {139, 140, 141, 161, 214, 215, 216, 222}},
        {'O', {147, 148, 149, 153, 155, 157, 162, 167, 224, 226, 227, 228, 229}},
        {'Y', {152, 236, 237}},
        {'N', {164, 165}},
        {'D', {208, 209}},
        {'S', {225}},
        {'T', {231, 232}},
    };
    for (const auto& [letter, codes] : groups)
      for (uint8_t code : codes) t[code] = static_cast<uint8_t>(letter);
    return t;
  }();
  return table;
}

std::string Fold(std::string_view text, const Table& table) {
  std::string result(text);
  for (char& c : result) {
    uint8_t code = static_cast<uint8_t>(c);
    if (code >= 64 && code <= 237) c = static_cast<char>(table[code]);
  }
  return result;
}

}  // namespace

std::string FoldCase(std::string_view text) { return Fold(text, FoldAccents ? AccentFreeTable() : UpperCaseTable()); }

std::string UpperCase(std::string_view text) { return Fold(text, UpperCaseTable()); }

}  // namespace olm
