#include "app_fixture.h"

#include <filesystem>

#include "app/application_files.h"
#include "app/main_loop.h"
#include "console/console_state.h"
#include "data/data_files.h"
#include "data/lock_files.h"
#include "data/record_operations.h"
#include "data/wait_times.h"
#include "forms/form_definition.h"
#include "forms/forms_state.h"
#include "platform/console_backend.h"
#include "session/entry.h"
#include "session/session_settings.h"
#include "session/translation.h"
#include "text/number_reading.h"
#include "text/packed_digits.h"
#include "text/regional_settings.h"

namespace olm::testing {

namespace fs = std::filesystem;

void ShortenDataWaits() {
  DataWaitTimes().openRetry = 20;
  DataWaitTimes().recordLockSpread = 20;
  DataWaitTimes().lockFileOpenSpread = 5;
  DataWaitTimes().keyLockSpread = 20;
}

void ResetProgramState() {
  ResetConsoleState();
  ResetDataState();
  ResetFormsState();
  ResetRegionalSettings();
  ResetTranslationState();
  ResetLockFileState();
  ResetMainLoopState();
  ResetApplicationRecords();
  Session() = SessionSettings{};
  ShortenDataWaits();
}

AppTest::AppTest() : root_(scratch_.Path() + "root/") {}

AppTest::~AppTest() {
  ResetProgramState();
  platform::InstallConsole(nullptr);
}

void AppTest::Install(const std::string& language) {
  fs::create_directories(root_ + "tmp");
  fs::create_directories(root_ + "DADES");
  fs::copy(OLM_SHARE_DIR "FORMS", root_ + "FORMS", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy(OLM_SHARE_DIR "LOCALE", root_ + "LOCALE", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy(OLM_TEMPLATE_DIR, root_ + "ddf", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  WriteFile(root_ + "tmp/Sessio.ini", "[Menu]\r\nTitol=DESPESES\r\n");
  WriteFile(root_ + "tmp/VornTerm.ini", "[Sistema]\r\nData=20230507\r\nIdioma=" + language + "\r\n");
  environment_.ClearProgramVariables();
  environment_.Set("OLMROOT", root_);
  environment_.Set("OLMTMP", root_ + "tmp/");
}

void WithApplicationFiles(const std::string& root, const std::function<void()>& work) {
  const bool ownConsole = !platform::HasConsole();
  if (ownConsole) platform::InstallConsole(std::make_unique<platform::VirtualConsole>());
  ResetDataState();
  ShortenDataWaits();
  Session().RootDir = root;
  OpenApplicationFiles();
  work();
  CloseApplicationFiles();
  Session().RootDir.clear();
  if (ownConsole) platform::InstallConsole(nullptr);
}

namespace {

std::string PropertyCode(int code) { return PackDigits(ZeroPad(code, 4)); }

void Insert(int16_t file) {
  int16_t status = 0;
  InsertRecord(file, status);
  ASSERT_EQ(status, 0) << "insert into " << file;
}

MovementValues MovementFromBuffer() {
  const MovementBuffer& m = MovementRecord();
  MovementValues values;
  values.property = static_cast<int>(ReadNumber(UnpackDigits(m.PropertyCode())));
  values.date = UnpackDigits(m.Date());
  values.order = static_cast<int>(ReadNumber(UnpackDigits(m.OrderNumber())));
  values.expenseType = m.ExpenseType();
  values.comment = m.Comment();
  values.amount = m.Amount();
  values.taxRate = m.TaxRate();
  values.taxAmount = m.TaxAmount();
  values.document = static_cast<int64_t>(ReadNumber(UnpackDigits(m.DocumentNumber())));
  values.statuses = m.FirstStatus() + m.SecondStatus();
  return values;
}

}  // namespace

void AppTest::AddExpenseType(const std::string& code, const std::string& description) {
  WithApplicationFiles(root_, [&] {
    ExpenseTypeRecord().Clear();
    ExpenseTypeRecord().SetCode(code);
    ExpenseTypeRecord().SetDescription(description);
    Insert(kExpenseTypeFile);
  });
}

void AppTest::AddLinked(const std::string& code, const std::string& name, int64_t counter) {
  WithApplicationFiles(root_, [&] {
    LinkedBuffer& linked = LinkedRecord();
    linked.Clear();
    linked.SetBytes(0, 2, code);
    linked.SetName(name);
    linked.SetDocumentCounter(PackDigits(ZeroPad(static_cast<double>(counter), 8)));
    Insert(kLinkedFile);
  });
}

void AppTest::AddProperty(int code, const std::string& name, const std::string& linkCode, char kind) {
  WithApplicationFiles(root_, [&] {
    PropertyBuffer& property = PropertyRecord();
    property.Clear();
    property.SetCode(PropertyCode(code));
    property.SetBytes(6, 2, linkCode);
    property.SetBytes(8, 30, name);
    property.SetBytes(141, 1, std::string(1, kind));
    Insert(kPropertyFile);
  });
}

void AppTest::AddMovement(const MovementValues& values) {
  WithApplicationFiles(root_, [&] {
    MovementBuffer& m = MovementRecord();
    m.Clear();
    m.SetKey(PropertyCode(values.property), PackDigits(values.date), PackDigits(ZeroPad(values.order, 4)));
    m.SetExpenseType(values.expenseType);
    m.SetComment(values.comment);
    m.SetAmount(values.amount);
    m.SetTaxRate(values.taxRate);
    m.SetTaxAmount(values.taxAmount);
    m.SetDocumentNumber(PackDigits(ZeroPad(static_cast<double>(values.document), 8)));
    m.SetStatuses(values.statuses.substr(0, 1), values.statuses.substr(1, 1));
    Insert(kMovementFile);
  });
}

std::vector<MovementValues> AppTest::Movements() {
  std::vector<MovementValues> all;
  WithApplicationFiles(root_, [&] {
    int16_t status = 0;
    ReadByKey(kMovementFile, 0, "", +1, status);
    while (status == 0) {
      all.push_back(MovementFromBuffer());
      SkipRecords(kMovementFile, 1, status);
    }
  });
  return all;
}

std::optional<MovementValues> AppTest::FindMovement(int property, const std::string& date, int order) {
  for (const MovementValues& m : Movements())
    if (m.property == property && m.date == date && m.order == order) return m;
  return std::nullopt;
}

int64_t AppTest::LinkedCounter(const std::string& code) {
  int64_t counter = -1;
  WithApplicationFiles(root_, [&] {
    int16_t status = 0;
    ReadByKey(kLinkedFile, 0, code, 0, status);
    if (status == 0) counter = static_cast<int64_t>(ReadNumber(UnpackDigits(LinkedRecord().DocumentCounter())));
  });
  return counter;
}

platform::VirtualConsole& AppTest::NewConsole() {
  ResetProgramState();
  auto console = std::make_unique<platform::VirtualConsole>();
  console_ = console.get();
  platform::InstallConsole(std::move(console));
  return *console_;
}

int AppTest::Run(const std::function<void(platform::VirtualConsole&)>& script) {
  script(NewConsole());
  const int exitCode = RunProgram();
  // The test's own directory again, whatever the program moved to.
  fs::current_path(scratch_.Path());
  return exitCode;
}

int16_t AppTest::LockWholeFileElsewhere(const std::string& lockName) {
  ResetLockFileState();
  fs::create_directories(root_ + "elsewhere");
  Session().RootDir = root_;
  Session().TempDir = root_ + "elsewhere/";
  SetLockWaitMode('S');
  const int16_t result = LockRecordRange(lockName, "F", "", "");
  if (result == 0) ReleaseLock(lockName);
  SetLockWaitMode(' ');
  ResetLockFileState();
  Session() = SessionSettings{};
  return result;
}

void TypeField(platform::VirtualConsole& console, const std::string& text) {
  console.QueueText(text);
  console.QueueKey(kEnter);
}

}  // namespace olm::testing
