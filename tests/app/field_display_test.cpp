// How a field's value is shown after its label, by the field's kind, on a
// form built in memory.

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "forms/form_definition.h"
#include "forms/hooks.h"

namespace olm::testing {
namespace {

struct DisplayCase {
  const char* name;
  int16_t kind;
  int16_t width;
  int16_t lineLength;
  int16_t trailWidth;
  int16_t flags;
  const char* choices;
  const char* value;
  std::vector<std::string> rows;  // what rows 2, 3, 4 show from column 5 on
};

TEST_F(AppTest, FieldValuesAreShownAsTheirKindSays) {
  const std::string blank20(20, ' ');
  const std::vector<DisplayCase> cases = {
      {"date", 1, 10, 0, 0, 0, "", "07052023", {"7/5/2023  "}},
      {"order number", 2, 4, 0, 0, 0, "", "8", {"0008"}},
      {"amount", 3, 10, 0, 0, 0, "", "11600", {"    116'00"}},
      {"document number", 6, 8, 0, 0, 0, "", "42", {"00000042"}},
      {"rate", 7, 6, 0, 0, 0, "", "16.5", {"16'50%"}},
      {"three digits", 83, 3, 0, 0, 0, "", "7", {"  7"}},
      {"choice", 0, 1, 0, 5, 0, "|P,Pendent|C,Comptabilitzat", "C", {"Compta"}},
      {"choice without a match", 0, 1, 0, 5, 0, "|P,Pendent|C,Comptabilitzat", "X", {"      "}},
      {"hidden", 0, 4, 0, 0, 2, "", "ABCD", {"    "}},
      {"three lines",
       0,
       60,
       20,
       0,
       0,
       "",
       "aaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbcccccccccccccccccccc",
       {std::string(20, 'a'), std::string(20, 'b'), std::string(20, 'c')}},
  };
  for (const DisplayCase& test : cases) {
    SCOPED_TRACE(test.name);
    NewConsole();
    FormDefinition& form = Form();
    form.ScreenCount = 1;
    form.MaxFields = 1;
    form.Screens.resize(1);
    form.Screens[0].FieldCount = 1;
    form.Screens[0].Fields.resize(1);
    FieldDefinition& field = form.Screens[0].Fields[0];
    field.FieldRow = 2;
    field.FieldColumn = 1;
    field.FieldLabel = "Lab:";
    field.FieldWidth = test.width;
    field.FieldLineLength = test.lineLength;
    field.FieldTrailWidth = test.trailWidth;
    field.FieldFlags = test.flags;
    field.FieldKind = test.kind;
    field.FieldChoices = test.choices;
    field.FieldValue = std::string(test.value);
    field.FieldValue.resize(size_t(test.width), ' ');
    OnShowField(1, 1);
    for (size_t i = 0; i < test.rows.size(); ++i)
      EXPECT_EQ(Row(int(2 + i)).substr(4, test.rows[i].size()), test.rows[i]) << "row " << 2 + i;
    EXPECT_EQ(Row(int(2 + test.rows.size())).substr(4, 20), blank20);
  }
}

}  // namespace
}  // namespace olm::testing
