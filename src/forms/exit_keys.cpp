#include "forms/exit_keys.h"

#include <algorithm>
#include <optional>
#include <string>

#include "console/key_code.h"

namespace olm {
namespace {

struct ExitKeyState {
  ExitKeyTable table;
  std::optional<ExitKeyTable> slot;
  int16_t mask = 0;
};

ExitKeyState& State() {
  static ExitKeyState state;
  return state;
}

// Calls `each` with every comma-separated item of `keys`.
template <typename Each>
void ForEachItem(std::string_view keys, Each each) {
  size_t start = 0;
  for (;;) {
    const size_t comma = keys.find(',', start);
    each(keys.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return;
    start = comma + 1;
  }
}

void AppendKeys(ExitKeyTable& table, std::string_view keys) {
  ForEachItem(keys, [&](std::string_view item) {
    const size_t equals = item.find('=');
    const int16_t key = ParseKeyCode(item.substr(0, equals));
    const int16_t reported = equals == std::string_view::npos ? key : ParseKeyCode(item.substr(equals + 1));
    table.Keys.push_back(key);
    table.Reported.push_back(reported);
  });
}

void RemoveKeys(ExitKeyTable& table, std::string_view keys) {
  ForEachItem(keys, [&](std::string_view item) {
    const auto found = std::find(table.Keys.begin(), table.Keys.end(), ParseKeyCode(item));
    if (found == table.Keys.end()) return;
    table.Reported.erase(table.Reported.begin() + (found - table.Keys.begin()));
    table.Keys.erase(found);
  });
}

}  // namespace

const ExitKeyTable& ExitKeys() { return State().table; }

void SetExitKeys(std::string_view letters, std::string_view keys) {
  ExitKeyState& state = State();
  for (char letter : letters) {
    switch (letter) {
      case 'e': case 'E': state.table = ExitKeyTable{}; break;
      case 'a': case 'A': AppendKeys(state.table, keys); break;
      case 'd': case 'D': RemoveKeys(state.table, keys); break;
      case '+':
        if (!state.slot) state.slot = state.table;
        break;
      case '-':
        if (state.slot) {
          state.table = *state.slot;
          state.slot.reset();
        }
        break;
      case 'h': case 'H': state.mask = 88; break;
      case 'v': case 'V': state.mask = 0; break;
      default: break;
    }
  }
}

bool FindExitKey(int16_t key, int16_t& reported) {
  const ExitKeyTable& table = State().table;
  const auto found = std::find(table.Keys.begin(), table.Keys.end(), key);
  if (found == table.Keys.end()) return false;
  reported = table.Reported[size_t(found - table.Keys.begin())];
  return true;
}

int16_t MaskCharacter() { return State().mask; }

void ResetExitKeyState() { State() = ExitKeyState{}; }

}  // namespace olm
