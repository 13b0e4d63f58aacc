#include "forms/field_editor.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/screen.h"
#include "console/windows.h"
#include "forms/exit_keys.h"
#include "forms_fixture.h"

namespace olm::testing {
namespace {

constexpr int kEnter = 0x0d, kEsc = 0x1b, kUp = 0x4800, kDown = 0x5000, kLeft = 0x4b00, kRight = 0x4d00;

struct EditResult {
  std::string text;
  int cursor;
  int key;
};

class FieldEditorTest : public FormsTest {
 protected:
  // Edits `text` at row 5, column 10 with the queued keys.
  EditResult Edit(std::string text, int cursor, const std::vector<int>& keys, int lineLength = 0) {
    for (int key : keys) Screen().QueueKey(key);
    int16_t row = 5, column = 10, length = int16_t(lineLength), position = int16_t(cursor), key = 0;
    EditField(row, column, length, text, position, key);
    return {text, position, key};
  }
};

TEST_F(FieldEditorTest, TextKeys) {
  struct Case {
    const char* what;
    bool insert;
    std::string text;
    int cursor;
    std::vector<int> keys;
    int lineLength;
    std::string text2;
    int cursor2;
    int key;
  } cases[] = {
      {"insert moves the rest right", true, "AB  ", 1, {'X', kEnter}, 0, "XAB ", 2, kEnter},
      {"insert into a full text does nothing", true, "ABCD", 1, {'X', kEnter}, 0, "ABCD", 1, kEnter},
      {"overwrite replaces", false, "ABCD", 2, {'x', 'y', kEnter}, 0, "AxyD", 4, kEnter},
      {"overwrite after the end does nothing", false, "ABCD", 5, {'X', kEnter}, 0, "ABCD", 5, kEnter},
      {"backspace deletes before the cursor", false, "ABCD", 3, {0x08, kEnter}, 0, "ACD ", 2, kEnter},
      {"delete at the cursor", false, "ABCD", 1, {0x5300, kEnter}, 0, "BCD ", 1, kEnter},
      {"end goes after the last non-blank", false, "AB  ", 1, {0x4f00, kEnter}, 0, "AB  ", 3, kEnter},
      {"home", false, "AB  ", 3, {0x4700, kEnter}, 0, "AB  ", 1, kEnter},
      {"ctrl+y clears", false, "AB  ", 3, {0x19, kEnter}, 0, "    ", 1, kEnter},
      {"ctrl+home clears", false, "AB  ", 3, {0x7700, kEnter}, 0, "    ", 1, kEnter},
      {"left stops at 1", false, "AB", 1, {kLeft, kEnter}, 0, "AB", 1, kEnter},
      {"right stops after the end", false, "AB", 3, {kRight, kEnter}, 0, "AB", 3, kEnter},
      {"ctrl+left from the end", false, "AB EF", 6, {0x7300, kEnter}, 0, "AB EF", 4, kEnter},
      {"ctrl+right from the start", false, "AB EF", 1, {0x7400, kEnter}, 0, "AB EF", 4, kEnter},
      {"ctrl+left over a leading blank", false, " AB", 3, {0x7300, kEnter}, 0, " AB", 1, kEnter},
      {"ctrl+left at 1 ends", false, "AB", 1, {0x7300}, 0, "AB", 1, 0x7300},
      {"ctrl+right after the end ends", false, "AB", 3, {0x7400}, 0, "AB", 3, 0x7400},
      {"up ends a one-line field", false, "AB", 2, {kUp}, 0, "AB", 2, kUp},
      {"down ends a one-line field", false, "AB", 2, {kDown}, 0, "AB", 2, kDown},
      {"shift+tab is reported as up", false, "AB", 1, {0x0f00}, 0, "AB", 1, kUp},
      {"tab is reported as enter", false, "AB", 1, {0x09}, 0, "AB", 1, kEnter},
      {"ctrl+f4 is reported as esc", false, "AB", 1, {0x6100}, 0, "AB", 1, kEsc},
      {"up moves a line up", false, std::string(20, 'a'), 13, {kUp, kEnter}, 10, std::string(20, 'a'), 3, kEnter},
      {"down moves a line down", false, std::string(20, 'a'), 3, {kDown, kEnter}, 10, std::string(20, 'a'), 13, kEnter},
      {"up on the first line ends", false, std::string(20, 'a'), 3, {kUp}, 10, std::string(20, 'a'), 3, kUp},
      {"down on the last line ends", false, std::string(20, 'a'), 13, {kDown}, 10, std::string(20, 'a'), 13, kDown},
  };
  for (const Case& c : cases) {
    SetInsertMode(c.insert);
    const EditResult result = Edit(c.text, c.cursor, c.keys, c.lineLength);
    EXPECT_EQ(result.text, c.text2) << c.what;
    EXPECT_EQ(result.cursor, c.cursor2) << c.what;
    EXPECT_EQ(result.key, c.key) << c.what;
  }
}

TEST_F(FieldEditorTest, ShowsTheTextInTheEditColoursAndTheCursorByMode) {
  Screen().QueueAction([&] {
    EXPECT_EQ(Screen().Row(5).substr(9, 4), "ABCD");
    EXPECT_EQ(Screen().RoleRow(5).substr(9, 4), "4444");
    EXPECT_EQ(Screen().CursorColumn(), 11);
    EXPECT_EQ(Screen().CursorSize(), 99);
  });
  Screen().QueueKey(0x5200);  // Insert
  Screen().QueueAction([&] { EXPECT_EQ(Screen().CursorSize(), 50); });
  Edit("ABCD", 2, {kEnter});
  EXPECT_TRUE(InsertMode());
  // The mode chosen holds for the next edit.
  EXPECT_EQ(Edit("AB  ", 1, {'X', kEnter}).text, "XAB ");
}

TEST_F(FieldEditorTest, TheExitKeyTableDecidesWhichKeysEndTheEdit) {
  SetExitKeys("ea", "d,1b,4f00=5100");
  EXPECT_EQ(Edit("AB", 1, {kEnter}).key, 0x5100) << "Enter ends as End, reported as End's key";
  SetExitKeys("e", "");
  EXPECT_EQ(Edit("AB", 1, {0x3f00}).key, 0x3f00) << "an empty table lets any key end the edit";
  SetExitKeys("ea", "d,1b");
  const EditResult result = Edit("AB", 1, {0x3f00, 'x', kEsc});
  EXPECT_EQ(result.key, kEsc) << "F5 is ignored";
  EXPECT_EQ(result.text, "xB");
  SetExitKeys("ea", "4800=f00");
  EXPECT_EQ(Edit("AB", 1, {kUp}).key, 0x0f00);
}

TEST_F(FieldEditorTest, HiddenTypingShowsAsXAndIsNeverCopied) {
  SetExitKeys("h", "");
  Screen().SetClipboardText("before");
  Screen().QueueText("se");
  Screen().QueueAction([&] { EXPECT_EQ(Screen().Row(5).substr(9, 6), "XXXXXX"); });
  const EditResult result = Edit("      ", 1, {0x03, kEnter});
  EXPECT_EQ(result.text, "se    ");
  EXPECT_EQ(Screen().ClipboardText(), "before");
  SetExitKeys("v", "");
  Edit("  ab  ", 1, {0x03, kEnter});
  EXPECT_EQ(Screen().ClipboardText(), "ab");
}

TEST_F(FieldEditorTest, PasteWritesTheCleanedClipboardFromTheCursor) {
  Screen().SetClipboardText("  12\n34  ");
  EXPECT_EQ(Edit("abcdef", 1, {0x16, kEnter}).text, "1234ef");
  EXPECT_EQ(Edit("abcdef", 4, {0x16, kEnter}).text, "abc123") << "cut at the end of the field";
  Screen().SetClipboardText("   ");
  EXPECT_EQ(Edit("abcdef", 1, {0x16, kEnter}).text, "abcdef");
}

TEST_F(FieldEditorTest, ClicksMoveTheCursorOrEndTheEdit) {
  Screen().QueueMouseRelease(1, 5, 12);
  EXPECT_EQ(Edit("ABCDEF", 1, {kEnter}).cursor, 3);
  Screen().QueueMouseRelease(1, 7, 40);
  EXPECT_EQ(Edit("ABCDEF", 1, {}).key, -(40 * 100 + 7));
  // Inside a window the field's place is counted from the frame's corner.
  PushWindow(3, 5, 10, 40);
  Screen().QueueMouseRelease(1, 8, 17);  // row 5 + 3, column 10 + 5 + 2
  EXPECT_EQ(Edit("ABCDEF", 1, {kEnter}).cursor, 3);
  PopWindow();
}

TEST_F(FieldEditorTest, ChoiceLists) {
  SetEditChoices("|1,Un|2,Dos|3,Tres");
  Screen().QueueAction([&] {
    EXPECT_EQ(Screen().Row(5).substr(8, 6), "\x11" "Dos \x10") << "markers around the widest description";
    EXPECT_EQ(Screen().CursorSize(), 0);
  });
  EXPECT_EQ(Edit("2", 1, {kEnter}).text, "2") << "starts at the item of the field's code";
  EXPECT_EQ(Screen().Row(5).substr(8, 1), " ") << "markers removed";
  EXPECT_EQ(Edit("3", 1, {kRight, kEnter}).text, "1") << "right from the last wraps";
  EXPECT_EQ(Edit("1", 1, {kLeft, kEnter}).text, "3");
  EXPECT_EQ(Edit("1", 1, {'t', kEnter}).text, "3") << "a letter picks the next item it starts";
  EXPECT_EQ(Edit("1", 1, {'z', kEnter}).text, "1");
  EXPECT_EQ(Edit("2", 1, {' ', kEnter}).text, "3");
  EXPECT_EQ(Edit("2", 1, {kUp}).key, kUp) << "up always ends";
  EXPECT_EQ(Edit("1 ", 1, {kEnter}).text, "1 ") << "a shorter code never matches: first item";
  Screen().QueueMouseRelease(1, 5, 14);  // the right marker
  EXPECT_EQ(Edit("1", 1, {kEnter}).text, "2");
  Screen().QueueMouseRelease(1, 5, 11);  // on the description: key 0
  EXPECT_EQ(Edit("1", 1, {}).key, 0);
  Edit("2", 1, {0x03, kEnter});
  EXPECT_EQ(Screen().ClipboardText(), "Dos");
}

}  // namespace
}  // namespace olm::testing
