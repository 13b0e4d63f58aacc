// Browse lists over a real data file of 10,000 records.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "data/data_files.h"
#include "data/record_operations.h"
#include "forms/browse_list.h"
#include "forms_fixture.h"
#include "recman/creation_buffer.h"

namespace olm::testing {
namespace {

constexpr int16_t kFile = 510;
constexpr int kRecords = 10000;
constexpr int kEnter = 0x0d, kEsc = 0x1b, kPgUp = 0x4900, kPgDn = 0x5100;

// List 1: rows 3..22 (20 lines) over the file along key 0.
const char* const kForm =
    "1,1\n\"d\",0,0,0,0,0,0\n"
    "1\n"
    "510,0,2,1,23,80,0,\"CODI\",0\n";

// Records of 20 bytes whose key 0 is a 5-digit code, 00001 .. 10000. The
// file is built once for the whole suite: building it is the slow part.
class BrowseDataTest : public FormsTest {
 protected:
  static void SetUpTestSuite() {
    dataDirectory_ = new ScratchDirectory();
    recman::FileDescription file;
    file.recordLength = 20;
    file.keys = {{{1, 5, 0}}};
    const std::string buffer = recman::BuildCreationBuffer(file);
    WriteFile(dataDirectory_->Path() + "ddf/Big.xdf",
              std::string{char(buffer.size() & 0xFF), char(buffer.size() >> 8)} + buffer);
    platform::MakeDirectory("DADES");
    const SessionSettings saved = Session();
    Session().RootDir = dataDirectory_->Path();
    char record[20];
    int16_t status = -1;
    OpenDataFile(kFile, "DADES\\Big", record, sizeof record, status);
    ASSERT_EQ(status, 0);
    for (int i = 1; i <= kRecords; ++i) {
      std::memset(record, ' ', sizeof record);
      std::snprintf(record, sizeof record, "%05d", i);
      record[5] = ' ';
      InsertRecord(kFile, status);
      ASSERT_EQ(status, 0);
    }
    ResetDataState();
    Session() = saved;
  }
  static void TearDownTestSuite() {
    delete dataDirectory_;
    dataDirectory_ = nullptr;
  }

  BrowseDataTest() {
    UseForm(kForm);
    int16_t status = -1;
    OpenDataFile(kFile, dataDirectory_->Path() + "DADES/Big", record_, sizeof record_, status);
    EXPECT_EQ(status, 0);
    Hooks().recordLines = false;
    Hooks().browseLine = [this](int16_t) {
      const std::string code(record_, 5);
      ++reads_[code];
      return showLine_(code) ? "rec " + code : "";
    };
  }
  ~BrowseDataTest() override { ResetDataState(); }

  void Between(const std::string& start, const std::string& end) {
    Hooks().browseStart = [start, end](int16_t, std::string& startKey, std::string& endKey) {
      startKey = start;
      endKey = end;
      return int16_t(0);
    };
  }
  int Run() {
    int16_t browse = 1, result = 99;
    RunBrowse(browse, result);
    return result;
  }
  std::string ListRow(int row) { return Screen().Row(2 + row).substr(1, 9); }
  // Keys the list checks while it reads would be dropped, as keys typed
  // during a read are; idle polls cover the reading of each page.
  void QueuePageKeys(int key, int count) {
    for (int i = 0; i < count; ++i) {
      Screen().QueueKey(key);
      Screen().QueueIdle(25);
    }
  }

  static ScratchDirectory* dataDirectory_;
  char record_[20] = {};
  std::map<std::string, int> reads_;
  std::function<bool(const std::string&)> showLine_ = [](const std::string&) { return true; };
};

ScratchDirectory* BrowseDataTest::dataDirectory_ = nullptr;

TEST_F(BrowseDataTest, PagingToTheEndAndBackReadsEachRecordOnce) {
  Between("00001", "");
  std::string lastPage, firstPage;
  Screen().QueueIdle(25);
  QueuePageKeys(kPgDn, kRecords / 20);
  Screen().QueueAction([&] { lastPage = ListRow(1) + "|" + ListRow(20); });
  QueuePageKeys(kPgUp, kRecords / 20);
  Screen().QueueAction([&] { firstPage = ListRow(1) + "|" + ListRow(20); });
  Screen().QueueKey(kEnter);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(lastPage, "rec 09981|rec 10000");
  EXPECT_EQ(firstPage, "rec 00001|rec 00020");
  EXPECT_EQ(std::string(record_, 5), "00001") << "the chosen record is read into the buffer";
  EXPECT_EQ(reads_.size(), size_t(kRecords));
  int readTwice = 0;
  for (const auto& [code, reads] : reads_) readTwice += reads != 1;
  EXPECT_EQ(readTwice, 0);
}

TEST_F(BrowseDataTest, EscWhileSkippingRecordsStopsTheReading) {
  Between("00001", "");
  showLine_ = [](const std::string& code) { return code <= "00005"; };
  std::string rows;
  Screen().QueueIdle(300);
  Screen().QueueKey(kEsc);  // pressed while records are being skipped
  Screen().QueueAction([&] { rows = ListRow(5) + "|" + ListRow(6); });
  Screen().QueueKey(kEsc);  // leaves the list
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(rows, "rec 00005|         ");
  EXPECT_GT(reads_.size(), 300u);
  EXPECT_LT(reads_.size(), 400u) << "reading stopped at the Esc";
}

TEST_F(BrowseDataTest, StartAndEndKeyBoundTheList) {
  struct Case {
    std::string key;
    int lines;
    std::string last;
  } cases[] = {{"10", 1, "rec 10000"}, {"0999", 10, "rec 09999"}, {"00", 999, ""}};
  for (const Case& c : cases) {
    Between(c.key, c.key);
    std::string last, after;
    Screen().QueueIdle(25);
    if (c.lines <= 20) {
      Screen().QueueAction([&] {
        last = ListRow(c.lines);
        after = ListRow(c.lines + 1);
      });
    } else {
      QueuePageKeys(kPgDn, 60);
    }
    Screen().QueueKey(kEsc);
    reads_.clear();
    Run();
    EXPECT_EQ(reads_.size(), size_t(c.lines)) << c.key;
    if (c.lines <= 20) {
      EXPECT_EQ(last, c.last);
      EXPECT_EQ(after, std::string(9, ' '));
    }
  }
}

}  // namespace
}  // namespace olm::testing
