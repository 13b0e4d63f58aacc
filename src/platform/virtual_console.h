#pragma once
// The virtual console: an in-memory grid of cells driven by a script of
// events, for tests. Tests queue keys (with their modifier bits), mouse
// releases and clipboard text, run the program, and read the screen back.
//
// Polling never sleeps. Once the script is used up, a program that keeps
// waiting for input would hang the test; so after kExhaustedPolls consecutive
// polls that found the queue empty, PollEvent throws ScriptExhausted. Only
// polls made while the queue is empty count: a program may poll once per
// record of a long list while keys are still queued. QueueIdle polls (which
// answer "nothing") count as events, not as empty polls.

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console_backend.h"

namespace olm::platform {

class VirtualConsole : public ConsoleBackend {
 public:
  // Thrown by PollEvent when the program keeps waiting after the script ended.
  struct ScriptExhausted : std::runtime_error {
    ScriptExhausted() : std::runtime_error("the console script is used up") {}
  };
  static constexpr int kExhaustedPolls = 200000;

  explicit VirtualConsole(int width = 80, int height = 25);

  // ConsoleBackend.
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void PutCell(int row, int column, Cell cell) override;
  Cell GetCell(int row, int column) const override;
  void SetCursorPosition(int row, int column) override;
  void SetCursorSize(int percent) override { cursorSize_ = percent; }
  void Beep() override { ++beeps_; }
  ConsoleEvent PollEvent() override;
  bool HasMouse() const override { return hasMouse_; }
  void SetMouseInput(bool on) override { mouseInput_ = on; }
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }
  void Flush() override {}

  // The script. A key code below 256 is a character, otherwise an extended
  // code times 256 (0x3b00 F1, 0x4800 Up), as the program writes key codes.
  void QueueKey(int code, uint8_t modifiers = 0);
  // Each byte of a code page 850 text as a typed character.
  void QueueText(std::string_view text);
  // A key event with neither character nor extended code: a change of the
  // modifier keys alone, such as releasing Alt after typing keypad digits.
  void QueueModifiers(uint8_t modifiers);
  void QueueMouseRelease(int button, int row, int column, uint8_t modifiers = 0);
  void QueueMouseMove(int row, int column);
  // `count` polls that answer "nothing" before the next queued event.
  void QueueIdle(int count = 1);
  void QueueEvent(const ConsoleEvent& event) { script_.push_back({event, nullptr}); }
  // Runs `action` when the program polls this far (the poll answers
  // "nothing"): a test looks at the screen in the middle of a run this way.
  void QueueAction(std::function<void()> action) { script_.push_back({ConsoleEvent{}, std::move(action)}); }
  size_t QueuedEvents() const { return script_.size(); }
  void SetHasMouse(bool hasMouse) { hasMouse_ = hasMouse; }

  // Reading the screen back.
  // Row r as code page 850 bytes, and as UTF-8 with the PC glyphs.
  std::string Row(int row) const;
  std::string RowUtf8(int row) const;
  // The colour role of each cell of row r as a digit 0..4: the first role of
  // Session().Colours with that attribute, "?" for an attribute of no role.
  std::string RoleRow(int row) const;
  // The characters of every row (UTF-8), then the roles of every row.
  std::string Dump() const;
  int CursorRow() const { return cursorRow_; }
  int CursorColumn() const { return cursorColumn_; }
  int CursorSize() const { return cursorSize_; }
  int BeepCount() const { return beeps_; }
  bool MouseInputOn() const { return mouseInput_; }

 private:
  bool Inside(int row, int column) const;

  int width_;
  int height_;
  std::vector<Cell> cells_;
  int cursorRow_ = 1;
  int cursorColumn_ = 1;
  int cursorSize_ = 25;
  int beeps_ = 0;
  bool hasMouse_ = true;
  bool mouseInput_ = false;
  std::string clipboard_;
  struct Step {
    ConsoleEvent event;
    std::function<void()> action;
  };
  std::deque<Step> script_;
  int emptyPolls_ = 0;
};

}  // namespace olm::platform
