#include "text/date_display.h"

#include "regional_fixture.h"
#include "text/packed_digits.h"

namespace olm {
namespace {

using DateDisplay = testing::RegionalTest;

std::string Packed(const char* digits) { return PackDigits(digits); }

TEST_F(DateDisplay, ShowsTheExamplesInEveryStyleAndLanguage) {
  const struct {
    const char* language;
    const char* date;
    int16_t style;
    const char* parts;
    std::string expected;
  } cases[] = {
      {"CAT", "20230507", 0, "dma", "7/5/2023  "},
      {"CAT", "20230507", 1, "dma", "7/mai/2023 "},
      {"GLG", "20230507", 1, "dma", "7/mai/2023 "},
      {"OCI", "20230507", 1, "dma", "7/mai/2023 "},
      {"SPA", "20230507", 1, "dma", "7/may/2023 "},
      {"CAT", "20230507", 2, "dma", "7 de maig del 2023"},
      {"SPA", "20230507", 2, "dma", "7 de mayo de 2023"},
      {"GLG", "20230507", 2, "dma", "7 de maio do 2023"},
      {"OCI", "20230507", 2, "dma", "7 de mai deth 2023"},
      {"CAT", "20230407", 2, "dma", "7 d'abril del 2023"},
      {"CAT", "20230815", 2, "dma", "15 d'agost del 2023"},
      {"CAT", "20231001", 2, "dma", "1 d'octubre del 2023"},
      {"OCI", "20230401", 2, "dma", "1 d'abriu deth 2023"},
      {"OCI", "20231001", 2, "dma", "1 d'octobre deth 2023"},
      {"SPA", "20230401", 2, "dma", "1 de abril de 2023"},   // Spanish has no elided form
      {"GLG", "20230801", 2, "dma", "1 de agosto do 2023"},
      {"CAT", "20230307", 2, "dma", "7 de mar\x87 del 2023"},
      {"OCI", "20230107", 1, "dma", "7/g\x8ar/2023 "},
      {"CAT", "20230507", 2, "m", "maig"},
      {"CAT", "20230507", 0, "m", "5 "},
      {"CAT", "20230507", 0, "dm", "7/5  "},                 // width 1 + 2 + 2
      {"CAT", "20231225", 0, "DMA", "25/12/2023"},
      {"CAT", "20230507", -1, "", "2023-05-07"},
      {"CAT", "20230507", -1, "m", "2023-05-07"},            // the parts do not matter
      {"CAT", "00000000", 0, "dma", std::string(10, ' ')},
      {"CAT", "00000000", 1, "dma", std::string(11, ' ')},
      {"CAT", "00000000", 2, "dma", ""},
      {"CAT", "20230000", 0, "dma", std::string(10, ' ')},   // a year alone shows nothing
      {"CAT", "20231307", 2, "dma", "7 de  del 2023"},       // no name beyond December
      {"CAT", "20230007", 1, "dma", "7/   /2023 "},           // nor for month 0
  };
  for (const auto& c : cases) {
    Session().Language = c.language;
    EXPECT_EQ(FormatDate(Packed(c.date), c.style, c.parts), c.expected)
        << c.language << " " << c.date << " style " << c.style << " parts " << c.parts;
  }
}

TEST_F(DateDisplay, FollowsTheRegionalOrderAndSeparator) {
  const struct {
    const char* settings;
    std::string expected;  // the 7th of May 2023, style 0, parts "dma"
  } cases[] = {
      {"DatOrdre=AMD\r\nDatCaracter=-\r\n", "2023-5-7  "},
      {"DatOrdre=MDA\r\nDatCaracter=.\r\n", "5.7.2023  "},
      {"DatCaracter=-/\r\n", "7-5-2023  "},   // only the first character counts
      {"DatOrdre=amd\r\n", std::string(10, ' ')},  // small letters name no part
      {"DatOrdre=\r\nDatCaracter=\r\n", "7/5/2023  "},
      {"DatOrdre=A\r\n", "2023      "},  // "A  ": the blanks name no part
  };
  for (const auto& c : cases) {
    WriteUserSettings(c.settings);
    EXPECT_EQ(FormatDate(Packed("20230507"), 0, "dma"), c.expected) << c.settings;
  }
  WriteUserSettings("DatOrdre=AMD\r\n");
  Session().Language = "CAT";
  EXPECT_EQ(FormatDate(Packed("20230507"), 2, "dma"), "2023 de maig del 7");
}

TEST_F(DateDisplay, ReadsTheSettingsOnceAndDefaultsWithoutAFile) {
  EXPECT_EQ(FormatDate(Packed("20230507"), 0, "dma"), "7/5/2023  ");
  WriteUserSettings("DatCaracter=-\r\n");
  EXPECT_EQ(FormatDate(Packed("20230507"), 0, "dma"), "7-5-2023  ");
  testing::WriteFile("Vorn.ini", "[Usuari]\r\nDatCaracter=.\r\n");  // edited while running
  EXPECT_EQ(FormatDate(Packed("20230507"), 0, "dma"), "7-5-2023  ");
}

}  // namespace
}  // namespace olm
