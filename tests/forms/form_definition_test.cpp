#include "forms/form_definition.h"

#include <gtest/gtest.h>

#include "forms/form_file_failure.h"
#include "forms_fixture.h"
#include "session/program_end.h"
#include "text/packed_digits.h"

namespace olm::testing {
namespace {

class FormDefinitionTest : public FormsTest {};

// Two screens (the second with a date field first), one browse list.
const char* const kSmallForm =
    "' header\r\n"
    "2,3\r\n"
    "' screen 1\r\n"
    "\"1b,d\",2,0,0,0,0,0\r\n"
    "2,1,\"Nom: \",12,0,5,1,7,1,\"\"\r\n"
    "3,1,\"Tipus: \",1,0,0,0,0,0,\"|1,U, un|2,Dos\"\r\n"
    "'   screen 2, in a window\r\n"
    "\"1b\",1,0,5,10,15,60\r\n"
    "1,2,\"Data: \",10,0,0,0,0,0,\"\"\r\n"
    "' browse lists\r\n"
    "1\r\n"
    "' 1\r\n"
    "0,0,3,20,20,59,0,\"CODI_NOM\",0\r\n";

TEST_F(FormDefinitionTest, ReadsScreensFieldsAndBrowseListsSkippingCommentsWhereAllowed) {
  UseForm(kSmallForm);
  const FormDefinition& form = Form();
  EXPECT_EQ(form.ScreenCount, 2);
  EXPECT_EQ(form.MaxFields, 3);
  EXPECT_EQ(form.BrowseCount, 1);
  EXPECT_EQ(Form().Screen(1).ScreenKeys, "1b,d");
  EXPECT_EQ(Form().Screen(1).FieldCount, 2);
  const FieldDefinition& name = Form().Field(1, 1);
  EXPECT_EQ(name.FieldRow, 2);
  EXPECT_EQ(name.FieldLabel, "Nom: ");
  EXPECT_EQ(name.FieldWidth, 12);
  EXPECT_EQ(name.FieldTrailWidth, 5);
  EXPECT_EQ(name.FieldFlags, 1);
  EXPECT_EQ(name.FieldKind, 7);
  EXPECT_EQ(name.FieldBrowse, 1);
  EXPECT_EQ(name.FieldValue, std::string(12, ' '));
  EXPECT_EQ(Form().Field(1, 2).FieldChoices, "|1,U, un|2,Dos");
  EXPECT_EQ(Form().Screen(2).ScreenWindow, (std::array<int16_t, 4>{5, 10, 15, 60}));
  const BrowseDefinition& list = Form().Browse(1);
  EXPECT_EQ(list.Top, 3);
  EXPECT_EQ(list.Right, 59);
  EXPECT_EQ(list.Title, "CODI_NOM");
}

TEST_F(FormDefinitionTest, ACommentBetweenFieldsIsReadAsData) {
  UseForm(
      "1,2\n\"d\",2,0,0,0,0,0\n"
      "2,1,\"A: \",3,0,0,0,0,0,\"\"\n"
      "3,1\n"
      "'B: \n"
      "3,0,0,0,0,0,\"\"\n"
      "0\n");
  EXPECT_EQ(Form().Field(1, 2).FieldLabel, "'B: ");
  EXPECT_EQ(Form().Field(1, 2).FieldWidth, 3);
}

TEST_F(FormDefinitionTest, BlankLinesAndLineFeedOnlyLinesAreAccepted) {
  UseForm(
      "\n1,1\n\n  \n\"d\",1,0\n\n0,0,0,0\n"
      "2,1,\"A: \",3.6,0,0,0,0,0,\"\"\n\n0\n");
  EXPECT_EQ(Form().Field(1, 1).FieldWidth, 4);  // rounded
  EXPECT_EQ(Form().Field(1, 1).FieldLabel, "A: ");
}

TEST_F(FormDefinitionTest, AFileEndingInsideAScreenLeavesTheRestEmpty) {
  UseForm("2,3\n\"d\",3,0,0,0,0,0\n2,1,\"A: \",3,0,0,0,0,0,\"\"\n4,1,\"B: \",-5");
  EXPECT_EQ(Form().ScreenCount, 2);
  EXPECT_EQ(Form().Screen(1).FieldCount, 3);
  EXPECT_EQ(Form().Field(1, 1).FieldValue, "   ");
  EXPECT_EQ(Form().Field(1, 2).FieldLabel, "") << "a field cut off is left blank";
  EXPECT_EQ(Form().Field(1, 2).FieldRow, 0);
  EXPECT_EQ(Form().Field(1, 3).FieldLabel, "");
  EXPECT_EQ(Form().Field(1, 3).FieldWidth, 0);
  EXPECT_EQ(Form().Screen(2).FieldCount, 0);
}

TEST_F(FormDefinitionTest, AccessOutsideTheTablesGivesABlankEntry) {
  UseForm(kSmallForm);
  for (auto [screen, field] : {std::pair<int16_t, int16_t>{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, -1}, {2, 2}}) {
    FieldDefinition& blank = Form().Field(screen, field);
    EXPECT_EQ(blank.FieldWidth, 0);
    blank.FieldValue = "written";  // lands in the blank entry, not in a real field
  }
  EXPECT_EQ(Form().Field(5, 5).FieldValue, "");
  EXPECT_EQ(Form().Screen(9).FieldCount, 0);
  EXPECT_EQ(Form().Browse(2).Title, "");
  EXPECT_EQ(Form().Field(1, 1).FieldValue, std::string(12, ' '));
}

TEST_F(FormDefinitionTest, LabelsChoicesAndTitlesAreTranslated) {
  WriteFile(scratch_.Path() + "LOCALE/TRELUNAX.LNG",
            "\"Nom: \",\"Nome: \",\"Nom: \",\"Nombre: \"\r\n"
            "\"|1,U, un|2,Dos\",\"x\",\"y\",\"|1,Uno|2,Dos\"\r\n"
            "\"CODI_NOM\",\"a\",\"b\",\"COD_NOMBRE\"\r\n");
  Session().Language = "SPA";
  UseForm(kSmallForm);
  EXPECT_EQ(Form().Field(1, 1).FieldLabel, "Nombre: ");
  EXPECT_EQ(Form().Field(1, 2).FieldChoices, "|1,Uno|2,Dos");
  EXPECT_EQ(Form().Browse(1).Title, "COD_NOMBRE");
}

// Each broken limit is refused with the line of the value that breaks it.
TEST_F(FormDefinitionTest, AFileBreakingItsLimitsIsRefusedWithTheLine) {
  const std::string field = "2,1,\"A: \",3,0,0,0,0,0,\"\"\n";
  const std::string list = "1\n0,0,3,20,20,59,0,\"T\",0\n";
  struct Case {
    const char* what;
    std::string text;
    int line;
  } cases[] = {
      {"negative screen count", "-1,1\n", 1},
      {"field count above the largest", "1,1\n\"d\",2,0,0,0,0,0\n" + field + field + list, 2},
      {"next screen out of range", "1,1\n\"d\",1,2,0,0,0,0\n" + field + list, 2},
      {"window off the screen", "1,1\n\"d\",1,0\n5,10,26,60\n" + field + list, 3},
      {"field below the screen", "1,1\n\"d\",1,0,0,0,0,0\n26,1,\"A: \",3,0,0,0,0,0,\"\"\n" + list, 3},
      {"field past the last column", "1,1\n\"d\",1,0,0,0,0,0\n2,70,\"Label: \",10,0,0,0,0,0,\"\"\n" + list, 3},
      {"field at row 0", "1,1\n\"d\",1,0,0,0,0,0\n0,1,\"A: \",3,0,0,0,0,0,\"\"\n" + list, 3},
      {"field outside its window's screen", "1,1\n\"d\",1,0,20,1,24,80\n6,1,\"A: \",3,0,0,0,0,0,\"\"\n" + list, 3},
      {"negative width", "1,1\n\"d\",1,0,0,0,0,0\n2,1,\"A: \",-3,0,0,0,0,0,\"\"\n" + list, 3},
      {"browse number above the count", "1,1\n\"d\",1,0,0,0,0,0\n2,1,\"A: \",3,0,0,0,0,2,\"\"\n" + list, 3},
      {"browse number with no list at all", "1,1\n\"d\",1,0,0,0,0,0\n2,1,\"A: \",3,0,0,0,0,1,\"\"\n", 3},
      {"browse window too small", "1,1\n\"d\",1,0,0,0,0,0\n" + field + "1\n0,0,3,20,4,59,0,\"T\",0\n", 5},
      {"filter screen out of range", "1,1\n\"d\",1,0,0,0,0,0\n" + field + "1\n0,0,3,20,20,59\n2,\"T\",0\n", 6},
      {"nested list out of range", "1,1\n\"d\",1,0,0,0,0,0\n" + field + "1\n0,0,3,20,20,59,0,\"T\"\n2\n", 6},
      {"number beyond 16 bits", "1,1\n\"d\",40000,0,0,0,0,0\n", 2},
  };
  for (const Case& c : cases) {
    FormDefinition form;
    EXPECT_EQ(ReadFormDefinition(c.text, form), c.line) << c.what;
    EXPECT_EQ(form.ScreenCount, 0) << c.what << ": a refused form is left empty";
  }
}

TEST_F(FormDefinitionTest, LoadFormPutsTheWorkDateIntoTheDateField) {
  Session().WorkDate = PackDigits("20240315");
  struct Case {
    int width;
    std::string value;
  } cases[] = {{10, "150324    "}, {4, "1503"}};
  for (const Case& c : cases) {
    WriteFile(scratch_.Path() + "FORMS/TRELUNAX.QSC",
              "2,1\n\"d\",0,0,0,0,0,0\n\"d\",1,0,0,0,0,0\n2,1,\"Data: \"," + std::to_string(c.width) +
                  ",0,0,0,0,0,\"\"\n0\n");
    LoadForm();
    EXPECT_EQ(Form().Field(2, 1).FieldValue, c.value);
  }
}

// The program cannot run without its form: a box names the path (and the
// line), a key is awaited, the screen is given back and the program ends.
TEST_F(FormDefinitionTest, AMissingOrBrokenFormFileEndsTheProgramAfterAMessage) {
  const std::string path = scratch_.Path() + "FORMS\\TRELUNAX.QSC";
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt == 1) WriteFile(scratch_.Path() + "FORMS/TRELUNAX.QSC", "1,1\n\"d\",2,0,0,0,0,0\n");
    const std::string expected = FormFileFailureText(path, attempt == 0 ? 0 : 2);
    bool boxShown = false;
    Screen().QueueAction([&] {
      std::string all;
      for (int row = 1; row <= 25; ++row) all += Screen().Row(row);
      const size_t head = all.find(expected.substr(0, 20));
      boxShown = head != std::string::npos;
    });
    Screen().QueueKey(0x0d);
    const int beeps = Screen().BeepCount();
    try {
      LoadForm();
      ADD_FAILURE() << "LoadForm returned";
    } catch (const ProgramEnd& end) {
      EXPECT_EQ(end.exitCode, 1);
    }
    EXPECT_TRUE(boxShown) << attempt;
    EXPECT_EQ(Screen().BeepCount(), beeps + 1);
    EXPECT_EQ(Screen().Row(12), std::string(80, ' '));
    EXPECT_FALSE(PathExists(scratch_.Path() + "tmp/WinPush.tmp"));
  }
  EXPECT_NE(FormFileFailureText("F", 7).find("7"), std::string::npos);
}

}  // namespace
}  // namespace olm::testing
