#include "data/data_prompts.h"

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"

namespace olm {
namespace {

std::function<void(const std::string&)>& Observer() {
  static std::function<void(const std::string&)> observer;
  return observer;
}

void Notify(const std::string& event) {
  if (Observer()) Observer()(event);
}

}  // namespace

void ShowDataMessage(int16_t row, const std::string& text) {
  Notify("show:" + text);
  std::string shown = text;
  ShowMessage(row, shown);
}

void RemoveDataMessage() {
  Notify("pop");
  PopWindow();
}

void BeepConsole() { Beep(); }

int16_t ReadWaitingKey() {
  int16_t key = 0, buttons = 0, row = 0, column = 0;
  ReadKeyEvent(key, buttons, row, column);
  return key;
}

void DiscardWaitingKeys() {
  while (ReadWaitingKey() != 0) {
  }
}

int16_t WaitForKey() { return GetKey(); }

void SetPromptObserver(std::function<void(const std::string&)> observer) {
  Observer() = std::move(observer);
}

}  // namespace olm
