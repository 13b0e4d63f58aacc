#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "console/console_state.h"
#include "data/data_files.h"
#include "data/data_prompts.h"
#include "data/lock_files.h"
#include "data_tool_fixture.h"
#include "platform/clock.h"
#include "platform/console_backend.h"
#include "platform/virtual_console.h"
#include "session/program_end.h"
#include "session/session_settings.h"

namespace olm::datatool {
namespace {

using testing::ReadFile;
using testing::WriteFile;

const char kMovementHeader[] =
    "property,date,order,expense_type,comment,amount,document,tax_rate,tax_amount,status1,status2\r\n";

// Changes the stored record whose bytes start with `prefix`, behind the
// record manager's back, as a damaged disk or a foreign program would.
void DamageRecord(const std::string& file, const std::string& prefix, const std::function<void(std::string&)>& change) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, "SELECT id, data FROM records", -1, &select, nullptr);
  int64_t id = 0;
  std::string data;
  while (sqlite3_step(select) == SQLITE_ROW) {
    std::string row(static_cast<const char*>(sqlite3_column_blob(select, 1)), sqlite3_column_bytes(select, 1));
    if (row.rfind(prefix, 0) == 0 && id == 0) {
      id = sqlite3_column_int64(select, 0);
      data = row;
    }
  }
  sqlite3_finalize(select);
  ASSERT_NE(id, 0) << "no record starts with the prefix";
  change(data);
  sqlite3_stmt* update = nullptr;
  sqlite3_prepare_v2(db, "UPDATE records SET data = ? WHERE id = ?", -1, &update, nullptr);
  sqlite3_bind_blob(update, 1, data.data(), int(data.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(update, 2, id);
  EXPECT_EQ(sqlite3_step(update), SQLITE_DONE);
  sqlite3_finalize(update);
  sqlite3_close(db);
}

void DeleteRecords(const std::string& file, const std::string& prefix) {
  DamageRecord(file, prefix, [](std::string&) {});
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  const std::string sql = "DELETE FROM records WHERE substr(data, 1, " + std::to_string(prefix.size()) + ") = x'" +
                          [&] {
                            std::string hex;
                            for (char c : prefix) hex += "0123456789abcdef"[uint8_t(c) >> 4], hex += "0123456789abcdef"[uint8_t(c) & 15];
                            return hex;
                          }() + "'";
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(DataToolTest, ExportImportedIntoAFreshRootExportsTheSameBytes) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0) << err_.str();
  const std::string first = ExportText(Root(), scratch_.Path() + "first");
  const std::string fresh = MakeRoot("fresh");
  ASSERT_EQ(Import(fresh, {scratch_.Path() + "first/movements.csv", scratch_.Path() + "first/properties.csv",
                           scratch_.Path() + "first/expense-types.csv", scratch_.Path() + "first/linked-records.csv"}),
            0)
      << err_.str();
  EXPECT_EQ(ExportText(fresh, scratch_.Path() + "second"), first);
  // The sample files are written in the exported form themselves.
  std::string samples;
  for (const std::string& file : SampleFiles()) samples += ReadFile(file);
  EXPECT_EQ(first, samples);
}

TEST_F(DataToolTest, OneBadRowInTheMiddleChangesNothingAndIsNamed) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0) << err_.str();
  const std::string before = ExportText(Root(), scratch_.Path() + "before");
  WriteFile("new.csv", std::string(kMovementHeader) +
                           "104,2026-01-02,1,AI,Primer,10.00,1,21.00,1.74,P,P\r\n"
                           "104,2026-01-03,1,AI,\"Segon, amb coma\",12.345,2,21.00,2.14,P,P\r\n"
                           "104,2026-01-04,1,AI,Tercer,30.00,3,21.00,5.21,P,P\r\n");
  EXPECT_EQ(Import(Root(), {"new.csv"}), 1);
  EXPECT_EQ(err_.str(), "new.csv:3: field amount is not an amount such as 116.00\nnothing was imported\n");
  EXPECT_EQ(ExportText(Root(), scratch_.Path() + "after"), before);
}

TEST_F(DataToolTest, RowsThatClashWithTheFilesAreRefused) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0) << err_.str();
  const std::string before = ExportText(Root(), scratch_.Path() + "before");
  struct Case {
    std::string rows, error;
  } cases[] = {
      {"101,2025-01-15,1,AI,Ja hi és,1.00,0,0,0,P,P\r\n",
       "new.csv:2: property 101, date 2025-01-15, order 1 is already in the file\n"},
      {"999,2026-01-02,1,AI,Finca inexistent,1.00,0,0,0,P,P\r\n",
       "new.csv:2: field property: property 999 does not exist\n"},
      {"104,2026-01-02,1,AI,A,1.00,0,0,0,P,P\r\n104,2026-01-02,1,AI,B,1.00,0,0,0,P,P\r\n",
       "new.csv:3: same key as new.csv:2 (property 104, date 2026-01-02, order 1)\n"},
  };
  for (const Case& c : cases) {
    WriteFile("new.csv", kMovementHeader + c.rows);
    EXPECT_EQ(Import(Root(), {"new.csv"}), 1);
    EXPECT_EQ(err_.str(), c.error + "nothing was imported\n");
  }
  WriteFile("odd.csv", "codi,descripcio\r\nAI,Aigua\r\n");
  EXPECT_EQ(Import(Root(), {"odd.csv"}), 1);
  EXPECT_NE(err_.str().find("odd.csv:1: the header row names no record kind"), std::string::npos);
  EXPECT_EQ(ExportText(Root(), scratch_.Path() + "after"), before);
}

