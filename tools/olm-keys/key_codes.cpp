#include "key_codes.h"

#include <cstdio>

namespace olm::keys {
namespace {

using platform::ConsoleEvent;

constexpr int kF1 = 0x3B00, kF10 = 0x4400, kF11 = 0x8500, kF12 = 0x8600;

// The offset a modifier gives a function key, and the Ctrl forms of Home,
// Left and Right.
int ModifiedKey(int key, uint8_t modifiers) {
  bool functionKey = key >= kF1 && key <= kF10;
  bool f11or12 = key == kF11 || key == kF12;
  if (modifiers & (platform::kRightAlt | platform::kLeftAlt)) {
    if (functionKey) return key + 0x2D00;
    if (f11or12) return key + 0x600;
  } else if (modifiers & (platform::kRightCtrl | platform::kLeftCtrl)) {
    if (functionKey) return key + 0x2300;
    if (f11or12) return key + 0x400;
    if (key == 0x4700) return 0x7700;
    if (key == 0x4D00) return 0x7400;
    if (key == 0x4B00) return 0x7300;
  } else if (modifiers & platform::kShift) {
    if (functionKey) return key + 0x1900;
    if (f11or12) return key + 0x200;
  }
  return key;
}

}  // namespace

uint16_t KeyCodeOf(const ConsoleEvent& event) {
  if (event.kind == ConsoleEvent::Kind::Mouse) {
    if (event.releasedButton == 0) return 0;
    return static_cast<uint16_t>(event.column * 256 + event.releasedButton * 64 + event.row);
  }
  if (event.kind != ConsoleEvent::Kind::Key) return 0;
  int key = event.character ? event.character : event.extended * 256;
  if (key == 0x1200) return 213;  // Alt+E: the euro sign
  return static_cast<uint16_t>(ModifiedKey(key, event.modifiers));
}

std::string KeyCodeText(uint16_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "%x", code);
  return text;
}

std::string ModifierNames(uint8_t modifiers) {
  static constexpr struct {
    uint8_t bit;
    const char* name;
  } kNames[] = {{platform::kRightAlt, "RAlt"},   {platform::kLeftAlt, "LAlt"}, {platform::kRightCtrl, "RCtrl"},
                {platform::kLeftCtrl, "LCtrl"}, {platform::kShift, "Shift"}};
  std::string names;
  for (const auto& entry : kNames) {
    if (!(modifiers & entry.bit)) continue;
    if (!names.empty()) names += ' ';
    names += entry.name;
  }
  return names.empty() ? "-" : names;
}

}  // namespace olm::keys
