#pragma once
// A whole installation in a scratch directory for running the program
// through its entry on a virtual console: the form and language files, the
// data templates, Sessio.ini and VornTerm.ini, and helpers to put records
// into the data files before a run and read them back after it.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/virtual_console.h"
#include "scratch.h"

namespace olm::testing {

// Key codes the scripts use.
constexpr int kEnter = 0x0d;
constexpr int kEsc = 0x1b;
constexpr int kF4 = 0x3e00;
constexpr int kCtrlQ = 0x11;
constexpr int kCtrlT = 0x14;
constexpr int kDown = 0x5000;

struct MovementValues {
  int property = 0;          // three digits as typed
  std::string date;          // "YYYYMMDD"
  int order = 0;
  std::string expenseType = "  ";
  std::string comment;
  int32_t amount = 0;
  int16_t taxRate = 0;       // hundredths of a percent
  int32_t taxAmount = 0;
  int64_t document = 0;
  std::string statuses = "PP";
};

class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  // Writes the installation under Root() and points the environment at it;
  // `language` goes to VornTerm.ini.
  void Install(const std::string& language = "");

  // Puts records into the data files (with the program's buffers) and closes
  // them again.
  void AddExpenseType(const std::string& code, const std::string& description);
  void AddLinked(const std::string& code, const std::string& name, int64_t counter);
  void AddProperty(int code, const std::string& name, const std::string& linkCode = "L1", char kind = ' ');
  void AddMovement(const MovementValues& movement);

  // Reads back from the data files.
  std::optional<MovementValues> FindMovement(int property, const std::string& date, int order);
  std::vector<MovementValues> Movements();
  int64_t LinkedCounter(const std::string& code);

  // A fresh virtual console with every process-wide state reset, then the
  // program run on it: the script must end the program.
  int Run(const std::function<void(platform::VirtualConsole&)>& script);

  // Every process-wide state reset and a fresh virtual console installed.
  platform::VirtualConsole& NewConsole();

  // The screen as the program left it.
  std::string Row(int row) const { return console_->Row(row); }
  platform::VirtualConsole& Console() { return *console_; }

  const std::string& Root() const { return root_; }

  // Tries a whole-file lock of `lockName` as another workstation would,
  // without waiting: 0 when no other lock is held, -1 when one is.
  int16_t LockWholeFileElsewhere(const std::string& lockName);

  ScratchDirectory scratch_;
  ScopedEnvironment environment_;
  std::string root_;
  platform::VirtualConsole* console_ = nullptr;
};

// Clears every process-wide state of the program, as at start.
void ResetProgramState();

// Types `text`, then Enter.
void TypeField(platform::VirtualConsole& console, const std::string& text);

// Runs the data helpers with the files open, then closes them.
void WithApplicationFiles(const std::string& root, const std::function<void()>& work);

// The program's data layer waits made short.
void ShortenDataWaits();

}  // namespace olm::testing
