#include "forms/field_editor.h"

#include <algorithm>
#include <vector>

#include "console/keyboard.h"
#include "console/screen.h"
#include "forms/exit_keys.h"
#include "platform/console_backend.h"
#include "text/fold_case.h"

namespace olm {
namespace {

namespace Key {
constexpr int16_t CtrlC = 0x03, Backspace = 0x08, Tab = 0x09, Enter = 0x0d, CtrlV = 0x16, CtrlY = 0x19, Esc = 0x1b;
constexpr int16_t ShiftTab = 0x0f00, Home = 0x4700, Up = 0x4800, Left = 0x4b00, Right = 0x4d00, End = 0x4f00;
constexpr int16_t Down = 0x5000, Insert = 0x5200, Delete = 0x5300, CtrlF4 = 0x6100, AltF4 = 0x6b00;
constexpr int16_t CtrlLeft = 0x7300, CtrlRight = 0x7400, CtrlHome = 0x7700;
}  // namespace Key

constexpr char32_t kLeftMarker = U'\u25C4';
constexpr char32_t kRightMarker = U'\u25BA';

struct EditorState {
  std::string choices;
  bool insert = false;
};

EditorState& State() {
  static EditorState state;
  return state;
}

struct ChoiceItem {
  std::string code;
  std::string description;
};

// Items each introduced by "|": the code up to the item's first comma, the
// description after it.
std::vector<ChoiceItem> ParseChoices(std::string_view choices) {
  std::vector<ChoiceItem> items;
  size_t bar = choices.find('|');
  while (bar != std::string_view::npos) {
    const size_t next = choices.find('|', bar + 1);
    const std::string_view item = choices.substr(bar + 1, next == std::string_view::npos ? next : next - bar - 1);
    const size_t comma = item.find(',');
    items.push_back({std::string(item.substr(0, comma)),
                     comma == std::string_view::npos ? std::string() : std::string(item.substr(comma + 1))});
    bar = next;
  }
  return items;
}

bool IsSeparator(char c) { return std::string_view(" ,.;:").find(c) != std::string_view::npos; }

bool IsPrintable(int16_t key, int16_t lowest) { return (key >= lowest && key <= 126) || (key >= 128 && key <= 254); }

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string FoldedInitial(std::string_view text) {
  if (text.empty()) return "";
  const bool saved = FoldAccents;
  FoldAccents = true;
  std::string folded = FoldCase(text.substr(0, 1));
  FoldAccents = saved;
  return folded;
}

// One edit. Positions are 1-based; the cursor runs over 1 .. L + 1.
class FieldEdit {
 public:
  FieldEdit(int16_t row, int16_t column, int16_t lineLength, std::string& text, int16_t cursor)
      : row_(row), column_(column), text_(text), length_(int(text.size())),
        lineLength_(lineLength > 0 ? lineLength : length_ + 1), cursor_(std::clamp<int>(cursor, 1, length_ + 1)),
        items_(ParseChoices(State().choices)) {}

  int LineLength() const { return lineLength_; }
  int Cursor() const { return cursor_; }

  int16_t Run() {
    Start();
    int16_t key = 0;
    for (;;) {
      if (mustDraw_) Draw();
      key = WaitForInput();
      SetCursorShape(0);
      if (key < 0 && !IsChoice()) {
        if (MoveCursorToClick(key)) continue;
      } else if (key < 0) {
        key = ChoiceClickKey(key);
      }
      if (key >= 0 && !(IsChoice() ? ChoiceKeyEnds(key) : TextKeyEnds(key))) continue;
      if (EndsEdit(key)) break;
    }
    Finish();
    return key;
  }

 private:
  bool IsChoice() const { return !items_.empty(); }

  void Start() {
    if (IsChoice()) {
      current_ = 0;
      for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].code == text_) {
          current_ = i;
          break;
        }
      for (const ChoiceItem& item : items_) descriptionWidth_ = std::max(descriptionWidth_, int(item.description.size()));
      LocateInWindow(row_, int16_t(column_ - 1));
      WriteConsoleCharacter(kLeftMarker);
      LocateInWindow(row_, int16_t(column_ + descriptionWidth_));
      WriteConsoleCharacter(kRightMarker);
    }
    SetColour("u");
    mustDraw_ = true;
  }

  void Draw() {
    mustDraw_ = false;
    if (IsChoice()) {
      std::string code = items_[current_].code;
      code.resize(size_t(length_), ' ');
      text_ = code;
      std::string description = items_[current_].description;
      description.resize(size_t(descriptionWidth_), ' ');
      LocateInWindow(row_, column_);
      WriteText(description);
      return;
    }
    const int16_t mask = MaskCharacter();
    for (int start = 1, line = 0; start <= length_; start += lineLength_, ++line) {
      const std::string part = text_.substr(size_t(start - 1), size_t(lineLength_));
      LocateInWindow(int16_t(row_ + line), column_);
      WriteText(mask != 0 ? std::string(part.size(), char(mask)) : part);
    }
  }

