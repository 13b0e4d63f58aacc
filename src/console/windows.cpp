#include "console/windows.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "console/screen.h"
#include "platform/file.h"
#include "session/session_settings.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

constexpr size_t kNumbersSize = 20;  // ten 2-digit numbers
constexpr size_t kLengthSize = 5;

// One entry per PushWindow of this process. A refused push is remembered so
// that its PopWindow does nothing instead of taking down the window beneath;
// a rectangle that could not be written to the stack file is kept here, so
// that the screen is given back all the same.
struct Push {
  enum class Kind { Refused, InFile, InMemory };
  Kind kind = Kind::Refused;
  std::string record;  // InMemory only
};

std::vector<Push>& Pushes() {
  static std::vector<Push> pushes;
  return pushes;
}

std::string StackPath() { return Session().TempDir + "WinPush.tmp"; }

uint32_t ReadHeader(const platform::File& file) {
  uint8_t bytes[4] = {};
  if (file.ReadAt(0, bytes, 4) != 4) return 5;
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool WriteHeader(platform::File& file, uint32_t position) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(position), static_cast<uint8_t>(position >> 8),
                            static_cast<uint8_t>(position >> 16), static_cast<uint8_t>(position >> 24)};
  return file.WriteAt(0, bytes, 4);
}

