#include "console/keyboard.h"

#include "platform/console_backend.h"
#include "tools/calculator.h"
#include "tools/calendar.h"

namespace olm {
namespace {

using platform::ConsoleEvent;

constexpr int kF1 = 0x3b00;
constexpr int kF10 = 0x4400;
constexpr int kF11 = 0x8500;
constexpr int kF12 = 0x8600;
constexpr int kHome = 0x4700;
constexpr int kLeft = 0x4b00;
constexpr int kRight = 0x4d00;
constexpr int kAltE = 0x1200;
constexpr int kAltX = 0x2d00;
constexpr int kAltC = 0x2e00;
constexpr uint8_t kEuro = 213;

struct KeyboardState {
  std::string pendingKeys;
  int16_t mouseState = 0;
  bool inCalculator = false;
  bool inCalendar = false;
  int16_t pointerRow = 0;
  int16_t pointerColumn = 0;
  std::function<std::string()> calculator;
  std::function<std::string()> calendar;
};

KeyboardState& State() {
  static KeyboardState state;
  return state;
}

bool IsKey(const ConsoleEvent& event) { return event.kind == ConsoleEvent::Kind::Key; }

// The code of a key event as an unsigned 16-bit value.
int PlainCode(const ConsoleEvent& event) {
  return event.character != 0 ? event.character : event.extended * 256;
}

// The digit that a keypad key stands for while Alt is held (NumLock off:
// Insert 0, End 1, Down 2, PgDn 3, Left 4, centre 5, Right 6, Home 7, Up 8,
// PgUp 9), or -1.
int KeypadDigit(const ConsoleEvent& event) {
  if (!IsKey(event) || event.character != 0) return -1;
  static constexpr uint8_t kKeypad[10] = {0x52, 0x4f, 0x50, 0x51, 0x4b, 0x4c, 0x4d, 0x47, 0x48, 0x49};
  for (int digit = 0; digit < 10; ++digit) {
    if (event.extended == kKeypad[digit]) return digit;
  }
  return -1;
}

// Composes a character typed as keypad digits with the left Alt key held:
// digits are collected until Alt is let go or another key comes, and the
// number modulo 256 becomes the character; the event that ended the digits
// is dropped. Only an event that has Alt held starts it, so that an empty
// poll never blocks.
ConsoleEvent ComposeAltKeypad(ConsoleEvent event) {
  if (event.kind == ConsoleEvent::Kind::None || !(event.modifiers & platform::kLeftAlt)) return event;
  uint8_t modifiers = event.modifiers;
  bool collected = false;
  int number = 0;
  while (modifiers & platform::kLeftAlt) {
    if (event.kind != ConsoleEvent::Kind::None) {
      const int digit = KeypadDigit(event);
      if (digit < 0) break;
      number = (number * 10 + digit) % 256;
      collected = true;
    }
    event = platform::Console().PollEvent();
    if (event.kind != ConsoleEvent::Kind::None) modifiers = event.modifiers;
  }
  if (!collected) return event;
  ConsoleEvent composed;
  composed.kind = ConsoleEvent::Kind::Key;
  composed.modifiers = modifiers;
  composed.character = static_cast<uint8_t>(number);
  return composed;
}

// The codes of function keys held with Alt, Ctrl or Shift, Ctrl with Home
// and the arrows, and the euro sign for Alt+E.
int ModifiedCode(int key, uint8_t modifiers) {
  if (key == kAltE) return kEuro;
  const bool function = key >= kF1 && key <= kF10;
  const bool f11or12 = key == kF11 || key == kF12;
  if (modifiers & (platform::kRightAlt | platform::kLeftAlt)) {
    if (function) return key + 0x2d00;
    if (f11or12) return key + 0x600;
  } else if (modifiers & (platform::kRightCtrl | platform::kLeftCtrl)) {
    if (function) return key + 0x2300;
    if (f11or12) return key + 0x400;
    if (key == kHome) return 0x7700;
    if (key == kRight) return 0x7400;
    if (key == kLeft) return 0x7300;
  } else if (modifiers & platform::kShift) {
    if (function) return key + 0x1900;
    if (f11or12) return key + 0x200;
  }
  return key;
}

// Runs a pop-up tool behind its guard and queues what it gives back.
void RunHotKeyTool(bool& guard, const std::function<std::string()>& replacement, std::string (*tool)()) {
  guard = true;
  State().pendingKeys = replacement ? replacement() : tool();
  guard = false;
}

void SetUpMouse() {
  KeyboardState& s = State();
  if (s.mouseState == 0) s.mouseState = platform::Console().HasMouse() ? 2 : 3;
  if (s.mouseState == 2) {
    platform::Console().SetMouseInput(true);
    s.mouseState = 1;
  }
}

}  // namespace

void ReadKeyEvent(int16_t& key, int16_t& buttons, int16_t& row, int16_t& column) {
  KeyboardState& s = State();
  if (!s.pendingKeys.empty()) {
    key = static_cast<uint8_t>(s.pendingKeys.front());
    s.pendingKeys.erase(0, 1);
    return;
  }
  SetUpMouse();
  key = buttons = row = column = 0;
  const ConsoleEvent event = ComposeAltKeypad(platform::Console().PollEvent());

  if (IsKey(event)) key = static_cast<int16_t>(ModifiedCode(PlainCode(event), event.modifiers));
  if (s.mouseState == 1) {
    if (event.kind == ConsoleEvent::Kind::Mouse) {
      s.pointerRow = static_cast<int16_t>(event.row);
      s.pointerColumn = static_cast<int16_t>(event.column);
      if (event.releasedButton == 1 || event.releasedButton == 2) buttons = event.releasedButton;
    }
    row = s.pointerRow;
    column = s.pointerColumn;
  }

  if (key == static_cast<int16_t>(kAltX) && !s.inCalculator) {
    RunHotKeyTool(s.inCalculator, s.calculator, ShowCalculator);
  } else if (key == static_cast<int16_t>(kAltC) && !s.inCalendar) {
    RunHotKeyTool(s.inCalendar, s.calendar, ShowCalendar);
  }

  if (s.mouseState == 1 && (key > 0 || buttons > 0)) {
    platform::Console().SetMouseInput(false);
    s.mouseState = 2;
  }
}

int16_t GetKey() {
  int16_t key = 0, buttons = 0, row = 0, column = 0;
  while (key == 0 && buttons == 0) ReadKeyEvent(key, buttons, row, column);
  if (buttons == 0) return key;
  return static_cast<int16_t>(static_cast<uint16_t>(column * 256 + buttons * 64 + row));
}

int16_t ReadPlainKey() {
  for (;;) {
    const ConsoleEvent event = platform::Console().PollEvent();
    if (IsKey(event) && PlainCode(event) != 0) return static_cast<int16_t>(PlainCode(event));
  }
}

std::string& PendingKeys() { return State().pendingKeys; }
int16_t MouseState() { return State().mouseState; }
int16_t InCalculator() { return State().inCalculator ? -1 : 0; }
int16_t InCalendar() { return State().inCalendar ? -1 : 0; }

void SetHotKeyTools(std::function<std::string()> calculator, std::function<std::string()> calendar) {
  State().calculator = std::move(calculator);
  State().calendar = std::move(calendar);
}

void ResetKeyboardState() {
  State() = KeyboardState{};
}

}  // namespace olm
