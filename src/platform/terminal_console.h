#pragma once
// The console on a real terminal: /dev/tty in raw mode on the alternate
// screen, drawn from a 25 x 80 shadow grid and read through the key decoder.
// The terminal is left as it was found on every way out: destruction, a
// normal exit, a fatal error, and the signals that end a process.

#include <memory>
#include <string>
#include <string_view>

#include "platform/console_backend.h"
#include "platform/terminal_input.h"
#include "platform/terminal_output.h"

namespace olm::platform {

class TerminalConsole final : public ConsoleBackend {
 public:
  // Opens the terminal `device` (the controlling terminal by default, so
  // that redirected standard streams do not matter). Nothing is changed on
  // the terminal until the console is first used. Answers nullptr, with the
  // reason in `reason`, when the device is not a terminal that can be opened.
  static std::unique_ptr<TerminalConsole> Open(std::string* reason = nullptr,
                                               const char* device = "/dev/tty");
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  int Width() const override { return ScreenGrid::kColumns; }
  int Height() const override { return ScreenGrid::kRows; }
  void PutCell(int row, int column, Cell cell) override;
  Cell GetCell(int row, int column) const override;
  void SetCursorPosition(int row, int column) override;
  void SetCursorSize(int percent) override;
  void Beep() override;
  ConsoleEvent PollEvent() override;
  bool HasMouse() const override { return true; }
  void SetMouseInput(bool on) override { mouseOn_ = on; }
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override;
  void Flush() override;
  void LendToChildProgram() override;
  void TakeBackFromChildProgram() override;

  // Puts the terminal back as it was found. The console starts again on its
  // next use.
  void Restore();

 private:
  TerminalConsole(int fd);
  void Start();
  void TakeTerminal();
  void CheckSize();
  void Write(std::string_view bytes);
  int ReadInput(int timeoutMilliseconds);
  bool Deliver(const TerminalInput& input);

  int fd_;
  bool started_ = false;
  bool tooSmall_ = false;
  bool dirty_ = true;
  bool mouseOn_ = false;
  ScreenGrid grid_;
  CursorState cursor_;
  TerminalRenderer renderer_;
  TerminalInputDecoder decoder_;
  std::string clipboard_;
  long long lastInputMilliseconds_ = 0;
};

// Puts the terminal in use back as it was found, if a terminal console is
// in use. Safe to call from a fatal error path and from a signal handler.
void RestoreTerminalNow();

}  // namespace olm::platform