// The value of `size` decimal digits at `offset`, or -1 when they are not digits.
int ReadDigits(std::string_view text, size_t offset, size_t size) {
  if (offset + size > text.size()) return -1;
  int value = 0;
  for (size_t i = offset; i < offset + size; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The record of a push: cursor, enclosing window, new window, cells, length.
std::string BuildRecord(const WindowRect& window) {
  const WindowRect outer = CurrentWindow();
  std::string record;
  for (int value : {int{CursorRow()}, int{CursorColumn()}, int{outer.top}, int{outer.left}, int{outer.bottom},
                    int{outer.right}, int{window.top}, int{window.left}, int{window.bottom}, int{window.right}}) {
    record += ZeroPad(value, 2);
  }
  for (int16_t row = window.top; row <= window.bottom; ++row) {
    for (int16_t column = window.left; column <= window.right; ++column) {
      const platform::Cell cell = ReadCell(row, column);
      record += static_cast<char>(cell.character);
      record += static_cast<char>(cell.attribute);
    }
  }
  record += ZeroPad(static_cast<double>(record.size() + kLengthSize), kLengthSize);
  return record;
}

bool AppendToStackFile(const std::string& record) {
  platform::File file = platform::File::Open(StackPath(), platform::Access::ReadWrite, platform::Sharing::Shared,
                                             platform::Creation::OpenOrCreate);
  if (!file.IsOpen()) return false;
  const uint32_t position = file.Size() < 4 ? 5 : ReadHeader(file);
  return file.WriteAt(position - 1, record.data(), record.size()) &&
         WriteHeader(file, position + static_cast<uint32_t>(record.size()));
}

// Puts a record back on the screen: its cells in their own colours, the
// cursor, and the enclosing window as the current one. A record that does
// not hold together (a damaged file) draws nothing and answers false.
bool RestoreRecord(std::string_view record) {
  int n[10];
  for (int i = 0; i < 10; ++i) n[i] = ReadDigits(record, static_cast<size_t>(2 * i), 2);
  if (!std::all_of(n, n + 10, [](int v) { return v >= 0; })) return false;
  const WindowRect outer{static_cast<int16_t>(n[2]), static_cast<int16_t>(n[3]), static_cast<int16_t>(n[4]),
                         static_cast<int16_t>(n[5])};
  const WindowRect window{static_cast<int16_t>(n[6]), static_cast<int16_t>(n[7]), static_cast<int16_t>(n[8]),
                          static_cast<int16_t>(n[9])};
  if (window.top > window.bottom || window.left > window.right) return false;
  const size_t cells = static_cast<size_t>(window.bottom - window.top + 1) * (window.right - window.left + 1);
  if (record.size() != kNumbersSize + 2 * cells + kLengthSize) return false;

  SetWindowState(static_cast<int16_t>(std::max(WindowDepth() - 1, 0)), outer);
  size_t offset = kNumbersSize;
  uint8_t attribute = CurrentAttribute();
  for (int16_t row = window.top; row <= window.bottom; ++row) {
    for (int16_t column = window.left; column <= window.right; ++column) {
      attribute = static_cast<uint8_t>(record[offset + 1]);
      platform::Console().PutCell(row, column, platform::Cell{static_cast<uint8_t>(record[offset]), attribute});
      offset += 2;
    }
  }
  SetConsoleColours(attribute % 16, attribute / 16);
  SetCursorPosition(static_cast<int16_t>(n[0]), static_cast<int16_t>(n[1]));
  return true;
}

// Takes the last record off the stack file and puts it back on the screen;
// deletes the file when the stack is then empty. A damaged stack is dropped.
void RestoreFromStackFile() {
  const std::string path = StackPath();
  platform::File file = platform::File::Open(path, platform::Access::ReadWrite, platform::Sharing::Shared,
                                             platform::Creation::MustExist);
  if (!file.IsOpen()) return;
  uint32_t start = 0;
  const uint32_t position = file.Size() < 4 ? 0 : ReadHeader(file);
  if (position > 5 + kLengthSize && position - 1 <= static_cast<uint64_t>(file.Size())) {
    char lengthText[kLengthSize];
    const bool haveLength =
        file.ReadAt(position - 1 - kLengthSize, lengthText, kLengthSize) == static_cast<int64_t>(kLengthSize);
    const int length = haveLength ? ReadDigits(std::string_view(lengthText, kLengthSize), 0, kLengthSize) : -1;
    if (length > 0 && static_cast<uint32_t>(length) + 5 <= position) {
      start = position - static_cast<uint32_t>(length);
      std::string record(static_cast<size_t>(length), '\0');
      const bool read = file.ReadAt(start - 1, record.data(), record.size()) == length;
      if (read && RestoreRecord(record)) {
        WriteHeader(file, start);
      } else {
        start = 0;
      }
    }
  }
  file.Close();
  if (start <= 5) platform::DeleteFile(path);
}

}  // namespace

void PushWindow(int16_t top, int16_t left, int16_t bottom, int16_t right) {
  const bool onScreen = top >= 1 && top <= ScreenHeight() && bottom >= 1 && bottom <= ScreenHeight() &&
                        left >= 1 && left <= ScreenWidth() && right >= 1 && right <= ScreenWidth() &&
                        top <= bottom && left <= right;
  Push push;
  if (onScreen) {
    const WindowRect window{top, left, bottom, right};
    std::string record = BuildRecord(window);
    if (AppendToStackFile(record)) {
      push.kind = Push::Kind::InFile;
    } else {
      push.kind = Push::Kind::InMemory;
      push.record = std::move(record);
    }
    SetWindowState(static_cast<int16_t>(WindowDepth() + 1), window);
  }
  Pushes().push_back(std::move(push));
}

void PopWindow() {
  if (Pushes().empty()) {
    RestoreFromStackFile();
    return;
  }
  const Push push = std::move(Pushes().back());
  Pushes().pop_back();
  if (push.kind == Push::Kind::InFile) RestoreFromStackFile();
  if (push.kind == Push::Kind::InMemory) RestoreRecord(push.record);
}

void ResetWindowState() { Pushes().clear(); }

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }
bool IsWordCharacter(char c) { return !IsControl(c) && c != ' '; }

// The end of the part of `text` from `start` that fills `room` visible
// characters, moved back before a word that the room would cut.
size_t LineEnd(const std::string& text, size_t start, int room) {
  size_t end = start;
  for (int visible = 0; end < text.size() && visible < room; ++end) {
    if (!IsControl(text[end])) ++visible;
  }
  if (end > start && IsWordCharacter(text[end - 1])) {
    while (end < text.size() && IsControl(text[end])) ++end;
  }
  if (end < text.size() && IsWordCharacter(text[end])) {
    size_t wordStart = end;
    while (wordStart > start && text[wordStart - 1] != ' ') --wordStart;
    if (wordStart > start) end = wordStart;
  }
  return end;
}

