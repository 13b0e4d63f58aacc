#include "forms/form_driver.h"

#include <cstdlib>

#include "console/help.h"
#include "console/screen.h"
#include "console/windows.h"
#include "forms/browse_list.h"
#include "forms/exit_keys.h"
#include "forms/field_editor.h"
#include "forms/form_definition.h"
#include "forms/hooks.h"
#include "session/session_settings.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

namespace Key {
constexpr int16_t CtrlB = 0x02, Enter = 0x0d, Esc = 0x1b, F1 = 0x3b00, F2 = 0x3c00, F4 = 0x3e00;
constexpr int16_t Up = 0x4800, PgUp = 0x4900, End = 0x4f00, Down = 0x5000, PgDn = 0x5100;
}  // namespace Key

struct DriverState {
  int16_t targetScreen = 0;
  std::string fieldText;
  int16_t screen = 0;
  int16_t field = 0;
};

DriverState& State() {
  static DriverState state;
  return state;
}

// Keys with which a continuation screen takes its caller along.
bool LeavesChain(int16_t key) {
  return key == Key::PgUp || key == Key::PgDn || key == Key::End || key == Key::CtrlB || key == Key::Enter ||
         key == Key::Down || key == Key::Up;
}

std::string TwoBytes(int16_t value) {
  return {char(uint16_t(value) & 0xFF), char(uint16_t(value) >> 8)};
}

int16_t FromTwoBytes(const std::string& bytes) {
  if (bytes.size() < 2) return 0;
  return int16_t(uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8);
}

std::string WithoutTrailingBlanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// One run of one screen.
class ScreenRun {
 public:
  ScreenRun(int16_t screen, bool continuation, int16_t& leaveUp, int16_t& leaveDown)
      : s_(screen), continuation_(continuation), leaveUp_(leaveUp), leaveDown_(leaveDown) {}

  int16_t Run(int16_t key) {
    OpenWindow();
    OnScreenEnter(s_);
    FindFirstAndLast();
    bool leaving = first_ > last_ || DescendToTarget(key);
    int16_t f = first_;
    for (;;) {
      if (!leaving) RunFields(f, key);
      if (OnScreenExit(s_, key) == 0) break;
      f = first_;
      leaving = false;
    }
    if (Screen().HasWindow()) PopWindow();
    State().fieldText.clear();
    State().screen = 0;
    State().field = 0;
    return key;
  }

 private:
  ScreenDefinition& Screen() const { return Form().Screen(s_); }
  FieldDefinition& Field(int16_t f) const { return Form().Field(s_, f); }
  bool IsEditable(int16_t f) const { return Form().HasField(s_, f) && Field(f).IsEditable(); }

  void OpenWindow() {
    if (!Screen().HasWindow()) return;
    const auto& window = Screen().ScreenWindow;
    SetColour("+n");
    PushWindow(window[0], window[1], window[2], window[3]);
    DrawWindowFrame(2);
    SetColour("-");
  }

  // The editable fields' range; the hooks may change flags, so it is found
  // again after every edit.
  void FindFirstAndLast() {
    const int16_t count = Screen().FieldCount;
    first_ = 1;
    while (first_ <= count && !IsEditable(first_)) ++first_;
    last_ = count;
    while (last_ >= 1 && !IsEditable(last_)) --last_;
  }

  // Skips through the chain to TargetScreen, drawing each screen on the way.
  // True when the continuation's key leaves this screen too.
  bool DescendToTarget(int16_t& key) {
    int16_t& target = State().targetScreen;
    int16_t reached = s_;
    for (int steps = 0; reached != target && target > 0 && Form().Screen(reached).NextScreen != 0 &&
                        steps < Form().ScreenCount;
         ++steps)
      reached = Form().Screen(reached).NextScreen;
    if (reached != target) target = 0;
    if (target != s_ && target > 0 && Screen().NextScreen != 0) {
      RunContinuation(key);
      return LeavesChain(key);
    }
    target = 0;
    return false;
  }

