#include "forms/browse_list.h"

#include <algorithm>

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"
#include "data/record_operations.h"
#include "forms/exit_keys.h"
#include "forms/form_definition.h"
#include "forms/form_driver.h"
#include "forms/hooks.h"
#include "forms/list_file.h"

namespace olm {
namespace {

namespace Key {
constexpr int16_t Enter = 0x0d, Esc = 0x1b, F4 = 0x3e00;
constexpr int16_t Up = 0x4800, PgUp = 0x4900, Left = 0x4b00, Right = 0x4d00, Down = 0x5000, PgDn = 0x5100;
}  // namespace Key

constexpr char32_t kLeftMarker = U'\u25C4';
constexpr char32_t kRightMarker = U'\u25BA';
constexpr char kTopLeft = char(201), kTopRight = char(187), kHorizontal = char(205);
constexpr int32_t kFirstLine = 1;

struct ChosenLine {
  std::string text;
  int32_t position = 0;
};

ChosenLine& Chosen() {
  static ChosenLine chosen;
  return chosen;
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// One open list: the lines read so far live in the list file; the state is
// the current (highlighted) line, its row U, the first shown column V and
// the page shown.
class BrowseRun {
 public:
  BrowseRun(int16_t browse, const BrowseDefinition& definition, std::string startKey, std::string endKey)
      : browse_(browse), definition_(definition), startKey_(std::move(startKey)), endKey_(std::move(endKey)),
        height_(definition.Bottom - definition.Top - 1), width_(definition.Right - definition.Left - 1),
        list_(definition.File != 0), exhausted_(definition.File == 0) {}

  // Shows the list until a key other than a movement key; the key.
  int16_t Show() {
    // The title after the first page, so that its right corner already
    // knows whether a line reaches past the window.
    readPosition_ = kFirstLine;
    DrawPage();
    DrawTitle();
    for (;;) {
      if (hasCurrent_) {
        SetColour("u");
        WriteLine(row_, current_.text);
      }
      const int16_t key = GetKey();
      SetColour("h");
      if (hasCurrent_) WriteLine(row_, current_.text);
      if (!Move(key)) return key;
    }
  }

  // What leaving with `key` gives, before the list file goes.
  int16_t Result(int16_t key) {
    if (key != Key::Enter || !hasCurrent_) return -1;
    if (definition_.File == 0) {
      Chosen() = {current_.text, current_.dataPosition};
      return 0;
    }
    if (current_.dataPosition == 0 || definition_.File < 1) return -1;
    return int16_t(RecordPosition(definition_.File, current_.dataPosition));
  }

  void Close() { list_.CloseAndDelete(); }

 private:
  // The movement keys; false for any other key, which leaves the list.
  bool Move(int16_t key) {
    switch (key) {
      case Key::Left:
        if (firstColumn_ > 1) ScrollSideways(-8);
        return true;
      case Key::Right:
        if (widestOverflow_ >= firstColumn_) ScrollSideways(8);
        return true;
      case Key::Up:
        if (atStart_) return true;
        MoveBack(1);
        if (row_ == 1) {
          readPosition_ = current_.position;
          DrawPage();
        } else {
          --row_;
        }
        return true;
      case Key::Down:
        if (atEnd_ || MoveForward(1) == 0) return true;
        if (row_ == height_) {
          ListLine first;
          if (list_.Read(pageStart_, first)) readPosition_ = first.position + 10 + int32_t(first.text.size());
          DrawPage();
        } else {
          ++row_;
        }
        return true;
      case Key::PgUp: PageUp(); return true;
      case Key::PgDn:
        if (nextPageStart_ != 0 && MoveForward(height_) > 0) {
          readPosition_ = nextPageStart_;
          DrawPage();
        }
        return true;
      default: return false;
    }
  }

  void ScrollSideways(int columns) {
    firstColumn_ += columns;
    DrawTitle();
    readPosition_ = pageStart_;
    DrawPage();
  }

  void PageUp() {
    if (pageStart_ == kFirstLine || !hasCurrent_) return;
    MoveBack(height_);
    int32_t newStart = pageStart_;
    ListLine line;
    for (int i = 0; i < height_ && list_.Read(newStart, line) && line.previous != 0; ++i) newStart = line.previous;
    // The current line's row on the new page.
    row_ = 1;
    for (int32_t at = current_.position; at != newStart && row_ <= height_ && list_.Read(at, line); at = line.previous)
      ++row_;
    row_ = std::min(row_, height_);
    readPosition_ = newStart;
    DrawPage();
  }

  int MoveForward(int count) {
    int moved = 0;
    while (moved < count && !atEnd_ && ReadLine()) ++moved;
    return moved;
  }

  int MoveBack(int count) {
    int moved = 0;
    for (; moved < count && !atStart_; ++moved) {
      readPosition_ = current_.previous;
      if (!ReadLine()) break;
    }
    return moved;
  }

  // Reads the line at the read position, from the list file or, past its
  // end, from the data file; true when a line became the current one.
  bool ReadLine() {
    bool got = false;
    ListLine line;
    if (readPosition_ < list_.EndPosition()) {
      got = list_.Read(readPosition_, line);
      if (got) {
        current_ = line;
        hasCurrent_ = true;
        readPosition_ = line.position + 10 + int32_t(line.text.size());
      }
    } else if (!exhausted_) {
      got = ReadFromData();
    }
    atStart_ = !hasCurrent_ || current_.previous == 0;
    atEnd_ = readPosition_ >= list_.EndPosition() && exhausted_;
    return got;
  }

  // Reads records until one gives a line, the data runs out or passes the
  // end key, or the user presses Esc.
  bool ReadFromData() {
    const int16_t file = definition_.File;
    int16_t status = 0;
    if (!started_) {
      started_ = true;
      ReadByKey(file, definition_.KeyNumber, startKey_, 1, status);
      endSortKey_ = KeySortText(endKey_, file);
      if (status != 0 || PastEndKey()) {
        exhausted_ = true;
        return false;
      }
    }
    for (;;) {
      const std::string text = WithoutTrailingBlanks(OnBrowseLine(browse_));
      const bool appended = !text.empty();
      if (appended) {
        current_ = list_.Append(RecordPosition(file, 0), text);
        hasCurrent_ = true;
        readPosition_ = list_.EndPosition();
      }
      SkipRecords(file, 1, status);
      if (status != 0 || PastEndKey() || EscapePressed()) {
        exhausted_ = true;
        return appended;
      }
      if (appended) return true;
    }
  }

  bool PastEndKey() const {
    return CurrentKeySortText(definition_.File).substr(0, endSortKey_.size()) > endSortKey_;
  }

  // One look at the keyboard; keys other than Esc are dropped.
  static bool EscapePressed() {
    int16_t key = 0, buttons = 0, row = 0, column = 0;
    ReadKeyEvent(key, buttons, row, column);
    return key == Key::Esc;
  }

  // Draws the page from the read position, then reads the current line again.
  void DrawPage() {
    const int32_t remembered = hasCurrent_ ? current_.position : readPosition_;
    pageStart_ = readPosition_;
    bool reachedEnd = false;
    for (int row = 1; row <= height_; ++row) {
      if (!ReadLine()) {
        row_ = std::max(1, std::min(row_, row - 1));
        BlankRows(row);
        reachedEnd = true;
        break;
      }
      WriteLine(row, current_.text);
      widestOverflow_ = std::max(widestOverflow_, int(current_.text.size()) - width_);
      if (atEnd_) {
        row_ = std::min(row_, row);
        BlankRows(row + 1);
        reachedEnd = true;
        break;
      }
    }
    nextPageStart_ = reachedEnd ? 0 : readPosition_;
    readPosition_ = remembered;
    hasCurrent_ = false;
    ReadLine();
  }

  void BlankRows(int from) {
    for (int row = from; row <= height_; ++row) {
      LocateInWindow(int16_t(row), 1);
      WriteBlanks(int16_t(width_));
    }
  }

  // Columns V .. V + G - 1 of a line, padded to the window's width.
  void WriteLine(int row, const std::string& text) {
    std::string shown = size_t(firstColumn_ - 1) < text.size() ? text.substr(size_t(firstColumn_ - 1), size_t(width_)) : "";
    shown.resize(size_t(width_), ' ');
    LocateInWindow(int16_t(row), 1);
    WriteText(shown);
  }

  // The title in the frame's top line, with markers where more lies left or
  // right of the columns shown.
  void DrawTitle() {
    SetColour("+n");
    LocateInWindow(0, 0);
    if (firstColumn_ == 1)
      WriteText(std::string(1, kTopLeft));
    else
      WriteConsoleCharacter(kLeftMarker);
    std::string shown;
    const std::string& title = definition_.Title;
    for (int k = firstColumn_; k < firstColumn_ + width_; ++k) {
      const char c = size_t(k - 1) < title.size() ? title[size_t(k - 1)] : ' ';
      shown += c == ' ' ? kHorizontal : c == '_' ? ' ' : c;
    }
    WriteText(shown);
    const int lastShown = firstColumn_ + width_ - 1;
    if (widestOverflow_ < firstColumn_ && int(title.size()) <= lastShown)
      WriteText(std::string(1, kTopRight));
    else
      WriteConsoleCharacter(kRightMarker);
    SetColour("-");
  }

  const int16_t browse_;
  const BrowseDefinition definition_;
  const std::string startKey_;
  const std::string endKey_;
  std::string endSortKey_;
  const int height_;
  const int width_;
  ListFile list_;
  ListLine current_;
  bool hasCurrent_ = false;
  int32_t readPosition_ = kFirstLine;
  int32_t pageStart_ = kFirstLine;
  int32_t nextPageStart_ = 0;
  int row_ = 1;
  int firstColumn_ = 1;
  int widestOverflow_ = 0;
  bool started_ = false;
  bool exhausted_;
  bool atStart_ = true;
  bool atEnd_ = false;
};

// Runs the filter screen; false when it is left with Esc.
bool RunFilterScreen(int16_t screen) {
  if (screen == 0) return true;
  int16_t leaveUp = 0, leaveDown = 0, key = 0;
  RunFormScreen(screen, leaveUp, leaveDown, key);
  return key != Key::Esc;
}

}  // namespace

void RunBrowse(int16_t& browse, int16_t& result) {
  result = -1;
  if (!Form().HasBrowse(browse)) return;
  const BrowseDefinition definition = Form().Browse(browse);
  if (definition.Bottom - definition.Top < 2 || definition.Right - definition.Left < 2) return;
  if (!RunFilterScreen(definition.FilterScreen)) return;
  std::string startKey, endKey;
  result = OnBrowseStart(browse, startKey, endKey);
  if (result != 0) return;

  const int16_t file = definition.File;
  int16_t status = 0;
  if (file >= 1) SetLockMode(file, "+d", status);
  SetColour("+n");
  PushWindow(definition.Top, definition.Left, definition.Bottom, definition.Right);
  DrawWindowFrame(2);
  SetColour("h");
  SetExitKeys("+ea", "d,1b,4800,5000,4900,5100,4b00,4d00");
  if (definition.NestedList != 0) SetExitKeys("a", "3e00");

  int16_t key = 0;
  {
    BrowseRun run(browse, definition, std::move(startKey), std::move(endKey));
    key = run.Show();
    result = run.Result(key);
    run.Close();
  }
  if (key == Key::F4 && definition.NestedList != 0) {
    int16_t nested = definition.NestedList;
    RunBrowse(nested, result);
    if (result == 0) {
      int16_t field = 0;
      OnBrowsePick(nested, 0, field);
    }
  }

  SetExitKeys("-", "");
  PopWindow();
  SetColour("-");
  if (file >= 1) SetLockMode(file, "-", status);
}

const std::string& ChosenLineText() { return Chosen().text; }
int32_t ChosenLinePosition() { return Chosen().position; }

void ResetBrowseListState() { Chosen() = ChosenLine{}; }

}  // namespace olm