// Inserts blanks after the runs of blanks, left to right and round again,
// until the line reaches `target`.
void Justify(std::string& line, size_t indent, size_t target) {
  size_t i = indent;
  while (line.size() < target) {
    while (i < line.size() && line[i] != ' ') ++i;
    if (i >= line.size()) {
      i = indent;
      continue;
    }
    while (i < line.size() && line[i] == ' ') ++i;
    line.insert(i, 1, ' ');
    ++i;
  }
}

void Align(std::string& line, size_t indent, size_t target, char alignment, bool moreFollows) {
  const size_t free = target > line.size() ? target - line.size() : 0;
  switch (std::toupper(static_cast<unsigned char>(alignment))) {
    case 'E':
    case 'L':
    case 'I':
      line.append(free, ' ');
      break;
    case 'N':
      line.append(free, '-');
      break;
    case 'D':
    case 'R':
      line.insert(0, free, ' ');
      break;
    case 'C':
      line.insert(0, free / 2, ' ');
      line.append((free + 1) / 2, ' ');
      break;
    case 'A':
    case 'B':
      if (moreFollows && line.find(' ', indent) != std::string::npos) Justify(line, indent, target);
      break;
    default:
      break;
  }
}

}  // namespace

void WrapText(std::string& text, int16_t indent, int16_t width, char alignment) {
  std::string result;
  size_t position = 0;
  for (bool first = true; position < text.size(); first = false) {
    const int lineIndent = first ? std::max<int>(indent, 0) : std::max<int>(-indent, 0);
    // A line always takes at least one character, so the text is used up.
    const int room = std::max(width - lineIndent, 1);
    const size_t end = LineEnd(text, position, room);
    std::string part = text.substr(position, end - position);
    if (end >= text.size() || IsControl(text[end])) {
      part.erase(part.find_last_not_of(' ') + 1);
    }
    const size_t controls = static_cast<size_t>(std::count_if(part.begin(), part.end(), IsControl));
    position = end;
    while (position < text.size() && text[position] == ' ') ++position;
    std::string line = std::string(static_cast<size_t>(lineIndent), ' ') + part;
    Align(line, static_cast<size_t>(lineIndent), static_cast<size_t>(std::max<int>(width, 0)) + controls, alignment,
          position < text.size());
    result += line;
  }
  text = result;
}

void ShowMessage(int16_t row, std::string& text) {
  constexpr int kWidth = 76;
  SetColour("+rh");
  WrapText(text, 0, kWidth, 'i');
  // A message taller than the screen shows its first lines, so that the box
  // is always there for the caller's PopWindow to remove.
  const int lines = std::min<int>(static_cast<int>(text.size()) / kWidth, ScreenHeight() - 2);
  int top = std::max(row - (lines + 1) / 2 - 2, 1);
  int bottom = top + lines + 1;
  if (bottom > ScreenHeight()) {
    bottom = ScreenHeight();
    top = bottom - lines - 1;
  }
  size_t longest = 0;
  std::vector<std::string> shown;
  for (int k = 0; k < lines; ++k) {
    std::string line = text.substr(static_cast<size_t>(k * kWidth), kWidth);
    line.erase(line.find_last_not_of(' ') + 1);
    longest = std::max(longest, line.size());
    shown.push_back(line);
  }
  const int length = static_cast<int>(longest);
  PushWindow(static_cast<int16_t>(top), static_cast<int16_t>(41 - (length + 1) / 2 - 2), static_cast<int16_t>(bottom),
             static_cast<int16_t>(length / 2 + 42));
  DrawWindowFrame(1);
  for (int k = 0; k < lines; ++k) {
    LocateInWindow(static_cast<int16_t>(k + 1), 2);
    WriteText(shown[static_cast<size_t>(k)]);
  }
  SetColour("-");
}

}  // namespace olm
