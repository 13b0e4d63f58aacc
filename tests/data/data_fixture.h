#pragma once
// A root directory with data templates, a virtual console, short waits, and
// a record of the data layer's messages, for the length of a test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "console/console_state.h"
#include "data/data_files.h"
#include "data/data_prompts.h"
#include "data/wait_times.h"
#include "platform/file.h"
#include "platform/virtual_console.h"
#include "recman/creation_buffer.h"
#include "scratch.h"
#include "session/session_settings.h"

namespace olm::testing {

class DataTest : public ::testing::Test {
 protected:
  DataTest() {
    savedSession_ = Session();
    Session().RootDir = scratch_.Path();
    Session().TempDir = scratch_.Path() + "tmp\\";
    Session().Language = "   ";
    platform::MakeDirectory("tmp");
    platform::MakeDirectory("ddf");
    platform::MakeDirectory("DADES");
    auto console = std::make_unique<platform::VirtualConsole>();
    console_ = console.get();
    platform::InstallConsole(std::move(console));
    ResetConsoleState();
    ResetDataState();
    ShortenWaits();
    SetPromptObserver([this](const std::string& event) { events_.push_back(event); });
  }
  ~DataTest() override {
    ResetDataState();
    SetPromptObserver({});
    ResetConsoleState();
    platform::InstallConsole(nullptr);
    Session() = savedSession_;
  }

  static void ShortenWaits() {
    DataWaitTimes().openRetry = 20;
    DataWaitTimes().recordLockSpread = 20;
    DataWaitTimes().lockFileOpenSpread = 5;
    DataWaitTimes().keyLockSpread = 20;
  }

  // Writes ddf\<base>.xdf for `file`.
  void WriteTemplate(const std::string& base, const recman::FileDescription& file) {
    const std::string buffer = recman::BuildCreationBuffer(file);
    std::string content;
    content += static_cast<char>(buffer.size() & 0xFF);
    content += static_cast<char>(buffer.size() >> 8);
    WriteFile(scratch_.Path() + "ddf/" + base + ".xdf", content + buffer);
  }

  // Records of 20 bytes: key 0 = bytes 1..4 (text), key 1 = bytes 5..6
  // (binary, duplicates allowed).
  static recman::FileDescription SmallFile(uint16_t recordLength = 20) {
    recman::FileDescription file;
    file.recordLength = recordLength;
    file.keys = {{{1, 4, 0}}, {{5, 2, recman::kBinarySegment | recman::kDuplicatesAllowed}}};
    return file;
  }

  static std::string SmallRecord(const std::string& code, uint16_t number, const std::string& rest = "") {
    std::string record = code;
    record.resize(4, ' ');
    record += static_cast<char>(number & 0xFF);
    record += static_cast<char>(number >> 8);
    record += rest;
    record.resize(20, ' ');
    return record;
  }

  ScratchDirectory scratch_;
  platform::VirtualConsole* console_ = nullptr;
  SessionSettings savedSession_;
  std::vector<std::string> events_;
};

}  // namespace olm::testing
