// The program through its entry on a virtual console: naming a property and
// a movement, creating, changing and deleting movements, and what is stored.

#include <gtest/gtest.h>

#include "app/application_files.h"
#include "app_fixture.h"
#include "data/record_operations.h"
#include "forms/form_definition.h"
#include "text/packed_digits.h"

namespace olm::testing {
namespace {

constexpr int kCtrlY = 0x19;  // clears the field being edited

class MovementFlow : public AppTest {
 protected:
  void SetUp() override {
    Install();
    AddLinked("L1", "Comunitat Carrer Major 3", 41);
    AddProperty(1, "Carrer Major 3");
    AddExpenseType("AB", "Material electric");
  }

  // Screen 1 and the key of a movement on screen 2: property 1, the date
  // and the order number typed over blank fields.
  static void NameMovement(platform::VirtualConsole& c, const std::string& date, const std::string& order) {
    TypeField(c, "1");
    TypeField(c, date);
    TypeField(c, order);
  }

  // The eight fields of screen 3, each cleared first; an empty text keeps
  // the field as it is.
  static void FillMovement(platform::VirtualConsole& c, const std::vector<std::string>& values) {
    for (const std::string& value : values) {
      if (!value.empty()) c.QueueKey(kCtrlY);
      TypeField(c, value);
    }
  }

  static void LeaveProgram(platform::VirtualConsole& c) {
    c.QueueKey(kEsc);  // screen 2
    c.QueueKey(kEsc);  // screen 1
  }
};

TEST_F(MovementFlow, EscOnTheFirstScreenEndsWithExitCodeZeroAndNoChange) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .comment = "Bombetes", .amount = 500});
  const int exitCode = Run([](platform::VirtualConsole& c) { c.QueueKey(kEsc); });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(Row(1).substr(35, 10), " DESPESES ");
  EXPECT_EQ(Row(3).substr(0, 17), "DATA       ORD.  ");
  EXPECT_EQ(Row(4), std::string(79, '-') + " ");
  ASSERT_EQ(Movements().size(), 1u);
  EXPECT_EQ(Movements()[0].amount, 500);
  EXPECT_EQ(LinkedCounter("L1"), 41);
}

TEST_F(MovementFlow, NewMovementIsSavedWithItsTaxAndTheNextDocumentNumber) {
  std::string listRow;
  const int exitCode = Run([&](platform::VirtualConsole& c) {
    NameMovement(c, "07052023", "1");
    FillMovement(c, {"ab", "Bombetes escala", "11600", "16", "", "", "", ""});
    c.QueueAction([&] { listRow = c.Row(5); });
    LeaveProgram(c);
  });
  EXPECT_EQ(exitCode, 0);
  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->expenseType, "AB");
  EXPECT_EQ(saved->comment, "Bombetes escala          ");
  EXPECT_EQ(saved->amount, 11600);
  EXPECT_EQ(saved->taxRate, 1600);
  EXPECT_EQ(saved->taxAmount, 1600);
  EXPECT_EQ(saved->document, 42);
  EXPECT_EQ(saved->statuses, "PP");
  EXPECT_EQ(LinkedCounter("L1"), 42);
  EXPECT_NE(listRow.find("0001  Material electric"), std::string::npos) << listRow;
  EXPECT_NE(listRow.find("Bombetes escala"), std::string::npos) << listRow;
}

// A movement named but not saved must not stay in the file: neither when
// screen 3 is left with Esc nor when it is left without any change.
TEST_F(MovementFlow, NewMovementNotSavedLeavesTheFileAsItWas) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .comment = "Primer", .amount = 700});
  struct Case {
    const char* name;
    std::function<void(platform::VirtualConsole&)> screenThree;
  };
  const std::vector<Case> cases = {
      {"Esc after typing", [](platform::VirtualConsole& c) {
         TypeField(c, "AB");
         c.QueueText("Una cosa");
         c.QueueKey(kEsc);  // back to the first field
         c.QueueKey(kEsc);  // leaves the screen
       }},
      {"no field changed", [](platform::VirtualConsole& c) {
         for (int i = 0; i < 8; ++i) c.QueueKey(kEnter);
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(Run([&](platform::VirtualConsole& c) {
                NameMovement(c, "07052023", "2");
                test.screenThree(c);
                LeaveProgram(c);
              }),
              0);
    const auto all = Movements();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].order, 1);
    EXPECT_EQ(LinkedCounter("L1"), 41);
  }
}