  void RunContinuation(int16_t& key) {
    int16_t next = int16_t(-Screen().NextScreen);
    RunFormScreen(next, leaveUp_, leaveDown_, key);
  }

  void RunFields(int16_t& f, int16_t& key) {
    while (f >= first_ && f <= last_) {
      VisitField(f, key);
      if (Move(f, key)) return;
    }
  }

  void PrepareExitKeys(bool hidden) {
    SetExitKeys("+ea", Screen().ScreenKeys + ",3b00");
    if (hidden) SetExitKeys("h", "");
  }

  void VisitField(int16_t& f, int16_t& key) {
    const FieldDefinition& field = Field(f);
    const bool hidden = (field.FieldFlags & kFieldHidden) != 0;
    const bool startsBlank = (field.FieldFlags & (kFieldStartsBlank | kFieldHidden)) != 0;
    std::string text = startsBlank ? std::string(size_t(field.FieldWidth), ' ') : field.FieldValue;
    PrepareExitKeys(hidden);
    if (field.IsEditable()) {
      if (field.FieldTrailWidth != 0) {
        LocateInWindow(field.FieldRow, int16_t(field.ValueColumn() + LineWidth(field)));
        WriteBlanks(field.FieldTrailWidth);
      }
      EditUntilAccepted(f, text, key, hidden);
    }
    if (hidden) SetExitKeys("v", "");
    SetExitKeys("-", "");
  }

  static int16_t LineWidth(const FieldDefinition& field) {
    return field.FieldLineLength > 0 ? field.FieldLineLength : field.FieldWidth;
  }

  // Edits field f until the hooks accept it. The exit keys are prepared again
  // before every edit, since a browse list or pop-up opened from the field
  // hands back the table of the caller before the driver's.
  void EditUntilAccepted(int16_t& f, std::string& text, int16_t& key, bool hidden) {
    for (;;) {
      const FieldDefinition& field = Field(f);
      PrepareExitKeys(hidden);
      SetEditChoices(field.FieldChoices);
      int16_t cursor = (field.FieldFlags & kFieldCursorAtEnd) ? int16_t(WithoutTrailingBlanks(text).size() + 1) : 1;
      int16_t row = field.FieldRow, column = field.ValueColumn(), lineLength = field.FieldLineLength;
      EditField(row, column, lineLength, text, cursor, key);
      State().fieldText = text;
      State().screen = s_;
      State().field = f;
      int16_t rejected = 0;
      if (key == Key::F1) {
        const std::string topic = WithoutTrailingBlanks(Session().MenuName);
        if (!topic.empty()) ShowHelp(topic);
        key = 0;
      } else if (key == Key::F4) {
        key = 0;
        rejected = PickFromBrowse(f, key);
      } else {
        rejected = FinishEdit(f, text, key);
      }
      FindFirstAndLast();
      if (rejected == 0) return;
      Beep();
      if (!Form().HasField(s_, f)) return;
    }
  }

  // F4: the field's browse list, and the hook that takes the chosen record.
  int16_t PickFromBrowse(int16_t& f, int16_t& key) {
    int16_t browse = Field(f).FieldBrowse;
    int16_t result = 0;
    if (browse <= 0) return 0;
    for (;;) {
      RunBrowse(browse, result);
      if (result != 0) return result;
      PushText(TwoBytes(f));
      PushText(TwoBytes(browse));
      OnBrowsePick(browse, s_, f);
      if (browse == 0) {
        browse = FromTwoBytes(PopText());
        PopText();
        continue;
      }
      PopText();
      const int16_t savedField = FromTwoBytes(PopText());
      const bool lastOfChain = f == Screen().FieldCount && Screen().NextScreen == 0;
      if (f == savedField)
        key = lastOfChain ? Key::Enter : Key::Down;
      else if (Form().HasField(s_, f) && !Field(f).IsEditable() && f < Screen().FieldCount)
        key = Key::Down;
      return 0;
    }
  }