TEST_F(DataToolTest, InitCreatesMissingFilesAndKeepsExistingOnes) {
  ASSERT_EQ(Run([&](std::ostream& o, std::ostream& e) { return InitCommand(Root(), o, e); }), 0);
  EXPECT_EQ(out_.str(), "TDespesa: created\nPropietV: created\nFinquesV: created\nPagamV: created\n");
  ASSERT_EQ(Import(Root(), SampleFiles()), 0);
  ASSERT_EQ(Run([&](std::ostream& o, std::ostream& e) { return InitCommand(Root(), o, e); }), 0);
  EXPECT_EQ(out_.str(), "TDespesa: already there\nPropietV: already there\nFinquesV: already there\nPagamV: already there\n");
  EXPECT_EQ(Check(Root()), 0) << err_.str();
  EXPECT_NE(out_.str().find("PagamV: 54 records read"), std::string::npos);
}

TEST_F(DataToolTest, CheckReportsDamagedRecordsKeysOutOfOrderAndOrphanMovements) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0);
  const std::string movements = Root() + "/DADES/PagamV.dat";
  // Property 102's first movement gets bad date digits; property 101's first
  // movement is moved, in its record only, after the second; property 103
  // disappears under its movements.
  DamageRecord(movements, "\x81\x82", [](std::string& data) { data.replace(2, 1, " "); });
  DamageRecord(movements, "\x81\x81\x94\x99\x81\x8F", [](std::string& data) { data.replace(4, 2, "\x81\x9E"); });
  DeleteRecords(Root() + "/DADES/FinquesV.dat", "\x81\x83");
  EXPECT_EQ(Check(Root()), 1);
  const std::string report = err_.str();
  EXPECT_NE(report.find("PagamV: record with property 102, date x20"), std::string::npos) << report;
  EXPECT_NE(report.find(": field date is not packed digits"), std::string::npos) << report;
  EXPECT_NE(report.find("PagamV: record with property 101, date 2025-01-27, order 1: key out of order after "
                        "property 101, date 2025-01-30, order 1"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("PagamV: record with property 103, date 2025-01-13, order 1: its property does not exist"),
            std::string::npos)
      << report;
  EXPECT_NE(out_.str().find("problems found"), std::string::npos);
}

// A data file whose storage is damaged: the check reports it and fails, and
// the program's open shows its message and ends instead of crashing.
TEST_F(DataToolTest, DamagedDataFileIsReportedByCheckAndRefusedByTheProgram) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0);
  const std::string file = Root() + "/DADES/PagamV.dat";
  std::string bytes = ReadFile(file);
  bytes.replace(0, 100, std::string(100, 'X'));
  WriteFile(file, bytes);
  EXPECT_EQ(Check(Root()), 1);
  EXPECT_NE(err_.str().find("NO ES POT ACCEDIR AL FITXER " + Root() + "/DADES\\PagamV ("), std::string::npos)
      << err_.str();
  EXPECT_NE(err_.str().find("PagamV: the file cannot be opened"), std::string::npos);

  Session().RootDir = Root() + "/";
  Session().Language = "   ";
  platform::InstallConsole(std::make_unique<platform::VirtualConsole>());
  ResetConsoleState();
  std::vector<std::string> events;
  SetPromptObserver([&](const std::string& event) { events.push_back(event); });
  auto& console = static_cast<platform::VirtualConsole&>(platform::Console());
  console.QueueIdle();  // ends the dropping of waiting keys
  console.QueueKey('\r');
  std::vector<uint8_t> buffer(52);
  int16_t status = 0;
  int exitCode = 0;
  try {
    OpenDataFile(510, Session().RootDir + "DADES\\PagamV", buffer.data(), 52, status);
  } catch (const ProgramEnd& end) {
    exitCode = end.exitCode;
  }
  EXPECT_EQ(exitCode, 1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0], "show:NO ES POT ACCEDIR AL FITXER " + Root() + "/DADES\\PagamV (2)");
  SetPromptObserver({});
  ResetDataState();
  platform::InstallConsole(nullptr);
}

// A workstation editing a movement holds a key lock on the movements: the
// tool, run as its own process, waits with the lock message and imports
// once the lock is released.
TEST_F(DataToolTest, ImportWaitsForAWorkstationsKeyLock) {
  ASSERT_EQ(Import(Root(), SampleFiles()), 0);
  Session().RootDir = Root() + "/";
  Session().TempDir = scratch_.Path() + "workstation/";
  std::filesystem::create_directories(scratch_.Path() + "workstation");
  ASSERT_EQ(LockKey("PagamV", "\x81\x84"), 0);
  WriteFile("new.csv", std::string(kMovementHeader) + "104,2026-01-02,1,AI,Nou,10.00,1,21.00,1.74,P,P\r\n");
  const std::string run = "(" + ToolPath() + " --root " + Root() + " import new.csv >out.txt 2>err.txt; echo $? >rc.txt) &";
  ASSERT_EQ(std::system(run.c_str()), 0);
  // Generous bounds: these loops wait for the other process, they time nothing.
  for (int i = 0; i < 600 && ReadFile("err.txt").find("FITXER BLOQUEJAT") == std::string::npos; ++i)
    platform::SleepMilliseconds(50);
  EXPECT_EQ(ReadFile("err.txt"), "FITXER BLOQUEJAT. ESPEREU UN MOMENT.\n");
  EXPECT_FALSE(testing::PathExists("rc.txt"));
  EXPECT_EQ(ReleaseLock("PagamV"), 0);
  for (int i = 0; i < 600 && !testing::PathExists("rc.txt"); ++i) platform::SleepMilliseconds(50);
  platform::SleepMilliseconds(50);
  EXPECT_EQ(ReadFile("rc.txt"), "0\n");
  EXPECT_EQ(ReadFile("out.txt"), "movements: 1 imported\n");
  ResetLockFileState();
}

}  // namespace
}  // namespace olm::datatool
