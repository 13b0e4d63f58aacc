#pragma once
// Key reading: every key reaches the program as one 16-bit code, the
// character's code page byte (13 Enter, 27 Esc) or the extended code of the
// classic PC layout times 256 (0x3b00 F1, 0x4800 Up). Characters typed as
// Alt + keypad digits are composed here, function keys held with Alt, Ctrl or
// Shift get codes of their own, mouse clicks are reported on release, and the
// hot keys Alt+X and Alt+C open the calculator and the calendar from wherever
// keys are read, their result arriving afterwards as if typed.

#include <cstdint>
#include <functional>
#include <string>

namespace olm {

// One read without waiting. key is 0 when nothing happened; buttons is the
// mouse button released (1 left, 2 right, else 0); row and column are the
// pointer's last position while mouse input is on, else 0.
void ReadKeyEvent(int16_t& key, int16_t& buttons, int16_t& row, int16_t& column);

// Waits until something happens. A click comes back as column × 256 +
// buttons × 64 + row, which never has the low byte 0 of an extended key.
int16_t GetKey();

// Waits for one key and gives its plain code (character, or extended code ×
// 256), without pending keys, hot keys, mouse or modifier codes. Used by the
// help viewer.
int16_t ReadPlainKey();

// Characters that the next reads return one by one before the keyboard is
// read; filled by the hot keys.
std::string& PendingKeys();

// 0 not set up yet, 1 mouse input on, 2 off until the next read, 3 no mouse.
int16_t MouseState();

// True (-1) while the calculator or the calendar is open, so that its own
// hot key does not open it a second time.
int16_t InCalculator();
int16_t InCalendar();

// Replaces what the hot keys open (tests, and the key-code viewer, which
// shows the hot keys' codes instead); an empty function stands for the real
// calculator or calendar.
void SetHotKeyTools(std::function<std::string()> calculator, std::function<std::string()> calendar);

// Pending keys, mouse state and the tool guards back to their state at start.
void ResetKeyboardState();

}  // namespace olm
