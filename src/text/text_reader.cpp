#include "text/text_reader.h"

namespace olm {
namespace {
constexpr char kEndOfFile = 26;
}

TextReader::TextReader(std::string content) : content_(std::move(content)) {
  auto end = content_.find(kEndOfFile);
  if (end != std::string::npos) content_.resize(end);
}

bool TextReader::AtLineEnd() const {
  return position_ < content_.size() && (content_[position_] == '\r' || content_[position_] == '\n');
}

bool TextReader::SkipLineEnd() {
  if (!AtLineEnd()) return false;
  if (content_[position_++] == '\r' && position_ < content_.size() && content_[position_] == '\n') ++position_;
  return true;
}

std::string TextReader::ReadLine() {
  size_t start = position_;
  while (position_ < content_.size() && !AtLineEnd()) ++position_;
  std::string line = content_.substr(start, position_ - start);
  SkipLineEnd();
  return line;
}

std::string TextReader::ReadField() {
  while (position_ < content_.size() && content_[position_] == ' ') ++position_;
  std::string field;
  const auto keep = [&](char c) {
    if (c != '\n' && c != '\r' && c != '\t') field += c;
  };

  if (position_ < content_.size() && content_[position_] == '"') {
    ++position_;
    while (position_ < content_.size() && content_[position_] != '"') keep(content_[position_++]);
    if (position_ < content_.size()) ++position_;  // the closing quote
    while (position_ < content_.size() && (content_[position_] == ' ' || content_[position_] == '\t')) ++position_;
    if (position_ < content_.size() && content_[position_] == ',')
      ++position_;
    else
      SkipLineEnd();
    return field;
  }

  while (position_ < content_.size() && content_[position_] != ',' && !AtLineEnd()) keep(content_[position_++]);
  if (position_ < content_.size() && content_[position_] == ',')
    ++position_;
  else
    SkipLineEnd();
  return field;
}

}  // namespace olm
