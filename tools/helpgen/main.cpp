// helpgen: turns a readable help text (UTF-8, one display line per line) into
// a help file of fixed 80-byte records in code page 850, the form the help
// viewer reads. Inline marks switch the display style and take no room:
//   *text*  emphasis      _text_  underlining      {text}  reverse
// A mark character is written literally when doubled ("**", "__", "{{", "}}").

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/codepage.h"

namespace {

constexpr size_t kRecordLength = 80;
constexpr size_t kVisibleLength = 76;
constexpr char kEmphasis = 30, kUnderline = 31, kReverse = 16;

// One source line to one record; false (with a reason) when it does not fit.
bool CompileLine(const std::string& utf8, std::string& record, std::string& reason) {
  const std::string text = olm::platform::Utf8ToCp850(utf8);
  record.clear();
  size_t visible = 0;
  int emphasis = 0, underline = 0, reverse = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    const bool mark = c == '*' || c == '_' || c == '{' || c == '}';
    if (mark && i + 1 < text.size() && text[i + 1] == c) {
      record += c;
      ++visible;
      ++i;
    } else if (c == '*') {
      record += kEmphasis;
      ++emphasis;
    } else if (c == '_') {
      record += kUnderline;
      ++underline;
    } else if (c == '{' || c == '}') {
      record += kReverse;
      ++reverse;
    } else {
      record += c;
      ++visible;
    }
  }
  // Every line starts in the plain style, so a style must end where it began.
  if (emphasis % 2 || underline % 2 || reverse % 2) {
    reason = "a style mark is not closed on its line";
    return false;
  }
  if (visible > kVisibleLength) {
    reason = "more than 76 visible characters";
    return false;
  }
  if (record.size() > kRecordLength) {
    reason = "more than 80 bytes with its style marks";
    return false;
  }
  record.resize(kRecordLength, ' ');
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: helpgen SOURCE.txt OUTPUT.HLP\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "helpgen: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream out;
  std::string line, record, reason;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!CompileLine(line, record, reason)) {
      std::cerr << argv[1] << ":" << number << ": " << reason << "\n";
      return 1;
    }
    out << record;
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file ? 0 : 1;
}