// While screen 3 shows a new movement, the record that holds its key has no
// amount and no texts: only the key is taken (the list drew a movement with
// an amount into the buffer just before).
TEST_F(MovementFlow, ReservedRecordOfANewMovementHoldsNoExpense) {
  AddMovement({.property = 1, .date = "20230507", .order = 1, .expenseType = "AB", .comment = "Primer", .amount = 700,
               .taxRate = 1600, .document = 9});
  MovementValues reserved;
  int16_t status = -1;
  Run([&](platform::VirtualConsole& c) {
    NameMovement(c, "07052023", "2");
    c.QueueAction([&] {
      // Reading the same key again leaves the program's current record as it was.
      ReadByKey(kMovementFile, 0, MovementRecord().Key(), 0, status);
      reserved.amount = MovementRecord().Amount();
      reserved.taxRate = MovementRecord().TaxRate();
      reserved.taxAmount = MovementRecord().TaxAmount();
      reserved.comment = MovementRecord().Comment();
      reserved.expenseType = MovementRecord().ExpenseType();
      reserved.statuses = MovementRecord().FirstStatus() + MovementRecord().SecondStatus();
      reserved.document = IsAllChar(MovementRecord().DocumentNumber(), 128) ? 0 : -1;
    });
    c.QueueKey(kEsc);
    LeaveProgram(c);
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(reserved.amount, 0);
  EXPECT_EQ(reserved.taxRate, 0);
  EXPECT_EQ(reserved.taxAmount, 0);
  EXPECT_EQ(reserved.comment, std::string(25, ' '));
  EXPECT_EQ(reserved.expenseType, "  ");
  EXPECT_EQ(reserved.statuses, "  ");
  EXPECT_EQ(reserved.document, 0);
  EXPECT_EQ(Movements().size(), 1u);
}

TEST_F(MovementFlow, ExistingMovementIsChangedKeptOrDeleted) {
  struct Case {
    const char* name;
    std::vector<std::string> fields;
    bool withEsc;
    int32_t amount;  // -1: deleted
  };
  const std::vector<Case> cases = {
      {"changed amount is saved", {"", "", "2500", "", "", "", "", ""}, false, 2500},
      {"Esc drops the change", {"", "", "2500"}, true, 1000},
      {"amount 0 deletes", {"", "", "0", "", "", "", "", ""}, false, -1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    AddMovement({.property = 1, .date = "20230508", .order = 3, .comment = "Existent", .amount = 1000, .document = 5});
    Run([&](platform::VirtualConsole& c) {
      NameMovement(c, "08052023", "3");
      FillMovement(c, test.fields);
      if (test.withEsc) {
        c.QueueKey(kEsc);
        c.QueueKey(kEsc);
      }
      LeaveProgram(c);
    });
    const auto found = FindMovement(1, "20230508", 3);
    if (test.amount < 0) {
      EXPECT_FALSE(found);
    } else {
      ASSERT_TRUE(found);
      EXPECT_EQ(found->amount, test.amount);
      EXPECT_EQ(found->document, 5);
      EXPECT_EQ(found->comment.substr(0, 8), "Existent");
    }
    EXPECT_EQ(LinkedCounter("L1"), 41);
    // Start the next case from an empty file.
    WithApplicationFiles(Root(), [] {
      int16_t status = 0;
      ReadByKey(kMovementFile, 0, "", +1, status);
      while (status == 0) {
        DeleteRecord(kMovementFile, status);
        ReadByKey(kMovementFile, 0, "", +1, status);
      }
    });
  }
}

// The tax is recomputed only when the amount or the rate is typed
// differently; a rate of 0 leaves no tax.
TEST_F(MovementFlow, TaxFollowsChangedAmountsAndRatesOnly) {
  struct Case {
    const char* name;
    std::vector<std::string> fields;
    int32_t tax;
  };
  const std::vector<Case> cases = {
      {"same amount retyped", {"", "Canviat", "11600", "", "", "", "", ""}, 1500},
      {"new amount at the stored rate", {"", "", "23200", "", "", "", "", ""}, 3200},
      {"rate 0", {"", "", "", "0", "", "", "", ""}, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    AddMovement({.property = 1, .date = "20230509", .order = 1, .comment = "Amb IVA", .amount = 11600,
                 .taxRate = 1600, .taxAmount = 1500, .document = 3});
    Run([&](platform::VirtualConsole& c) {
      NameMovement(c, "09052023", "1");
      FillMovement(c, test.fields);
      LeaveProgram(c);
    });
    const auto saved = FindMovement(1, "20230509", 1);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->taxAmount, test.tax);
    WithApplicationFiles(Root(), [] {
      int16_t status = 0;
      ReadByKey(kMovementFile, 0, MovementRecord().Key(), 0, status);
      ReadByKey(kMovementFile, 0, "", +1, status);
      if (status == 0) DeleteRecord(kMovementFile, status);
    });
  }
}

// A blank date takes the working date (7 May 2023) and the order field
// proposes the number after the date's last one, shown with four digits.
TEST_F(MovementFlow, BlankDateTakesTheWorkingDateAndProposesTheNextOrderNumber) {
  AddMovement({.property = 1, .date = "20230507", .order = 7, .amount = 100});
  AddMovement({.property = 1, .date = "20230508", .order = 9999, .amount = 100});
  // The order field is typed from blanks, so the proposal is what Enter there
  // keeps: the field's stored value.
  struct Case {
    const char* date;
    const char* proposed;
  };
  const std::vector<Case> cases = {{"", "8   "}, {"08052023", "    "}, {"09052023", "    "}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.date);
    std::string proposed, dateRow;
    Run([&](platform::VirtualConsole& c) {
      TypeField(c, "1");
      TypeField(c, test.date);
      c.QueueAction([&] {
        proposed = Form().Field(2, 2).FieldValue;
        dateRow = c.Row(24);
      });
      c.QueueKey(kEsc);
      c.QueueKey(kEsc);
      c.QueueKey(kEsc);
    });
    EXPECT_EQ(proposed, test.proposed);
    if (!*test.date) {
      EXPECT_EQ(dateRow.substr(0, 17), "Data:  7/5/2023  ");
    }
  }
  // Enter on the proposal opens movement 8 of the working date.
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "1");
    c.QueueKey(kEnter);
    c.QueueKey(kEnter);
    FillMovement(c, {"", "Proposat", "300", "", "", "", "", ""});
    LeaveProgram(c);
  });
  const auto saved = FindMovement(1, "20230507", 8);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 300);
  EXPECT_EQ(saved->document, 42);
}

