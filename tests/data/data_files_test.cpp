#include "data/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "data_fixture.h"
#include "data/record_operations.h"
#include "session/program_end.h"

namespace olm::testing {
namespace {

TEST(SplitDataFileName, AddsTheDefaultExtensionAndFindsTheBaseName) {
  struct Case {
    const char* name;
    const char* path;
    const char* base;
  } cases[] = {
      {"C:\\OLM\\DADES\\TDespesa", "C:\\OLM\\DADES\\TDespesa.dat", "TDespesa"},
      {"DADES\\PagamV.btr", "DADES\\PagamV.btr", "PagamV"},
      {"/srv/olm/DADES\\a.b.c", "/srv/olm/DADES\\a.b.c", "a"},
      {"dir.x/File", "dir.x/File.dat", "File"},
      {"A:File", "A:File.dat", "File"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataFileName file = SplitDataFileName(c.name);
    EXPECT_EQ(file.path, c.path);
    EXPECT_EQ(file.baseName, c.base);
  }
}

class DataFilesTest : public DataTest {};

TEST_F(DataFilesTest, OpeningCreatesAMissingFileFromItsTemplate) {
  WriteTemplate("Small", SmallFile());
  char buffer[20] = {};
  int16_t status = -1;
  OpenDataFile(7, Session().RootDir + "DADES\\Small", buffer, sizeof buffer, status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(PathExists(scratch_.Path() + "DADES/Small.dat"));
  const OpenFileSlot& slot = OpenFiles().Slots[FindFileSlot(7)];
  EXPECT_EQ(slot.RecordLength, 20u);
  EXPECT_EQ(slot.KeyValue, std::string(4, '\0'));
  EXPECT_EQ(slot.KeyNumber, 0);
  EXPECT_EQ(slot.LockMode, 0);
  int16_t keyLength = -1;
  uint32_t recordLength = 0;
  GetKeyInfo(7, 1, keyLength, recordLength);
  EXPECT_EQ(keyLength, 2);
  EXPECT_EQ(recordLength, 20u);
  GetKeyInfo(7, 2, keyLength, recordLength);
  EXPECT_EQ(keyLength, 0);
  GetKeyInfo(7, -1, keyLength, recordLength);
  EXPECT_EQ(keyLength, 0);
  GetKeyInfo(8, 0, keyLength, recordLength);
  EXPECT_EQ(keyLength, 0);
  EXPECT_EQ(recordLength, 0u);
  EXPECT_TRUE(events_.empty());
}

TEST_F(DataFilesTest, TableLimitsAnswerWithoutAMessage) {
  WriteTemplate("Small", SmallFile());
  char buffer[20] = {};
  int16_t status = -1;
  for (int16_t id = 1; id <= kOpenFileSlots; ++id) {
    OpenDataFile(id, "DADES\\Small", buffer, sizeof buffer, status);
    ASSERT_EQ(status, 0);
  }
  OpenDataFile(41, "DADES\\Small", buffer, sizeof buffer, status);
  EXPECT_EQ(status, kStatusTableFull);
  EXPECT_EQ(FindFileSlot(41), 0);
  OpenDataFile(5, "DADES\\Small", buffer, sizeof buffer, status);
  EXPECT_EQ(status, kStatusAlreadyOpen);
  CloseAllFiles(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(FindFileSlot(5), -1);
  // 0 marks a free slot and is never a FileId.
  OpenDataFile(0, "DADES\\Small", buffer, sizeof buffer, status);
  EXPECT_EQ(status, kStatusFileNotOpen);
  EXPECT_TRUE(events_.empty());
}

// The fatal open: a message naming the file and status, a beep, a key, then
// every file closed and the program ended with exit code 1.
TEST_F(DataFilesTest, AFileThatCannotBeOpenedEndsTheProgram) {
  struct Case {
    const char* what;
    const char* language;
    std::string setUp;
    const char* message;
  } cases[] = {
      {"no template", "   ", "", "NO ES POT ACCEDIR AL FITXER DADES\\Missing (12)"},
      {"records longer than the buffer", "SPA", "long", "NO SE PUEDE ACCEDER AL FICHERO DADES\\Missing (1005)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetDataState();
    ShortenWaits();
    events_.clear();
    Session().Language = c.language;
    if (c.setUp == "long") WriteTemplate("Missing", SmallFile(21));
    char other[20] = {};
    int16_t status = -1;
    WriteTemplate("Small", SmallFile());
    OpenDataFile(1, "DADES\\Small", other, sizeof other, status);
    ASSERT_EQ(status, 0);
    console_->QueueKey('x');  // waiting before the message: discarded
    console_->QueueIdle();
    console_->QueueKey(13);
    char buffer[20] = {};
    const int beeps = console_->BeepCount();
    int exitCode = 0;
    try {
      OpenDataFile(2, "DADES\\Missing", buffer, sizeof buffer, status);
      ADD_FAILURE() << "returned";
    } catch (const ProgramEnd& end) {
      exitCode = end.exitCode;
    }
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(events_, (std::vector<std::string>{std::string("show:") + c.message, "pop"}));
    EXPECT_EQ(console_->BeepCount(), beeps + 1);
    EXPECT_EQ(console_->QueuedEvents(), 0u);
    EXPECT_EQ(FindFileSlot(1), -1);
  }
}

// The four application files open from the templates the build generates,
// with the record lengths their buffers hold and the key they are read by.
TEST_F(DataFilesTest, GeneratedTemplatesGiveTheApplicationFiles) {
  const char* binaryDir = std::getenv("OLM_TEST_BINARY_DIR");
  ASSERT_NE(binaryDir, nullptr);
  struct Case {
    const char* name;
    uint32_t bufferSize;
    int16_t keyLength;
  } cases[] = {{"TDespesa", 28, 2}, {"PropietV", 324, 2}, {"FinquesV", 204, 2}, {"PagamV", 52, 8}};
  int16_t id = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string content;
    ASSERT_TRUE(platform::ReadWholeFile(std::string(binaryDir) + "/share/olm/ddf/" + c.name + ".xdf", content));
    WriteFile(scratch_.Path() + "ddf/" + c.name + ".xdf", content);
    static char buffer[324];
    int16_t status = -1;
    OpenDataFile(id, std::string("DADES\\") + c.name, buffer, c.bufferSize, status);
    ASSERT_EQ(status, 0);
    int16_t keyLength = 0;
    uint32_t recordLength = 0;
    GetKeyInfo(id, 0, keyLength, recordLength);
    EXPECT_LE(recordLength, c.bufferSize);
    EXPECT_EQ(keyLength, c.keyLength);
    ++id;
  }
  // Movement keys are plain bytes: their sort text is the key itself.
  const std::string movementKey("\x81\x94\x97\x85\x87\x80\x81\x00", 8);
  EXPECT_EQ(KeySortText(movementKey, 4), movementKey);
}

}  // namespace
}  // namespace olm::testing
