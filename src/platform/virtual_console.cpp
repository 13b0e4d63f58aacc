#include "platform/virtual_console.h"

#include "platform/codepage.h"
#include "platform/pc_glyphs.h"
#include "session/session_settings.h"

namespace olm::platform {

VirtualConsole::VirtualConsole(int width, int height)
    : width_(width), height_(height), cells_(static_cast<size_t>(width * height)) {}

bool VirtualConsole::Inside(int row, int column) const {
  return row >= 1 && row <= height_ && column >= 1 && column <= width_;
}

void VirtualConsole::PutCell(int row, int column, Cell cell) {
  if (Inside(row, column)) cells_[static_cast<size_t>((row - 1) * width_ + column - 1)] = cell;
}

Cell VirtualConsole::GetCell(int row, int column) const {
  if (!Inside(row, column)) return Cell{};
  return cells_[static_cast<size_t>((row - 1) * width_ + column - 1)];
}

void VirtualConsole::SetCursorPosition(int row, int column) {
  cursorRow_ = row;
  cursorColumn_ = column;
}

// Hands out the next scripted event; counts the polls that find the script
// empty so that a program waiting forever ends the test instead of hanging.
ConsoleEvent VirtualConsole::PollEvent() {
  if (script_.empty()) {
    if (++emptyPolls_ >= kExhaustedPolls) {
      emptyPolls_ = 0;
      throw ScriptExhausted();
    }
    return ConsoleEvent{};
  }
  emptyPolls_ = 0;
  Step step = std::move(script_.front());
  script_.pop_front();
  if (step.action) step.action();
  return step.event;
}

void VirtualConsole::QueueKey(int code, uint8_t modifiers) {
  ConsoleEvent event;
  event.kind = ConsoleEvent::Kind::Key;
  event.modifiers = modifiers;
  code &= 0xFFFF;
  if (code < 256) {
    event.character = static_cast<uint8_t>(code);
  } else {
    event.extended = static_cast<uint8_t>(code >> 8);
  }
  script_.push_back({event, nullptr});
}

void VirtualConsole::QueueText(std::string_view text) {
  for (char c : text) QueueKey(static_cast<uint8_t>(c));
}

void VirtualConsole::QueueModifiers(uint8_t modifiers) {
  ConsoleEvent event;
  event.kind = ConsoleEvent::Kind::Key;
  event.modifiers = modifiers;
  script_.push_back({event, nullptr});
}

void VirtualConsole::QueueMouseRelease(int button, int row, int column, uint8_t modifiers) {
  ConsoleEvent event;
  event.kind = ConsoleEvent::Kind::Mouse;
  event.modifiers = modifiers;
  event.releasedButton = static_cast<uint8_t>(button);
  event.row = row;
  event.column = column;
  script_.push_back({event, nullptr});
}

void VirtualConsole::QueueMouseMove(int row, int column) { QueueMouseRelease(0, row, column); }

void VirtualConsole::QueueIdle(int count) {
  for (int i = 0; i < count; ++i) script_.push_back({ConsoleEvent{}, nullptr});
}

std::string VirtualConsole::Row(int row) const {
  std::string text;
  for (int column = 1; column <= width_; ++column) {
    text += static_cast<char>(GetCell(row, column).character);
  }
  return text;
}

std::string VirtualConsole::RowUtf8(int row) const {
  std::string text;
  for (int column = 1; column <= width_; ++column) {
    AppendUtf8(text, ScreenGlyph(GetCell(row, column).character));
  }
  return text;
}

std::string VirtualConsole::RoleRow(int row) const {
  const ColourTable& colours = Session().Colours;
  std::string roles;
  for (int column = 1; column <= width_; ++column) {
    int attribute = GetCell(row, column).attribute;
    char role = '?';
    for (int r = 0; r < 5; ++r) {
      if (colours[r][0] + 16 * colours[r][1] == attribute) {
        role = static_cast<char>('0' + r);
        break;
      }
    }
    roles += role;
  }
  return roles;
}

std::string VirtualConsole::Dump() const {
  std::string picture;
  for (int row = 1; row <= height_; ++row) picture += RowUtf8(row) + "\n";
  picture += "\n";
  for (int row = 1; row <= height_; ++row) picture += RoleRow(row) + "\n";
  return picture;
}

}  // namespace olm::platform
