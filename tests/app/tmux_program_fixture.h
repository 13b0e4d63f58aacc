#pragma once
// The built program in a tmux pane of 80 x 25 on a root with one property,
// one linked record and one expense type; keys typed as a user types them.

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app_fixture.h"
#include "tmux_pane.h"

namespace olm::testing {

class TmuxProgramTest : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat", 41);
    AddProperty(1, "Carrer Major 3");
    AddExpenseType("AB", "Material electric");
  }

  static std::string ProgramPath() {
    const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
    return std::string(dir ? dir : ".") + "/trelunax";
  }

  // The pane's script: the program, then its exit code in the file "rc".
  std::string PaneScript() const {
    return "OLMROOT=" + Quote(Root()) + " OLMTMP=" + Quote(Root() + "tmp/") + " " + ProgramPath() +
           "\necho $? > rc\necho finished\nsleep 600\n";
  }

  static void Send(TmuxPane& pane, const std::string& keys) { pane.Tmux("send-keys " + keys); }
  static void SendText(TmuxPane& pane, const std::string& text) { pane.Tmux("send-keys -l " + Quote(text)); }

  // Types `text` and Enter, then waits for `expected` on the screen.
  static bool Type(TmuxPane& pane, const std::string& text, const std::string& expected) {
    if (!text.empty()) SendText(pane, text);
    Send(pane, "Enter");
    return pane.WaitFor(expected);
  }

  static void PressEscape(TmuxPane& pane) {
    Send(pane, "Escape");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
};

}  // namespace olm::testing
