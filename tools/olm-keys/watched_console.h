#pragma once
// A console that passes everything to another one and remembers the last
// event it delivered, so that the modifier state behind a key code can be
// shown.

#include <memory>

#include "platform/console_backend.h"

namespace olm::keys {

class WatchedConsole final : public platform::ConsoleBackend {
 public:
  explicit WatchedConsole(std::unique_ptr<platform::ConsoleBackend> inner) : inner_(std::move(inner)) {}

  // The last event other than Kind::None.
  const platform::ConsoleEvent& LastEvent() const { return last_; }

  int Width() const override { return inner_->Width(); }
  int Height() const override { return inner_->Height(); }
  void PutCell(int row, int column, platform::Cell cell) override { inner_->PutCell(row, column, cell); }
  platform::Cell GetCell(int row, int column) const override { return inner_->GetCell(row, column); }
  void SetCursorPosition(int row, int column) override { inner_->SetCursorPosition(row, column); }
  void SetCursorSize(int percent) override { inner_->SetCursorSize(percent); }
  void Beep() override { inner_->Beep(); }
  platform::ConsoleEvent PollEvent() override;
  bool HasMouse() const override { return inner_->HasMouse(); }
  void SetMouseInput(bool on) override { inner_->SetMouseInput(on); }
  std::string ClipboardText() override { return inner_->ClipboardText(); }
  void SetClipboardText(std::string_view text) override { inner_->SetClipboardText(text); }
  void Flush() override { inner_->Flush(); }

 private:
  std::unique_ptr<platform::ConsoleBackend> inner_;
  platform::ConsoleEvent last_;
};

}  // namespace olm::keys
