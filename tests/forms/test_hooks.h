#pragma once
// The application's hooks as the forms tests define them: every call is
// recorded as a line of text, and a test may give any hook a behaviour.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace olm::testing {

struct TestHooks {
  // "enter 1", "show 1,2", "exit 1,2 'text' d", "leave 1 d",
  // "pick 2 1,3", "start 2", "line 2" (keys in their hexadecimal text form).
  std::vector<std::string> calls;
  bool recordLines = true;  // "line" calls, off for long lists

  std::function<void(int16_t screen)> screenEnter;
  std::function<void(int16_t screen, int16_t field)> showField;
  std::function<int16_t(int16_t screen, const std::string& text, int16_t& field, int16_t& key)> fieldExit;
  std::function<int16_t(int16_t screen, int16_t& key)> screenExit;
  std::function<void(int16_t& browse, int16_t screen, int16_t& field)> browsePick;
  std::function<int16_t(int16_t browse, std::string& startKey, std::string& endKey)> browseStart;
  std::function<std::string(int16_t browse)> browseLine;
};

// The hooks of this test binary; Reset clears calls and behaviours.
TestHooks& Hooks();
void ResetHooks();

}  // namespace olm::testing
