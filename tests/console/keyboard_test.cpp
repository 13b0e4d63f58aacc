#include "console/keyboard.h"

#include "console/key_code.h"
#include "console_fixture.h"

namespace olm::testing {
namespace {

using platform::kLeftAlt;
using platform::kLeftCtrl;
using platform::kRightAlt;
using platform::kRightCtrl;
using platform::kShift;

using KeyboardTest = ConsoleTest;

TEST_F(KeyboardTest, KeysBecomeTheirCodes) {
  struct Case {
    const char* what;
    std::function<void(platform::VirtualConsole&)> script;
    int expected;
  };
  auto key = [](int code, uint8_t modifiers = 0) {
    return [=](platform::VirtualConsole& c) { c.QueueKey(code, modifiers); };
  };
  auto altKeypad = [](std::vector<int> keys, bool idle) {
    return [=](platform::VirtualConsole& c) {
      for (int k : keys) {
        c.QueueKey(k, kLeftAlt);
        if (idle) c.QueueIdle(3);
      }
      c.QueueModifiers(0);
    };
  };
  const Case cases[] = {
      {"a character", key('A'), 65},
      {"Alt with keypad 1 3 0 then Alt released", altKeypad({0x4f00, 0x5100, 0x5200}, false), 130},
      {"Alt with keypad 3 0 0 gives 300 modulo 256", altKeypad({0x5100, 0x5200, 0x5200}, false), 44},
      {"Alt keypad digits with idle polls between them", altKeypad({0x5000, 0x4c00}, true), 25},
      {"Alt keypad ended by another key, which is dropped",
       [](platform::VirtualConsole& c) {
         c.QueueKey(0x4700, kLeftAlt);
         c.QueueKey('a', kLeftAlt);
         c.QueueKey('b');
       },
       7},
      {"Alt+X is not a keypad digit",
       [](platform::VirtualConsole& c) {
         SetHotKeyTools([] { return std::string(); }, nullptr);
         c.QueueKey(0x2d00, kLeftAlt);
       },
       0x2d00},
      {"Alt+E without character is the euro sign", key(0x1200, kLeftAlt), 213},
      {"Ctrl+F1", key(0x3b00, kLeftCtrl), 0x5e00},
      {"right Ctrl+F10", key(0x4400, kRightCtrl), 0x6700},
      {"Alt+F12", key(0x8600, kLeftAlt), 0x8c00},
      {"right Alt+F1", key(0x3b00, kRightAlt), 0x6800},
      {"Shift+F10", key(0x4400, kShift), 0x5d00},
      {"Shift+F12", key(0x8600, kShift), 0x8800},
      {"Ctrl+F11", key(0x8500, kLeftCtrl), 0x8900},
      {"Ctrl+Home", key(0x4700, kLeftCtrl), 0x7700},
      {"Ctrl+Right", key(0x4d00, kLeftCtrl), 0x7400},
      {"Ctrl+Left", key(0x4b00, kLeftCtrl), 0x7300},
      {"Shift+Home stays Home", key(0x4700, kShift), 0x4700},
      {"Alt wins over Ctrl", key(0x3b00, kLeftAlt | kLeftCtrl), 0x6800},
      {"a left click at row 5, column 12",
       [](platform::VirtualConsole& c) { c.QueueMouseRelease(1, 5, 12); }, 3141},
      {"a right click at row 3, column 1",
       [](platform::VirtualConsole& c) { c.QueueMouseRelease(2, 3, 1); }, 387},
      {"a pointer move is not a click",
       [](platform::VirtualConsole& c) {
         c.QueueMouseMove(4, 4);
         c.QueueKey(0x5000);
       },
       0x5000},
  };
  for (const Case& c : cases) {
    NewScreen();
    c.script(Screen());
    EXPECT_EQ(static_cast<uint16_t>(GetKey()), c.expected) << c.what;
  }
}

TEST_F(KeyboardTest, MouseInputIsOnWhileWaitingAndReportsThePointer) {
  Screen().QueueMouseMove(7, 30);
  Screen().QueueKey('x');
  int16_t key = 0, buttons = 0, row = 0, column = 0;
  ReadKeyEvent(key, buttons, row, column);
  EXPECT_EQ(MouseState(), 1);
  EXPECT_TRUE(Screen().MouseInputOn());
  EXPECT_EQ(key, 0);
  ReadKeyEvent(key, buttons, row, column);
  EXPECT_EQ(key, 'x');
  EXPECT_EQ(row, 7);
  EXPECT_EQ(column, 30);
  EXPECT_EQ(MouseState(), 2) << "switched off after an event is returned";
  EXPECT_FALSE(Screen().MouseInputOn());

  NewScreen();
  Screen().SetHasMouse(false);
  Screen().QueueMouseRelease(1, 2, 2);
  ReadKeyEvent(key, buttons, row, column);
  EXPECT_EQ(MouseState(), 3);
  EXPECT_EQ(buttons, 0) << "no mouse, no clicks";
}

TEST_F(KeyboardTest, ACalendarDateArrivesAsTypedCharacters) {
  int opened = 0;
  SetHotKeyTools(nullptr, [&] {
    ++opened;
    EXPECT_EQ(InCalendar(), -1);
    return std::string("7/5/2023  ");
  });
  Screen().QueueKey(0x2e00, kLeftAlt);
  Screen().QueueKey('z');
  EXPECT_EQ(GetKey(), 0x2e00) << "the hot key itself is still returned";
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(InCalendar(), 0);
  std::string typed;
  for (int i = 0; i < 10; ++i) {
    int16_t key = 0, buttons = -5, row = -5, column = -5;
    ReadKeyEvent(key, buttons, row, column);
    typed += static_cast<char>(key);
    EXPECT_EQ(buttons, -5) << "pending keys leave the mouse outputs alone";
    EXPECT_EQ(row, -5);
    EXPECT_EQ(column, -5);
  }
  EXPECT_EQ(typed, "7/5/2023  ");
  EXPECT_EQ(GetKey(), 'z');
}

TEST_F(KeyboardTest, AltXInsideTheCalculatorDoesNotOpenASecondOne) {
  int opened = 0;
  SetHotKeyTools(
      [&] {
        ++opened;
        EXPECT_EQ(GetKey(), 0x2d00);
        return std::string("12");
      },
      nullptr);
  Screen().QueueKey(0x2d00, kLeftAlt);
  Screen().QueueKey(0x2d00, kLeftAlt);
  EXPECT_EQ(GetKey(), 0x2d00);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(GetKey(), '1');
  EXPECT_EQ(GetKey(), '2');
}

TEST(KeyCodeTest, TextsAndCodes) {
  struct Case {
    const char* text;
    int16_t code;
    const char* written;
  };
  const Case cases[] = {
      {"d", 13, "d"},           {"1B", 27, "1b"},         {"3b00", 0x3b00, "3b00"},
      {"f00", 0xf00, "f00"},    {"8500", -31488, "8500"}, {"8C00", static_cast<int16_t>(0x8c00), "8c00"},
      {" 4800 ", 0x4800, "4800"}, {"", 0, "0"},           {"zz", 0, "0"},
      {"0d", 13, "d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseKeyCode(c.text), c.code) << '"' << c.text << '"';
    EXPECT_EQ(KeyCodeText(c.code), c.written) << c.code;
  }
}

}  // namespace
}  // namespace olm::testing
