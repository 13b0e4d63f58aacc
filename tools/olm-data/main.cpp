#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/environment.h"

namespace {

constexpr char kUsage[] =
    "usage: olm-data [--root DIRECTORY] COMMAND\n"
    "  init                create the data files that are missing\n"
    "  export DIRECTORY    write the records as CSV files into DIRECTORY\n"
    "  import FILE.csv...  add the records of CSV files: all of them or none\n"
    "  check               read every record and report what is damaged\n"
    "The root directory is --root, else the environment variable OLMROOT.\n";

int Usage() {
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string root = olm::platform::GetEnvironment("OLMROOT");
  if (args.size() >= 2 && args[0] == "--root") {
    root = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || root.empty()) return Usage();
  const std::string command = args[0];
  args.erase(args.begin());
  namespace tool = olm::datatool;
  if (command == "init" && args.empty()) return tool::InitCommand(root, std::cout, std::cerr);
  if (command == "export" && args.size() == 1) return tool::ExportCommand(root, args[0], std::cout, std::cerr);
  if (command == "import" && !args.empty()) return tool::ImportCommand(root, args, std::cout, std::cerr);
  if (command == "check" && args.empty()) return tool::CheckCommand(root, std::cout, std::cerr);
  return Usage();
}
