#include "forms/browse_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "forms/exit_keys.h"
#include "forms/list_file.h"
#include "forms_fixture.h"

namespace olm::testing {
namespace {

using Calls = std::vector<std::string>;
constexpr int kEnter = 0x0d, kEsc = 0x1b, kUp = 0x4800, kDown = 0x5000, kPgUp = 0x4900, kPgDn = 0x5100;
constexpr int kLeft = 0x4b00, kRight = 0x4d00, kF4 = 0x3e00;

// List 1: rows 4..13 (10 lines) of columns 21..40, nested list 2.
// List 2: a small nested list. List 3: with the filter screen 1.
const char* const kForm =
    "1,1\n"
    "\"1b,d\",1,0,0,0,0,0\n"
    "2,1,\"A: \",4,0,0,0,0,0,\"\"\n"
    "3\n"
    "0,0,3,20,14,41,0,\"CODI NOM_X\",2\n"
    "0,0,6,30,10,60,0,\"\",0\n"
    "0,0,3,20,14,41,1,\"\",0\n";

class BrowseListTest : public FormsTest {
 protected:
  BrowseListTest() {
    UseForm(kForm);
    // Each list starts with the lines its test asked for.
    Hooks().browseStart = [this](int16_t browse, std::string&, std::string&) {
      ListFile list(true);
      for (const std::string& line : lines_[browse]) list.Append(int32_t(100 + line.size()), line);
      return int16_t(0);
    };
  }

  void Lines(int browse, int count, const std::string& prefix = "line ") {
    for (int i = 1; i <= count; ++i) lines_[browse].push_back(prefix + std::to_string(i));
  }
  int Run(int browse, const std::vector<int>& keys) {
    for (int key : keys) Screen().QueueKey(key);
    int16_t b = int16_t(browse), result = 99;
    RunBrowse(b, result);
    return result;
  }
  // The text of list 1's row `row`.
  std::string ListRow(int row) { return Screen().Row(3 + row).substr(20, 20); }
  std::string ListRoles(int row) { return Screen().RoleRow(3 + row).substr(20, 20); }
  static std::vector<int> Repeat(int key, int count) { return std::vector<int>(size_t(count), key); }

