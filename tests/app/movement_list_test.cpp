// The movement list of screen 2: the page it opens on, paging forward and
// back, the lines it shows, and the locks paging leaves behind.

#include <gtest/gtest.h>

#include "app_fixture.h"

namespace olm::testing {
namespace {

class MovementList : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat", 0);
    AddProperty(1, "Carrer Major 3");
    AddProperty(2, "Carrer Nou 5");
    AddExpenseType("AB", "Material electric");
  }

  // The order numbers shown in the list's rows, "" for a blank row.
  static std::vector<std::string> ListedOrders(const platform::VirtualConsole& c) {
    std::vector<std::string> orders;
    for (int row = 5; row <= 23; ++row) {
      const std::string line = c.Row(row);
      orders.push_back(line.substr(0, 79) == std::string(79, ' ') ? "" : line.substr(11, 4));
    }
    return orders;
  }

  static std::vector<std::string> Orders(int first, int last) {
    std::vector<std::string> orders;
    for (int n = first; n <= last; ++n) orders.push_back(ZeroPadded(n));
    orders.resize(19);
    return orders;
  }

  static std::string ZeroPadded(int n) {
    std::string text = std::to_string(n);
    return std::string(4 - text.size(), '0') + text;
  }
};

// Pages are counted from the first movement: 45 movements give pages of 19,
// 19 and 7, the list opens on the last one, forward from it is the empty
// page, and back from the empty page shows the last 19 movements.
TEST_F(MovementList, PagesThroughFortyFiveMovements) {
  for (int n = 1; n <= 45; ++n) AddMovement({.property = 1, .date = "20230101", .order = n, .amount = 100 * n});
  AddMovement({.property = 2, .date = "20230101", .order = 1, .comment = "Altra finca", .amount = 5});
  std::vector<std::vector<std::string>> pages;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "1");
    const int steps[] = {0, kCtrlT, kCtrlT, kCtrlT, kCtrlQ, kCtrlQ, kCtrlQ, kCtrlQ, kCtrlT};
    for (int key : steps) {
      if (key) c.QueueKey(key);
      c.QueueAction([&] { pages.push_back(ListedOrders(c)); });
    }
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  const std::vector<std::vector<std::string>> expected = {
      Orders(39, 45), Orders(20, 38), Orders(1, 19), Orders(1, 19), Orders(20, 38),
      Orders(39, 45), Orders(0, -1),  Orders(0, -1), Orders(27, 45),
  };
  ASSERT_EQ(pages.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(pages[i], expected[i]) << "step " << i;
  // Paging named no movement: another workstation can lock the whole file.
  EXPECT_EQ(LockWholeFileElsewhere("PagamV"), 0);
}

TEST_F(MovementList, PropertyWithoutMovementsShowsAnEmptyListOnEveryPage) {
  std::vector<std::vector<std::string>> pages;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "1");
    for (int key : {0, kCtrlQ, kCtrlT}) {
      if (key) c.QueueKey(key);
      c.QueueAction([&] { pages.push_back(ListedOrders(c)); });
    }
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  ASSERT_EQ(pages.size(), 3u);
  for (const auto& page : pages) EXPECT_EQ(page, Orders(0, -1));
}

// One list line: date, order, expense type (a remark for an unknown code,
// blanks for none), comment and amount, under the header's words, with the
// regional defaults (day/month/year, "'" decimals, "." thousands).
TEST_F(MovementList, LinesShowTheMovementsColumnsUnderTheHeader) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .expenseType = "AB", .comment = "Bombetes",
               .amount = 1234567});
  AddMovement({.property = 1, .date = "20230507", .order = 2, .expenseType = "ZZ", .comment = "Codi perdut"});
  AddMovement({.property = 1, .date = "20230508", .order = 1, .comment = "Sense concepte", .amount = 5});
  std::vector<std::string> rows;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "1");
    c.QueueAction([&] {
      for (int row = 2; row <= 8; ++row) rows.push_back(c.Row(row));
    });
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0].substr(36, 32), " Carrer Major 3                 ");
  const std::string& header = rows[1];
  EXPECT_EQ(header.substr(0, 79),
            "DATA       ORD.  CONCEPTE                  COMENTARI                     IMPORT");
  EXPECT_EQ(rows[3].substr(0, 79),
            "7/5/2023   0001  Material electric         Bombetes                   12.345'67");
  EXPECT_EQ(rows[4].substr(17, 25), "*** despesa no defin. ***");
  EXPECT_EQ(rows[4].substr(69, 10), "      0'00");
  EXPECT_EQ(rows[5].substr(17, 25), std::string(25, ' '));
  EXPECT_EQ(rows[6].substr(0, 79), std::string(79, ' '));
}

}  // namespace
}  // namespace olm::testing
