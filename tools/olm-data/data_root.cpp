#include "data_root.h"

#include <filesystem>
#include <memory>

#include "data/data_files.h"
#include "data/data_prompts.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console_backend.h"
#include "platform/file.h"
#include "session/ini_reader.h"
#include "session/program_end.h"
#include "session/session_settings.h"
#include "tool_console.h"

namespace olm::datatool {
namespace {

namespace fs = std::filesystem;

// A fresh directory for this run's workstation file, so that every run of
// the tool is a workstation of its own.
std::string MakePrivateTemp() {
  for (;;) {
    const auto number = static_cast<uint64_t>(platform::UniformRandom() * 1e15);
    const fs::path path = fs::temp_directory_path() / ("olm-data-" + std::to_string(number));
    std::error_code error;
    if (fs::create_directory(path, error)) return path.string();
  }
}

}  // namespace

DataRoot::DataRoot(const std::string& root, std::ostream& messages)
    : messages_(messages), buffers_(RecordKinds().size(), std::vector<uint8_t>(kDataBufferSize)) {
  std::error_code error;
  const fs::path absolute = fs::absolute(root, error);
  if (error || !fs::is_directory(absolute)) return;
  valid_ = true;
  std::string rootDir = platform::Utf8ToCp850(absolute.lexically_normal().string());
  if (rootDir.back() != '/') rootDir += '/';
  privateTemp_ = MakePrivateTemp();

  SessionSettings& session = Session();
  session = SessionSettings{};
  session.RootDir = rootDir;
  session.TempDir = platform::Utf8ToCp850(privateTemp_) + "/";
  session.Language = ReadIniValue(rootDir + "Vorn.ini", "Usuari", "Idioma");
  session.Language.resize(3, ' ');
  SetCurrency("a,E");

  if (!platform::HasConsole()) {
    platform::InstallConsole(std::make_unique<ToolConsole>());
    installedConsole_ = true;
  }
  SetPromptObserver([this](const std::string& event) {
    if (event.rfind("show:", 0) == 0) messages_ << platform::Cp850ToUtf8(event.substr(5)) << std::endl;
  });
  // The database log is written to the current directory, as the program
  // writes it after changing to the root.
  previousDirectory_ = platform::CurrentDirectory();
  platform::ChangeDirectory(rootDir);
}

DataRoot::~DataRoot() {
  if (!valid_) return;
  ReleaseLocks();
  ResetDataState();
  SetPromptObserver(nullptr);
  if (installedConsole_) platform::InstallConsole(nullptr);
  platform::ChangeDirectory(previousDirectory_);
  std::error_code error;
  fs::remove_all(privateTemp_, error);
}

std::string DataRoot::DataPath(const RecordKind& kind) const { return Session().RootDir + "DADES\\" + kind.baseName; }

bool DataRoot::DataFileExists(const RecordKind& kind) const { return platform::FileExists(DataPath(kind) + ".dat"); }

std::vector<uint8_t>& DataRoot::Buffer(const RecordKind& kind) {
  return buffers_[size_t(&kind - RecordKinds().data())];
}

bool DataRoot::Open(const RecordKind& kind, bool forWriting) {
  platform::MakeDirectory(Session().RootDir + "DADES");
  int16_t status = 0;
  try {
    OpenDataFile(kind.fileId, DataPath(kind), Buffer(kind).data(), kDataBufferSize, status);
  } catch (const ProgramEnd&) {
    // The data layer has shown its message and closed every file.
    return false;
  }
  int16_t keyLength = 0;
  uint32_t recordLength = 0;
  GetKeyInfo(kind.fileId, 0, keyLength, recordLength);
  if (status != 0 || recordLength != kind.recordLength || size_t(keyLength) != kind.keyLength) {
    messages_ << DataPath(kind) << ": records of " << recordLength << " bytes with a key of " << keyLength
              << ", expected " << kind.recordLength << " and " << kind.keyLength << std::endl;
    return false;
  }
  if (forWriting) SetLockMode(kind.fileId, "A", status);
  return true;
}

void DataRoot::CloseAll() {
  int16_t status = 0;
  CloseAllFiles(status);
}

void DataRoot::LockWholeFile(const RecordKind& kind) {
  SetLockWaitMode(' ');
  LockRecordRange(kind.baseName, "F", "", "");
  locks_.push_back(kind.baseName);
}

void DataRoot::ReleaseLocks() {
  for (const std::string& name : locks_) ReleaseLock(name);
  locks_.clear();
}

std::string DataRoot::Record(const RecordKind& kind) const {
  const std::vector<uint8_t>& buffer = buffers_[size_t(&kind - RecordKinds().data())];
  return std::string(buffer.begin(), buffer.begin() + kind.recordLength);
}

int16_t DataRoot::ReadFirst(const RecordKind& kind) {
  int16_t status = 0;
  ReadByKey(kind.fileId, 0, "", 1, status);
  return status;
}

int16_t DataRoot::ReadNext(const RecordKind& kind) {
  int16_t status = 0;
  SkipRecords(kind.fileId, 1, status);
  return status;
}

int16_t DataRoot::ReadEqual(const RecordKind& kind, const std::string& key) {
  int16_t status = 0;
  ReadByKey(kind.fileId, 0, key, 0, status);
  return status;
}

int16_t DataRoot::Insert(const RecordKind& kind, const std::string& record) {
  std::copy(record.begin(), record.end(), Buffer(kind).begin());
  int16_t status = 0;
  InsertRecord(kind.fileId, status);
  return status;
}

int16_t DataRoot::Delete(const RecordKind& kind, const std::string& key) {
  int16_t status = ReadEqual(kind, key);
  if (status == 0) DeleteRecord(kind.fileId, status);
  return status;
}

}  // namespace olm::datatool