  // Where the cursor shows: at the end of the last line rather than at the
  // start of a line below the field.
  void PlaceCursor() {
    int line = (cursor_ - 1) / lineLength_;
    int offset = (cursor_ - 1) % lineLength_;
    if (cursor_ == length_ + 1 && offset == 0 && line > 0) {
      --line;
      offset = lineLength_;
    }
    LocateInWindow(int16_t(row_ + line), int16_t(column_ + offset));
  }

  void ShowCursor() {
    if (IsChoice()) {
      SetCursorShape(0);
      return;
    }
    PlaceCursor();
    SetCursorShape(State().insert ? 50 : 100);
  }

  // The next key, or a click as -(column * 100 + row). Insert is handled here.
  int16_t WaitForInput() {
    ShowCursor();
    for (;;) {
      int16_t key = 0, buttons = 0, row = 0, column = 0;
      ReadKeyEvent(key, buttons, row, column);
      if (key == Key::Insert) {
        State().insert = !State().insert;
        ShowCursor();
        continue;
      }
      if (key != 0) return key;
      if (buttons != 0) return int16_t(-(column * 100 + row));
    }
  }

  int FieldScreenRow() const { return row_ + WindowInnerTop() - 1; }
  int FieldScreenColumn() const { return column_ + WindowInnerLeft() - 1; }

  // A click inside a text field moves the cursor there.
  bool MoveCursorToClick(int16_t click) {
    const int clickRow = -click % 100, clickColumn = -click / 100;
    const int top = FieldScreenRow(), left = FieldScreenColumn();
    const int rows = (length_ + 1) / lineLength_;
    if (clickRow < top || clickRow > top + rows - 1 || clickColumn < left || clickColumn > left + lineLength_ - 1)
      return false;
    cursor_ = std::min((clickRow - top) * lineLength_ + (clickColumn - left) + 1, length_ + 1);
    return true;
  }

  // A click on a choice field's markers steps through the items; one on the
  // description becomes key 0.
  int16_t ChoiceClickKey(int16_t click) const {
    const int clickRow = -click % 100, clickColumn = -click / 100;
    const int left = FieldScreenColumn();
    if (clickRow != FieldScreenRow()) return click;
    if (clickColumn == left - 1) return Key::Left;
    if (clickColumn == left + descriptionWidth_) return Key::Right;
    if (clickColumn >= left && clickColumn < left + descriptionWidth_) return 0;
    return click;
  }

  // Step 7 for a text field: true when the key is a candidate to end the edit.
  bool TextKeyEnds(int16_t key) {
    if (IsPrintable(key, 32)) {
      Type(char(key));
      return false;
    }
    switch (key) {
      case Key::Left: cursor_ = std::max(1, cursor_ - 1); break;
      case Key::Right: cursor_ = std::min(length_ + 1, cursor_ + 1); break;
      case Key::Backspace:
        if (cursor_ > 1) DeleteAt(--cursor_);
        break;
      case Key::Delete:
        if (cursor_ <= length_) DeleteAt(cursor_);
        break;
      case Key::Home: cursor_ = 1; break;
      case Key::End: cursor_ = int(TrimmedLength()) + 1; break;
      case Key::CtrlHome:
      case Key::CtrlY:
        text_.assign(size_t(length_), ' ');
        cursor_ = 1;
        mustDraw_ = true;
        break;
      case Key::Up:
      case Key::ShiftTab:
        if (cursor_ <= lineLength_) return true;
        cursor_ -= lineLength_;
        break;
      case Key::Down:
        if (cursor_ > length_ + 1 - lineLength_) return true;
        cursor_ += lineLength_;
        break;
      case Key::CtrlLeft:
        if (cursor_ <= 1) return true;
        cursor_ = WordLeft();
        break;
      case Key::CtrlRight:
        if (cursor_ > length_) return true;
        cursor_ = WordRight();
        break;
      case Key::CtrlC: Copy(Trimmed(text_)); break;
      case Key::CtrlV: Paste(); break;
      default: return true;
    }
    return false;
  }

  // Step 7 for a choice field.
  bool ChoiceKeyEnds(int16_t key) {
    const size_t count = items_.size();
    if (IsPrintable(key, 33)) {
      const std::string typed = FoldedInitial(std::string(1, char(key)));
      for (size_t step = 1; step <= count; ++step) {
        const size_t candidate = (current_ + step) % count;
        if (FoldedInitial(items_[candidate].description) == typed) {
          SelectItem(candidate);
          break;
        }
      }
      return false;
    }
    switch (key) {
      case Key::Left: SelectItem((current_ + count - 1) % count); break;
      case Key::Right:
      case ' ': SelectItem((current_ + 1) % count); break;
      case Key::CtrlC: Copy(items_[current_].description); break;
      case Key::Backspace: case Key::Delete: case Key::Home: case Key::End:
      case Key::CtrlHome: case Key::CtrlY: case Key::CtrlV:
        break;
      default: return true;
    }
    return false;
  }

