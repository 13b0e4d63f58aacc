#include "test_hooks.h"

#include "console/key_code.h"
#include "forms/hooks.h"

namespace olm {
namespace {

void Record(const std::string& call) { testing::Hooks().calls.push_back(call); }

std::string Pair(int16_t a, int16_t b) { return std::to_string(a) + "," + std::to_string(b); }

}  // namespace

void OnScreenEnter(int16_t screen) {
  Record("enter " + std::to_string(screen));
  if (testing::Hooks().screenEnter) testing::Hooks().screenEnter(screen);
}

void OnShowField(int16_t screen, int16_t field) {
  Record("show " + Pair(screen, field));
  if (testing::Hooks().showField) testing::Hooks().showField(screen, field);
}

int16_t OnFieldExit(int16_t screen, std::string text, int16_t& field, int16_t& key) {
  Record("exit " + Pair(screen, field) + " '" + text + "' " + KeyCodeText(key));
  return testing::Hooks().fieldExit ? testing::Hooks().fieldExit(screen, text, field, key) : 0;
}

int16_t OnScreenExit(int16_t screen, int16_t& key) {
  Record("leave " + std::to_string(screen) + " " + KeyCodeText(key));
  return testing::Hooks().screenExit ? testing::Hooks().screenExit(screen, key) : 0;
}

void OnBrowsePick(int16_t& browse, int16_t screen, int16_t& field) {
  Record("pick " + std::to_string(browse) + " " + Pair(screen, field));
  if (testing::Hooks().browsePick) testing::Hooks().browsePick(browse, screen, field);
}

int16_t OnBrowseStart(int16_t browse, std::string& startKey, std::string& endKey) {
  Record("start " + std::to_string(browse));
  return testing::Hooks().browseStart ? testing::Hooks().browseStart(browse, startKey, endKey) : 0;
}

std::string OnBrowseLine(int16_t browse) {
  if (testing::Hooks().recordLines) Record("line " + std::to_string(browse));
  return testing::Hooks().browseLine ? testing::Hooks().browseLine(browse) : "";
}

namespace testing {

TestHooks& Hooks() {
  static TestHooks hooks;
  return hooks;
}

void ResetHooks() { Hooks() = TestHooks{}; }

}  // namespace testing
}  // namespace olm