  // After an edit ended with any other key: Esc drops the typing, everything
  // else goes to the application to check.
  int16_t FinishEdit(int16_t& f, std::string& text, int16_t& key) {
    const FieldDefinition& field = Field(f);
    if (field.FieldTrailWidth != 0) {
      LocateInWindow(field.FieldRow, field.ValueColumn());
      WriteText(text);
      WriteBlanks(field.FieldTrailWidth);
    }
    if (key == Key::Esc) {
      OnShowField(s_, f);
      return 0;
    }
    if (IsAllChar(text, ' ') && (field.FieldFlags & (kFieldStartsBlank | kFieldHidden)) != 0) {
      std::string stored = field.FieldValue;
      stored.resize(text.size(), ' ');
      text = stored;
    }
    return OnFieldExit(s_, text, f, key);
  }

  // Moves f by key; true when the key leaves the screen.
  bool Move(int16_t& f, int16_t& key) {
    const int16_t before = f;
    switch (key) {
      case Key::PgUp: LeaveOrGo(f, f > first_ || leaveUp_ == 0, first_); break;
      case Key::PgDn: LeaveOrGo(f, f < last_ || leaveDown_ == 0, last_); break;
      case Key::End:
      case Key::CtrlB: f = 0; break;
      case Key::Esc: f = f > first_ ? first_ : 0; break;
      case Key::Enter:
      case Key::Down:
      case Key::F2:
        if ((f == last_ || key == Key::F2) && Screen().NextScreen != 0) {
          RunContinuation(key);
          if (LeavesChain(key)) return true;
        } else if (key == Key::Enter || (key == Key::Down && f < last_)) {
          ++f;
        }
        break;
      case Key::Up:
        if (f > first_) {
          --f;
        } else if (continuation_) {
          key = Key::Esc;
          return true;
        }
        break;
      case 0: break;
      default:
        if (key > 0) return true;
        f = FieldAtClick(key, f);
        break;
    }
    // A display-only field never holds the driver.
    if (f == before && Form().HasField(s_, f) && !Field(f).IsEditable()) ++f;
    return f < first_ || f > last_;
  }

  void LeaveOrGo(int16_t& f, bool go, int16_t to) {
    if (go) {
      f = to;
      State().targetScreen = 0;
    } else {
      f = 0;
      State().targetScreen = s_;
    }
  }

  // The first editable field whose label, value or trail the click is on.
  int16_t FieldAtClick(int16_t click, int16_t f) const {
    const auto& window = Screen().ScreenWindow;
    const int row = -click % 100 - (Screen().HasWindow() ? window[0] : 0);
    const int column = -click / 100 - (Screen().HasWindow() ? window[1] : 0);
    for (int16_t candidate = 1; candidate <= Screen().FieldCount; ++candidate) {
      const FieldDefinition& field = Field(candidate);
      if (!field.IsEditable()) continue;
      const int rows = field.FieldLineLength > 0 ? field.FieldWidth / field.FieldLineLength : 1;
      const int lastColumn =
          field.FieldColumn + int(field.FieldLabel.size()) + LineWidth(field) + field.FieldTrailWidth - 1;
      if (row >= field.FieldRow && row < field.FieldRow + rows && column >= field.FieldColumn && column <= lastColumn)
        return candidate;
    }
    return f;
  }

  const int16_t s_;
  const bool continuation_;
  int16_t& leaveUp_;
  int16_t& leaveDown_;
  int16_t first_ = 1;
  int16_t last_ = 0;
};

}  // namespace

void RunFormScreen(int16_t& screen, int16_t& leaveUp, int16_t& leaveDown, int16_t& key) {
  const bool continuation = screen < 0;
  if (continuation) screen = int16_t(-int(screen));
  if (!Form().HasScreen(screen)) {
    key = Key::Esc;
    return;
  }
  ScreenRun run(screen, continuation, leaveUp, leaveDown);
  key = run.Run(key);
}

int16_t& TargetScreen() { return State().targetScreen; }
const std::string& CurrentFieldText() { return State().fieldText; }
int16_t CurrentScreen() { return State().screen; }
int16_t CurrentField() { return State().field; }

void ResetFormDriverState() { State() = DriverState{}; }

}  // namespace olm