TEST_F(MovementFlow, FieldsRefuseWhatTheirKindDoesNotAllow) {
  Run([&](platform::VirtualConsole& c) {
    NameMovement(c, "07052023", "1");
    TypeField(c, "");
    TypeField(c, "Refusats");
    TypeField(c, "12.5");  // refused: no decimals
    c.QueueKey(kCtrlY);
    TypeField(c, "11600");
    TypeField(c, "100");  // refused: above 99.99
    c.QueueKey(kCtrlY);
    TypeField(c, "16");
    for (int i = 0; i < 4; ++i) c.QueueKey(kEnter);
    LeaveProgram(c);
  });
  EXPECT_GE(Console().BeepCount(), 2);
  const auto saved = FindMovement(1, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->amount, 11600);
  EXPECT_EQ(saved->taxRate, 1600);
  EXPECT_EQ(saved->taxAmount, 1600);
}

// The counter comes from the linked record of the movement's own property,
// even after a property of kind "P" put another linked record into memory.
TEST_F(MovementFlow, DocumentNumberComesFromTheOwnPropertysLinkedRecord) {
  AddLinked("L2", "Altra comunitat", 500);
  AddProperty(2, "Pis 2n", "L1", 'P');
  AddProperty(3, "Local baixos", "L2");
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "2");
    c.QueueKey(kEsc);  // back to screen 1 after the header read L1
    c.QueueKey(kCtrlY);
    TypeField(c, "3");
    TypeField(c, "07052023");
    TypeField(c, "1");
    FillMovement(c, {"", "Local", "1000", "", "", "", "", ""});
    LeaveProgram(c);
  });
  const auto saved = FindMovement(3, "20230507", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->document, 501);
  EXPECT_EQ(LinkedCounter("L2"), 501);
  EXPECT_EQ(LinkedCounter("L1"), 41);
}

TEST_F(MovementFlow, CounterAtItsLastNumberWrapsToZero) {
  AddLinked("L9", "Ple", 99999999);
  AddProperty(9, "Comptador ple", "L9");
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "9");
    TypeField(c, "07052023");
    TypeField(c, "1");
    FillMovement(c, {"", "Ultim", "1000", "", "", "", "", ""});
    LeaveProgram(c);
  });
  EXPECT_EQ(LinkedCounter("L9"), 0);
}

TEST_F(MovementFlow, UnknownPropertyKeepsTheUserOnTheFirstScreen) {
  std::string header;
  Run([&](platform::VirtualConsole& c) {
    TypeField(c, "77");
    c.QueueAction([&] { header = c.Row(24); });
    c.QueueKey(kEsc);
  });
  EXPECT_EQ(header.find("Data:"), std::string::npos) << header;
  EXPECT_TRUE(Movements().empty());
}

}  // namespace
}  // namespace olm::testing
