#pragma once
// Reading the program's text files the way its original runtime read them:
// by lines, or by comma-separated fields. Used by the INI reader, the language
// file, the form file and the calculator's state file.
//
// A line ends at a carriage return (a following line feed belongs to it) or at
// a lone line feed, so files written on Linux read like those written on the
// original platform. A byte 26 (Ctrl-Z) ends the file.

#include <cstddef>
#include <string>
#include <string_view>

namespace olm {

class TextReader {
 public:
  explicit TextReader(std::string content);

  bool AtEnd() const { return position_ >= content_.size(); }
  size_t Position() const { return position_; }
  void Seek(size_t position) { position_ = position < content_.size() ? position : content_.size(); }

  // The next line without its line end.
  std::string ReadLine();

  // The next comma-separated field. Blanks before it are skipped. A field
  // that starts with a double quote runs to the next double quote (commas and
  // line ends inside are part of it) and the quotes are dropped; blanks and
  // tabs after it are skipped up to and including the next comma or line end.
  // Any other field runs to the next comma or line end. Line feeds, carriage
  // returns and tabs inside a field are dropped.
  std::string ReadField();

 private:
  // Consumes a line end at the current position; false when there is none.
  bool SkipLineEnd();
  bool AtLineEnd() const;

  std::string content_;
  size_t position_ = 0;
};

}  // namespace olm
