#include "console/windows.h"

#include "console/screen.h"
#include "console_fixture.h"

namespace olm::testing {
namespace {

class WindowStackTest : public ConsoleTest {
 protected:
  // Every cell different in character and colour, so that a restore that
  // misplaces or recolours a single cell shows.
  void FillScreen() {
    for (int row = 1; row <= 25; ++row) {
      for (int column = 1; column <= 80; ++column) {
        Screen().PutCell(row, column,
                         platform::Cell{static_cast<uint8_t>(33 + (row * 80 + column) % 200),
                                        static_cast<uint8_t>((row + column) % 256)});
      }
    }
  }
  // Each row as its characters and attributes, so that a failure shows the row.
  std::vector<std::string> Cells() {
    std::vector<std::string> rows;
    for (int row = 1; row <= 25; ++row) {
      std::string cells;
      for (int column = 1; column <= 80; ++column) {
        const platform::Cell cell = Screen().GetCell(row, column);
        cells += static_cast<char>(cell.character);
        cells += static_cast<char>(cell.attribute);
      }
      rows.push_back(cells);
    }
    return rows;
  }
};

TEST_F(WindowStackTest, NestedPushesAndPopsRestoreTheScreenExactly) {
  FillScreen();
  SetCursorPosition(3, 4);
  const auto original = Cells();

  PushWindow(5, 10, 15, 50);
  SetColour("n");
  DrawWindowFrame(2);
  LocateInWindow(1, 1);
  WriteText("outer");
  const auto withOuter = Cells();
  const int outerCursorColumn = CursorColumn();

  PushWindow(8, 20, 12, 60);
  EXPECT_EQ(WindowDepth(), 2);
  SetColour("u");
  DrawWindowFrame(1);
  LocateInWindow(1, 1);
  WriteText("inner");

  PopWindow();
  EXPECT_EQ(Cells(), withOuter);
  EXPECT_EQ(WindowDepth(), 1);
  EXPECT_EQ(CurrentWindow(), (WindowRect{5, 10, 15, 50}));
  EXPECT_EQ(CursorRow(), 6);
  EXPECT_EQ(CursorColumn(), outerCursorColumn);
  LocateInWindow(1, 1);
  EXPECT_EQ(Screen().CursorRow(), 6);
  EXPECT_EQ(Screen().CursorColumn(), 11);
  EXPECT_TRUE(PathExists(StackFile()));

  PopWindow();
  EXPECT_EQ(Cells(), original);
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_EQ(CurrentWindow(), WindowRect{});
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(CursorColumn(), 4);
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(WindowStackTest, ARecordHoldsNumbersCellsAndItsLength) {
  FillScreen();
  SetCursorPosition(7, 8);
  PushWindow(2, 3, 4, 12);
  const std::string file = ReadFile(StackFile());
  ASSERT_EQ(file.size(), 4u + 85u);
  EXPECT_EQ(file.substr(0, 4), std::string("\x5a\0\0\0", 4)) << "header 90";
  EXPECT_EQ(file.substr(4, 20), "07080000000002030412");
  EXPECT_EQ(file[24], static_cast<char>(Screen().GetCell(2, 3).character));
  EXPECT_EQ(file[25], static_cast<char>(Screen().GetCell(2, 3).attribute));
  EXPECT_EQ(file[24 + 58], static_cast<char>(Screen().GetCell(4, 12).character));
  EXPECT_EQ(file.substr(84), "00085");

  PushWindow(1, 1, 1, 1);
  const std::string nested = ReadFile(StackFile());
  ASSERT_EQ(nested.size(), 89u + 27u);
  EXPECT_EQ(static_cast<uint8_t>(nested[0]), 90 + 27);
  EXPECT_EQ(nested.substr(89, 20), "07080203041201010101") << "the enclosing window is the first one";
}

TEST_F(WindowStackTest, PopWithNothingPushedChangesNothing) {
  FillScreen();
  const auto original = Cells();
  PopWindow();
  EXPECT_EQ(Cells(), original);
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(WindowStackTest, AWindowOffTheScreenIsNotPushedAndItsPopKeepsTheOuterWindow) {
  FillScreen();
  PushWindow(5, 10, 15, 50);
  const auto withOuter = Cells();
  for (const WindowRect& bad : {WindowRect{0, 1, 5, 5}, WindowRect{20, 1, 26, 5}, WindowRect{1, 0, 5, 5},
                                WindowRect{1, 70, 5, 81}, WindowRect{9, 1, 5, 5}}) {
    PushWindow(bad.top, bad.left, bad.bottom, bad.right);
    EXPECT_EQ(WindowDepth(), 1);
    PopWindow();
    EXPECT_EQ(WindowDepth(), 1);
    EXPECT_EQ(CurrentWindow(), (WindowRect{5, 10, 15, 50}));
    EXPECT_EQ(Cells(), withOuter);
  }
  PopWindow();
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(WindowStackTest, WithoutAUsableStackFileTheScreenIsStillRestored) {
  Session().TempDir = "missing\\";
  FillScreen();
  const auto original = Cells();
  PushWindow(2, 2, 6, 30);
  PushWindow(4, 4, 8, 40);
  DrawWindowFrame(2);
  EXPECT_EQ(WindowDepth(), 2);
  PopWindow();
  EXPECT_EQ(CurrentWindow(), (WindowRect{2, 2, 6, 30}));
  DrawWindowFrame(1);
  PopWindow();
  EXPECT_EQ(Cells(), original);
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_FALSE(PathExists(scratch_.Path() + "missing"));
}

TEST_F(WindowStackTest, ADamagedStackFileIsDroppedWithoutDrawing) {
  FillScreen();
  const auto original = Cells();
  WriteFile(StackFile(), std::string("\x40\0\0\0", 4) + std::string(60, 'z'));
  PopWindow();
  EXPECT_EQ(Cells(), original);
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(WindowStackTest, MessageBoxIsCentredAndSizedByItsLines) {
  std::string text;
  for (int i = 0; i < 25; ++i) text += "abc ";  // 100 characters of words
  SetColour("n");
  ShowMessage(12, text);
  EXPECT_EQ(text.size(), 152u) << "two wrapped lines of 76";
  EXPECT_EQ(CurrentColourRole(), 1) << "the caller's colours come back";
  EXPECT_EQ(CurrentWindow(), (WindowRect{9, 1, 12, 79}));

  std::string first;
  for (int i = 0; i < 19; ++i) first += "abc ";
  first.pop_back();
  std::string border;
  for (int i = 0; i < 77; ++i) border += "─";
  EXPECT_EQ(Screen().RowUtf8(9), "┌" + border + "┐ ");
  EXPECT_EQ(Screen().Row(10), "\xB3 " + first + " \xB3 ");
  EXPECT_EQ(Screen().Row(11).substr(0, 26), "\xB3 abc abc abc abc abc abc ");
  EXPECT_EQ(Screen().RoleRow(10), std::string(79, '2') + "1");

  PopWindow();
  EXPECT_EQ(Screen().Row(10), std::string(80, ' '));
  EXPECT_FALSE(PathExists(StackFile()));
}

TEST_F(WindowStackTest, MessageTallerThanTheScreenShowsItsFirstLines) {
  std::string text;
  for (int i = 0; i < 30 * 19; ++i) text += "abc ";  // 30 lines
  ShowMessage(12, text);
  EXPECT_EQ(WindowDepth(), 1);
  EXPECT_EQ(CurrentWindow().top, 1);
  EXPECT_EQ(CurrentWindow().bottom, 25);
  EXPECT_EQ(Screen().Row(24).substr(0, 5), "\xB3 abc");
  PopWindow();
  EXPECT_EQ(WindowDepth(), 0);
  EXPECT_EQ(Screen().Row(1), std::string(80, ' '));
}

TEST(WrapTextTest, LinesAreBrokenBetweenWordsAndAligned) {
  struct Case {
    const char* text;
    int16_t indent;
    int16_t width;
    char alignment;
    const char* wrapped;
  };
  const Case cases[] = {
      {"abcdefghijkl", 0, 5, 'L', "abcdefghijkl   "},  // a word longer than the width is cut
      {"one two three", 0, 8, 'e', "one two three   "},
      {"abcdefghij", 0, 15, 'C', "  abcdefghij   "},
      {"abc", 0, 6, 'D', "   abc"},
      {"abc", 0, 6, 'R', "   abc"},
      {"abc", 0, 6, 'N', "abc---"},
      {"abc", 0, 6, 'x', "abc"},
      {"aa bb cc dd", 2, 8, 'L', "  aa bb cc dd   "},
      {"aa bb cc dd", -2, 5, 'L', "aa bb  cc   dd "},
      {"a b c dddd", 0, 7, 'A', "a  b c dddd"},  // the last line stays as it is
      {"aa b cc", 0, 6, 'B', "aa  b cc"},
      {"\x1e" "bold\x1e rest", 0, 4, 'L', "\x1e" "bold\x1erest"},  // control bytes take no room
      {"", 0, 10, 'L', ""},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    WrapText(text, c.indent, c.width, c.alignment);
    EXPECT_EQ(text, c.wrapped) << '"' << c.text << "\" " << c.indent << ' ' << c.width << ' ' << c.alignment;
  }
}

}  // namespace
}  // namespace olm::testing