  std::vector<std::string> lines_[4];
};

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(BrowseListTest, PgUpPutsTheHighlightOnTheCurrentLinesNewRow) {
  Lines(1, 30);
  struct Case {
    std::vector<int> keys;  // reach a page start and a highlighted row
    int row;
    std::string chosen;
  } cases[] = {
      {Repeat(kDown, 12) + Repeat(kUp, 4), 1, "line 1"},   // page from line 4, row 6 (line 9)
      {Repeat(kDown, 16) + Repeat(kUp, 4), 3, "line 3"},   // page from line 8, row 6 (line 13)
  };
  for (const Case& c : cases) {
    bool highlighted = false;
    for (int key : c.keys) Screen().QueueKey(key);
    Screen().QueueKey(kPgUp);
    Screen().QueueAction([&] {
      highlighted = ListRoles(c.row) == std::string(20, '4') && ListRow(1) == "line 1" + std::string(14, ' ');
    });
    EXPECT_EQ(Run(1, {kEnter}), 0);
    EXPECT_EQ(ChosenLineText(), c.chosen);
    EXPECT_TRUE(highlighted) << c.chosen;
  }
}

TEST_F(BrowseListTest, DownOnTheLastRowScrollsAndStopsAtTheLastLine) {
  Lines(1, 12);
  std::string lastRow, firstRow;
  Screen().QueueKey(kDown);
  for (int i = 0; i < 12; ++i) Screen().QueueKey(kDown);
  Screen().QueueAction([&] {
    firstRow = ListRow(1);
    lastRow = ListRow(10);
  });
  EXPECT_EQ(Run(1, {kEnter}), 0);
  EXPECT_EQ(ChosenLineText(), "line 12");
  EXPECT_EQ(ChosenLinePosition(), 107);
  EXPECT_EQ(firstRow.substr(0, 6), "line 3");
  EXPECT_EQ(lastRow.substr(0, 7), "line 12");
}

TEST_F(BrowseListTest, PgDnShowsTheNextPageUntilTheLast) {
  Lines(1, 25);
  std::vector<std::string> seen;
  for (int i = 0; i < 3; ++i) {
    Screen().QueueKey(kPgDn);
    Screen().QueueAction([&] { seen.push_back(ListRow(1).substr(0, 7) + "|" + ListRow(5).substr(0, 7) + "|" + ListRow(6)); });
  }
  EXPECT_EQ(Run(1, {kEnter}), 0);
  EXPECT_EQ(seen[0], "line 11|line 15|line 16" + std::string(13, ' '));
  EXPECT_EQ(seen[1], "line 21|line 25|" + std::string(20, ' ')) << "rows after the last line are blank";
  EXPECT_EQ(seen[2], seen[1]) << "no page after the last";
  EXPECT_EQ(ChosenLineText(), "line 21");
}

TEST_F(BrowseListTest, AnEmptyListGivesMinusOneAndTheScreenComesBack) {
  SetExitKeys("ea", "d");
  EXPECT_EQ(Run(1, {kEnter}), -1);
  EXPECT_EQ(Run(1, {kEsc}), -1);
  EXPECT_EQ(ListRow(1), std::string(20, ' '));
  EXPECT_EQ(Screen().Row(3), std::string(80, ' '));
  EXPECT_FALSE(PathExists(ListFilePath()));
  EXPECT_EQ(ExitKeys().Keys, (std::vector<int16_t>{0x0d})) << "the caller's exit keys come back";
}

TEST_F(BrowseListTest, TheTitleLineShowsFrameBetweenWordsAndMarkersForHiddenColumns) {
  Lines(1, 2);
  lines_[1][1] = std::string(25, 'w') + "END";  // 8 columns wider than the window
  std::vector<std::string> titles, rows;
  auto look = [&] {
    titles.push_back(Screen().Row(3).substr(19, 22));
    rows.push_back(ListRow(2));
  };
  Screen().QueueAction(look);
  for (int key : {kRight, kRight, kLeft}) {
    Screen().QueueKey(key);
    Screen().QueueAction(look);
  }
  Run(1, {kEsc});
  const std::string frame(10, '\xCD');
  EXPECT_EQ(titles[0], "\xC9" "CODI\xCDNOM X" + frame + "\x10");
  EXPECT_EQ(titles[1], "\x11 X" + std::string(18, '\xCD') + "\xBB") << "an underscore shows as a blank";
  EXPECT_EQ(rows[1], std::string(17, 'w') + "END") << "Right shows columns 9 to 28";
  EXPECT_EQ(titles[2], titles[1]) << "nothing more to the right";
  EXPECT_EQ(titles[3], titles[0]);
}

TEST_F(BrowseListTest, F4OpensTheNestedListAndItsPickGoesToTheHook) {
  Lines(1, 3);
  Lines(2, 2, "sub ");
  EXPECT_EQ(Run(1, {kF4, kDown, kEnter}), 0);
  EXPECT_EQ(ChosenLineText(), "sub 2");
  EXPECT_EQ(Hooks().calls, (Calls{"start 1", "start 2", "pick 2 0,0"}));
  EXPECT_EQ(Screen().Row(6), std::string(80, ' '));
}

TEST_F(BrowseListTest, TheFilterScreenAndTheStartHookCanCancelTheList) {
  Screen().QueueKey(kEsc);  // leaves the filter screen
  EXPECT_EQ(Run(3, {}), -1);
  EXPECT_EQ(Hooks().calls, (Calls{"enter 1", "show 1,1", "leave 1 1b"}));
  Hooks().browseStart = [](int16_t, std::string&, std::string&) { return int16_t(7); };
  EXPECT_EQ(Run(1, {}), 7);
  EXPECT_EQ(Screen().Row(3), std::string(80, ' ')) << "no window was opened";
  int16_t missing = 9, result = 0;
  RunBrowse(missing, result);
  EXPECT_EQ(result, -1);
}

}  // namespace
}  // namespace olm::testing