  void SelectItem(size_t item) {
    current_ = item;
    mustDraw_ = true;
  }

  void Type(char character) {
    if (cursor_ > length_) return;
    if (State().insert) {
      if (text_.back() != ' ') return;
      text_.insert(size_t(cursor_ - 1), 1, character);
      text_.pop_back();
      mustDraw_ = true;
    } else {
      text_[size_t(cursor_ - 1)] = character;
      if (MaskCharacter() == 0) {
        PlaceCursor();
        WriteText(std::string(1, character));
      }
    }
    ++cursor_;
  }

  void DeleteAt(int position) {
    text_.erase(size_t(position - 1), 1);
    text_.push_back(' ');
    mustDraw_ = true;
  }

  // Hidden typing never leaves the field through the clipboard.
  void Copy(const std::string& text) {
    if (MaskCharacter() != 0) return;
    platform::Console().SetClipboardText(text);
  }

  // The clipboard's text without control characters and surrounding blanks,
  // written over the field from the cursor on; the cursor stays.
  void Paste() {
    std::string pasted;
    for (char c : platform::Console().ClipboardText()) {
      const uint8_t code = uint8_t(c);
      if (code >= 32 && code != 127 && code != 255) pasted += c;
    }
    pasted = Trimmed(pasted);
    if (pasted.empty()) return;
    for (size_t i = 0; i < pasted.size() && cursor_ - 1 + int(i) < length_; ++i) text_[size_t(cursor_ - 1) + i] = pasted[i];
    mustDraw_ = true;
  }

  size_t TrimmedLength() const {
    const size_t last = text_.find_last_not_of(' ');
    return last == std::string::npos ? 0 : last + 1;
  }

  bool SeparatorAt(int position) const { return IsSeparator(text_[size_t(position - 1)]); }

  // Scanning back from the character before the cursor: the first change
  // from word characters to a separator at p puts the cursor at p + 1.
  int WordLeft() const {
    bool inSeparators = SeparatorAt(cursor_ - 1);
    for (int p = cursor_ - 1; p >= 1; --p) {
      const bool separator = SeparatorAt(p);
      if (!inSeparators && separator) return p == 1 ? 1 : p + 1;
      if (inSeparators && !separator) inSeparators = false;
    }
    return 1;
  }

  // Scanning forward from the cursor: the first change from separators to
  // word characters at p puts the cursor at p.
  int WordRight() const {
    bool inSeparators = SeparatorAt(cursor_);
    for (int p = cursor_ + 1; p <= length_; ++p) {
      const bool separator = SeparatorAt(p);
      if (inSeparators && !separator) return p;
      if (!inSeparators && separator) inSeparators = true;
    }
    return length_ + 1;
  }

  // Step 8: maps the candidate and decides whether it ends the edit; a key
  // the table does not know is ignored and the field drawn again.
  bool EndsEdit(int16_t& key) {
    int16_t reported = 0;
    if (key == Key::ShiftTab) key = Key::Up;
    if (key == Key::Tab) key = Key::Enter;
    if (key == Key::Enter && FindExitKey(Key::End, reported)) key = Key::End;
    if (key == Key::CtrlF4 || key == Key::AltF4) key = Key::Esc;
    if (ExitKeys().Keys.empty()) return true;
    if (FindExitKey(key, reported)) {
      key = reported;
      return true;
    }
    if (key < 0) return true;
    mustDraw_ = true;
    return false;
  }

  void Finish() {
    SetColour("h");
    if (IsChoice()) {
      LocateInWindow(row_, int16_t(column_ - 1));
      WriteBlanks(1);
      LocateInWindow(row_, int16_t(column_ + descriptionWidth_));
      WriteBlanks(1);
    }
    LocateInWindow(row_, column_);
  }

  const int16_t row_;
  const int16_t column_;
  std::string& text_;
  const int length_;
  const int lineLength_;
  int cursor_;
  const std::vector<ChoiceItem> items_;
  size_t current_ = 0;
  int descriptionWidth_ = 0;
  bool mustDraw_ = false;
};

}  // namespace

void SetEditChoices(std::string_view choices) { State().choices = std::string(choices); }

void EditField(int16_t& row, int16_t& column, int16_t& lineLength, std::string& text, int16_t& cursor,
               int16_t& key) {
  // Row and column 0 stand for the cursor's place, counted like the others
  // from the current window's corner.
  if (row == 0) row = int16_t(CursorRow() - WindowInnerTop() + 1);
  if (column == 0) column = int16_t(CursorColumn() - WindowInnerLeft() + 1);
  FieldEdit edit(row, column, lineLength, text, cursor);
  lineLength = int16_t(edit.LineLength());
  key = edit.Run();
  cursor = int16_t(edit.Cursor());
}

bool InsertMode() { return State().insert; }
void SetInsertMode(bool insert) { State().insert = insert; }

void ResetFieldEditorState() { State() = EditorState{}; }

}  // namespace olm
