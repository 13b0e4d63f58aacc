// F4 lists in the three fields that have one, the name shown for a
// property of kind "P", and the program's texts in another language.

#include <gtest/gtest.h>

#include "app_fixture.h"

namespace olm::testing {
namespace {

class BrowseAndNames : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat Pis", 10);
    AddProperty(1, "Carrer Major 3");
    AddProperty(4, "Carrer Nou 5");
    AddExpenseType("AB", "Material electric");
    AddExpenseType("CD", "Neteja");
  }

  // F4, then idle polls for the list to read its lines (it checks the
  // keyboard while reading and drops what it finds), then `keys`.
  static void Browse(platform::VirtualConsole& c, std::initializer_list<int> keys) {
    c.QueueKey(kF4);
    c.QueueIdle(200);
    for (int key : keys) {
      c.QueueKey(key);
      c.QueueIdle(200);
    }
  }
};

TEST_F(BrowseAndNames, PickingFromEachListFillsTheForm) {
  AddMovement({.property = 4, .date = "20230507", .order = 1, .comment = "Primer del dia", .amount = 100});
  AddMovement({.property = 4, .date = "20230507", .order = 2, .comment = "Segon del dia", .amount = 200});
  std::string propertyRow, browseRow, movementWindow;
  Run([&](platform::VirtualConsole& c) {
    Browse(c, {kDown});  // the second property, 004
    c.QueueAction([&] { browseRow = c.Row(5); });
    c.QueueKey(kEnter);
    c.QueueAction([&] { propertyRow = c.Row(2); });
    c.QueueKey(kDown);  // to the order number, whose list shows the movements
    Browse(c, {kEnter});  // the first movement of the day opens at once
    c.QueueAction([&] {
      for (int row = 8; row <= 17; ++row) movementWindow += c.Row(row) + "\n";
    });
    Browse(c, {kDown, kEnter});  // expense type CD
    for (int i = 0; i < 7; ++i) c.QueueKey(kEnter);
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  EXPECT_NE(browseRow.find("004  Carrer Nou 5"), std::string::npos) << browseRow;
  EXPECT_NE(propertyRow.find(" Carrer Nou 5 "), std::string::npos) << propertyRow;
  EXPECT_NE(movementWindow.find("Primer del dia"), std::string::npos) << movementWindow;
  const auto saved = FindMovement(4, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->expenseType, "CD");
  EXPECT_EQ(saved->comment.substr(0, 14), "Primer del dia");
  EXPECT_EQ(saved->amount, 100);
  EXPECT_EQ(FindMovement(4, "20230507", 2)->expenseType, "  ");
}

TEST_F(BrowseAndNames, MovementListLinesShowTypeCommentAmountAndRate) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .comment = "Sense import", .taxRate = 1650});
  AddMovement({.property = 4, .date = "20230507", .order = 1, .comment = "Altra finca", .amount = 9});
  std::vector<std::string> rows;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "1");
    c.QueueKey(kDown);
    Browse(c, {});
    c.QueueAction([&] {
      for (int row = 4; row <= 6; ++row) rows.push_back(c.Row(row));
    });
    c.QueueKey(kEsc);
    c.QueueIdle(10);
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  ASSERT_EQ(rows.size(), 3u);
  const std::string expected = "7/5/2023   *** despesa no defin. *** Sense import                         16";
  EXPECT_NE(rows[0].find(expected), std::string::npos) << rows[0];
  EXPECT_EQ(rows[1].find("Altra finca"), std::string::npos) << rows[1];
}

TEST_F(BrowseAndNames, PropertyOfKindPShowsItsLinkedRecordsName) {
  AddProperty(2, "Pis 1r 2a", "L1", 'P');
  AddProperty(3, "Pis sense fitxa", "XX", 'P');
  for (const auto& [code, name] : {std::pair{"2", " Comunitat Pis "}, std::pair{"3", " *** pis inexistent ***"}}) {
    SCOPED_TRACE(code);
    std::string row;
    Run([&](platform::VirtualConsole& c) {
      TypeField(c, code);
      c.QueueAction([&] { row = c.Row(2); });
      c.QueueKey(kEsc);
      c.QueueKey(kEsc);
    });
    EXPECT_EQ(row.substr(36, std::string(name).size()), name) << row;
  }
}

// The language file turns every text the program translates into Spanish;
// the list's columns stay where they were.
TEST_F(BrowseAndNames, SpanishTextsComeFromTheLanguageFile) {
  Install("SPA");
  AddProperty(2, "Pis 1r 2a", "XX", 'P');
  AddMovement({.property = 2, .date = "20230507", .order = 1, .expenseType = "ZZ", .amount = 100});
  std::vector<std::string> rows;
  std::string window;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "2");
    c.QueueAction([&] {
      for (int row = 1; row <= 24; ++row) rows.push_back(c.Row(row));
    });
    TypeField(c, "07052023");
    TypeField(c, "1");
    c.QueueAction([&] {
      for (int row = 8; row <= 17; ++row) window += c.Row(row) + "\n";
    });
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
    c.QueueKey(kEsc);
  });
  ASSERT_EQ(rows.size(), 24u);
  EXPECT_EQ(rows[1].substr(36, 24), " *** piso inexistente **");
  EXPECT_EQ(rows[2].substr(0, 79),
            "FECHA      ORD.  CONCEPTO                  COMENTARIO                   IMPORTE");
  EXPECT_EQ(rows[4].substr(17, 25), "*** gasto no defin. ***  ");
  EXPECT_EQ(rows[4].substr(69, 10), "      1'00");
  EXPECT_NE(rows[23].find("Fecha: "), std::string::npos) << rows[23];
  EXPECT_NE(rows[23].find("Orden: "), std::string::npos) << rows[23];
  for (const char* label : {"Concepto:", "Importe:", "Cuota IVA:", "Documento:", "Pendiente de contabilizar",
                            "Pendiente de pago"})
    EXPECT_NE(window.find(label), std::string::npos) << label << "\n" << window;
}

}  // namespace
}  // namespace olm::testing
