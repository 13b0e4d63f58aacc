// Several programs on one root directory, each in a process of its own with
// its own temporary directory (so each is a workstation of its own): the
// key lock of a movement being edited, and the document counter shared by
// the properties of one linked record.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "app_fixture.h"
#include "platform/console_backend.h"
#include "session/entry.h"

namespace olm::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kCtrlY = 0x19;

class MultiProcess : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat", 100);
    for (int property = 1; property <= 4; ++property) AddProperty(property, "Finca " + std::to_string(property), "L1");
  }

  // Waits until `path` exists; false after about 30 seconds.
  static bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 3000; ++i) {
      if (fs::exists(path)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // Runs the program in a child process as workstation `station`, with the
  // keys of `script`; returns the child's process id. The child's exit code
  // is the program's, or 99 when it failed otherwise.
  pid_t StartProgram(const std::string& station, const std::function<void(platform::VirtualConsole&)>& script) {
    const std::string temp = Root() + station + "/";
    fs::create_directories(temp);
    fs::copy_file(Root() + "tmp/Sessio.ini", temp + "Sessio.ini", fs::copy_options::overwrite_existing);
    fs::copy_file(Root() + "tmp/VornTerm.ini", temp + "VornTerm.ini", fs::copy_options::overwrite_existing);
    const pid_t child = fork();
    if (child != 0) return child;
    int exitCode = 99;
    try {
      setenv("OLMTMP", temp.c_str(), 1);
      ResetProgramState();
      auto console = std::make_unique<platform::VirtualConsole>();
      script(*console);
      platform::InstallConsole(std::move(console));
      exitCode = RunProgram();
    } catch (...) {
    }
    _exit(exitCode);
  }

  static int ExitCodeOf(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static void TypeMovementKey(platform::VirtualConsole& c, const std::string& property, const std::string& order) {
    TypeField(c, property);
    TypeField(c, "07052023");
    TypeField(c, order);
  }
};

// While one workstation edits a movement, another naming the same date and
// order number waits with the lock message, and gives up with Esc; the
// first then saves its change.
TEST_F(MultiProcess, SecondProgramWaitsForTheMovementAndGivesUpWithEsc) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .comment = "Original", .amount = 1000});
  const std::string scratch = scratch_.Path();
  const pid_t editor = StartProgram("stationA", [&](platform::VirtualConsole& c) {
    TypeMovementKey(c, "1", "1");
    c.QueueAction([&] {
      WriteFile(scratch + "a.editing", "");
      WaitForFile(scratch + "b.finished");
    });
    c.QueueKey(kEnter);
    c.QueueKey(kEnter);
    c.QueueKey(kCtrlY);
    TypeField(c, "2000");
    for (int i = 0; i < 5; ++i) c.QueueKey(kEnter);
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  ASSERT_TRUE(WaitForFile(scratch + "a.editing"));

  const pid_t waiter = StartProgram("stationB", [&](platform::VirtualConsole& c) {
    TypeMovementKey(c, "1", "1");
    // The first poll of the lock wait: the message is up.
    c.QueueAction([&] {
      std::string screen;
      for (int row = 1; row <= 25; ++row) screen += c.Row(row) + "\n";
      WriteFile(scratch + "b.screen", screen);
    });
    c.QueueKey(kEsc);  // gives up waiting: still on screen 2
    c.QueueAction([&] { WriteFile(scratch + "b.after", c.Row(24)); });
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  EXPECT_EQ(ExitCodeOf(waiter), 0);
  WriteFile(scratch + "b.finished", "");
  EXPECT_EQ(ExitCodeOf(editor), 0);

  EXPECT_NE(ReadFile(scratch + "b.screen").find("FITXER BLOQUEJAT"), std::string::npos) << ReadFile(scratch + "b.screen");
  EXPECT_NE(ReadFile(scratch + "b.after").find("Data:"), std::string::npos);
  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 2000);
  EXPECT_EQ(saved->comment.substr(0, 8), "Original");
}

// Four workstations save new movements of four properties at the same
// time; all take their document numbers from one linked record, and no
// number is handed out twice.
TEST_F(MultiProcess, ConcurrentNewMovementsNeverShareADocumentNumber) {
  constexpr int kStations = 4;
  constexpr int kMovementsEach = 5;
  const std::string scratch = scratch_.Path();
  std::vector<pid_t> children;
  for (int station = 1; station <= kStations; ++station) {
    children.push_back(StartProgram("station" + std::to_string(station), [&, station](platform::VirtualConsole& c) {
      c.QueueAction([&] { WaitForFile(scratch + "go"); });
      TypeField(c, std::to_string(station));
      for (int n = 1; n <= kMovementsEach; ++n) {
        TypeField(c, "07052023");
        TypeField(c, std::to_string(n));
        TypeField(c, "");
        TypeField(c, "Moviment " + std::to_string(n));
        TypeField(c, "1000");
        for (int i = 0; i < 5; ++i) c.QueueKey(kEnter);
      }
      c.QueueKey(kEsc);
      c.QueueKey(kEsc);
    }));
  }
  WriteFile(scratch + "go", "");
  for (pid_t child : children) EXPECT_EQ(ExitCodeOf(child), 0);

  const auto movements = Movements();
  ASSERT_EQ(movements.size(), size_t(kStations * kMovementsEach));
  std::set<int64_t> documents;
  for (const MovementValues& m : movements) documents.insert(m.document);
  EXPECT_EQ(documents.size(), movements.size());
  EXPECT_EQ(*documents.begin(), 101);
  EXPECT_EQ(*documents.rbegin(), 100 + kStations * kMovementsEach);
  EXPECT_EQ(LinkedCounter("L1"), 100 + kStations * kMovementsEach);
}

}  // namespace
}  // namespace olm::testing
