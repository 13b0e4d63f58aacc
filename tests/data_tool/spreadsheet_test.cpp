// The exported files opened and saved again by a spreadsheet (LibreOffice,
// headless) import without loss: numbers lose their trailing zeros, codes
// their leading ones, and the records come back the same.

#include <cstdlib>

#include "data_tool_fixture.h"

namespace olm::datatool {
namespace {

bool HaveLibreOffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

TEST_F(DataToolTest, FilesSavedByASpreadsheetImportWithoutLoss) {
  if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice is not installed: the spreadsheet round trip was skipped";
  ASSERT_EQ(Import(Root(), SampleFiles()), 0) << err_.str();
  const std::string exported = ExportText(Root(), scratch_.Path() + "exported");
  const std::string saved = scratch_.Path() + "saved";
  const std::string convert =
      "cd " + scratch_.Path() + "exported && soffice --headless --norestore" +
      " -env:UserInstallation=file://" + scratch_.Path() + "profile" +
      " --infilter=CSV:44,34,76,1 --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1'" +
      " --outdir " + saved + " *.csv >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  std::vector<std::string> files;
  for (const char* name : {"expense-types", "linked-records", "properties", "movements"})
    files.push_back(saved + "/" + name + ".csv");
  EXPECT_NE(testing::ReadFile(files[3]), testing::ReadFile(scratch_.Path() + "exported/movements.csv"))
      << "the spreadsheet was expected to rewrite the numbers";
  const std::string fresh = MakeRoot("fresh");
  ASSERT_EQ(Import(fresh, files), 0) << err_.str();
  EXPECT_EQ(ExportText(fresh, scratch_.Path() + "again"), exported);
}

}  // namespace
}  // namespace olm::datatool
