#pragma once
// A root directory with the generated data templates, the demo's sample CSV
// files, and the tool's commands run in-process with their output captured.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "commands.h"
#include "scratch.h"

namespace olm::datatool {

class DataToolTest : public ::testing::Test {
 protected:
  DataToolTest() { MakeRoot("root"); }

  // A root directory holding ddf/ with the build's templates.
  std::string MakeRoot(const std::string& name) {
    namespace fs = std::filesystem;
    const std::string root = scratch_.Path() + name;
    fs::create_directories(root);
    fs::copy(BinaryDir() + "/share/olm/ddf", root + "/ddf", fs::copy_options::recursive);
    return root;
  }

  static std::string BinaryDir() {
    const char* dir = std::getenv("OLM_TEST_BINARY_DIR");
    return dir ? dir : ".";
  }
  static std::string SampleFile(const std::string& name) { return std::string(OLM_SOURCE_DIR) + "/share/olm/demo/" + name; }
  static std::vector<std::string> SampleFiles() {
    return {SampleFile("expense-types.csv"), SampleFile("linked-records.csv"), SampleFile("properties.csv"),
            SampleFile("movements.csv")};
  }
  static std::string ToolPath() { return BinaryDir() + "/tools/olm-data/olm-data"; }

  // Runs one command; out and err_ keep what it wrote.
  template <typename Command>
  int Run(Command command) {
    out_.str("");
    err_.str("");
    return command(out_, err_);
  }
  int Import(const std::string& root, const std::vector<std::string>& files) {
    return Run([&](std::ostream& out, std::ostream& err) { return ImportCommand(root, files, out, err); });
  }
  int Check(const std::string& root) {
    return Run([&](std::ostream& out, std::ostream& err) { return CheckCommand(root, out, err); });
  }
  // The four exported files of `root`, concatenated.
  std::string ExportText(const std::string& root, const std::string& directory) {
    const int status =
        Run([&](std::ostream& out, std::ostream& err) { return ExportCommand(root, directory, out, err); });
    EXPECT_EQ(status, 0) << err_.str();
    std::string text;
    for (const char* name : {"expense-types", "linked-records", "properties", "movements"})
      text += testing::ReadFile(directory + "/" + name + ".csv");
    return text;
  }
  std::string Root() const { return scratch_.Path() + "root"; }

  testing::ScratchDirectory scratch_;
  std::ostringstream out_, err_;
};

}  // namespace olm::datatool
