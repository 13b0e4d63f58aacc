#include "console/screen.h"

#include "console_fixture.h"

namespace olm::testing {
namespace {

using ScreenLayerTest = ConsoleTest;

TEST_F(ScreenLayerTest, SetColourSelectsRolesAndRestoresSavedOnes) {
  struct Case {
    const char* command;
    int16_t role;
  };
  const Case cases[] = {
      {"h", 0}, {"n", 1}, {"rh", 2}, {"r", 2}, {"rn", 3}, {"u", 4}, {"ur", 4}, {"URN", 4}, {"N", 1},
  };
  for (const Case& c : cases) {
    SetColour("rn");
    SetColour(c.command);
    EXPECT_EQ(CurrentColourRole(), c.role) << c.command;
    const auto& pair = Session().Colours[static_cast<size_t>(c.role)];
    EXPECT_EQ(CurrentAttribute(), pair[0] + 16 * pair[1]) << c.command;
  }

  SetColour("u");
  SetColour("");
  SetColour("   ");
  EXPECT_EQ(CurrentColourRole(), 4) << "blank commands change nothing";

  SetColour("n");
  SetColour("+rh");
  SetColour("+u");
  EXPECT_EQ(CurrentColourRole(), 4);
  SetColour("-");
  EXPECT_EQ(CurrentColourRole(), 2);
  SetColour("-");
  EXPECT_EQ(CurrentColourRole(), 1);
  EXPECT_EQ(CurrentAttribute(), 7);
  SetColour("-");
  EXPECT_EQ(CurrentColourRole(), 0) << "an empty stack gives role 0";
  EXPECT_EQ(CurrentAttribute(), 15);
}

TEST_F(ScreenLayerTest, WritingClipsAtTheRightEdgeAndNeverScrolls) {
  SetColour("n");
  SetCursorPosition(25, 78);
  WriteText("ABCDE");
  EXPECT_EQ(Screen().Row(25).substr(77), "ABC");
  EXPECT_EQ(CursorColumn(), 81);
  EXPECT_EQ(Screen().CursorColumn(), 80);
  WriteText("Z");
  EXPECT_EQ(Screen().Row(25).substr(77), "ABC") << "a write past the edge does not land on column 80";
  EXPECT_EQ(Screen().Row(24), std::string(80, ' '));

  SetCursorPosition(1, 1);
  WriteText("top");
  NewLine();
  EXPECT_EQ(CursorRow(), 2);
  EXPECT_EQ(CursorColumn(), 1);
  SetCursorPosition(25, 5);
  NewLine();
  EXPECT_EQ(CursorRow(), 25);
  EXPECT_EQ(Screen().Row(24).substr(77), "ABC") << "a new line on the last row scrolls up";
  EXPECT_EQ(Screen().Row(1).substr(0, 3), "   ");
}

TEST_F(ScreenLayerTest, ChoiceMarkersAreStoredAsTheirGlyphBytes) {
  SetCursorPosition(3, 1);
  WriteConsoleCharacter(U'\u25C4');
  WriteConsoleCharacter(U'\u25BA');
  WriteConsoleCharacter(U'\u00E7');
  EXPECT_EQ(Screen().Row(3).substr(0, 3), "\x11\x10\x87");
  EXPECT_EQ(Screen().RowUtf8(3).substr(0, 8), "\u25C4\u25BA\u00E7");
}

TEST_F(ScreenLayerTest, ScrollRectangleMovesOnlyTheRectangle) {
  SetColour("h");
  for (int16_t row = 1; row <= 5; ++row) {
    SetCursorPosition(row, 1);
    WriteText(std::string(6, static_cast<char>('0' + row)));
  }
  SetColour("u");
  ScrollRectangle(2, 2, 4, 5, 1);
  EXPECT_EQ(Screen().Row(2).substr(0, 6), "233332");
  EXPECT_EQ(Screen().Row(3).substr(0, 6), "344443");
  EXPECT_EQ(Screen().Row(4).substr(0, 6), "4    4");
  EXPECT_EQ(Screen().RoleRow(4).substr(0, 6), "044440") << "freed cells in the current colours";
  ScrollRectangle(2, 2, 4, 5, -2);
  EXPECT_EQ(Screen().Row(2).substr(0, 6), "2    2");
  EXPECT_EQ(Screen().Row(3).substr(0, 6), "3    3");
  EXPECT_EQ(Screen().Row(4).substr(0, 6), "433334");
  EXPECT_EQ(Screen().Row(5).substr(0, 6), "555555");
}

TEST_F(ScreenLayerTest, CursorShapeAndClear) {
  SetCursorShape(100);
  EXPECT_EQ(Screen().CursorSize(), 99);
  SetCursorShape(0);
  EXPECT_EQ(Screen().CursorSize(), 0);
  SetColour("u");
  SetCursorPosition(7, 7);
  ClearScreen();
  EXPECT_EQ(Screen().RoleRow(25), std::string(80, '4'));
  EXPECT_EQ(CursorRow(), 1);
  EXPECT_EQ(CursorColumn(), 1);
}

TEST_F(ScreenLayerTest, LocateInWindowAndInnerBoundsFollowTheCurrentWindow) {
  LocateInWindow(1, 1);
  EXPECT_EQ(Screen().CursorRow(), 1);
  EXPECT_EQ(Screen().CursorColumn(), 1);
  EXPECT_EQ(WindowInnerTop(), 1);
  EXPECT_EQ(WindowInnerLeft(), 1);
  EXPECT_EQ(WindowInnerRight(), 80);

  SetWindowState(1, WindowRect{5, 20, 9, 40});
  LocateInWindow(1, 1);
  EXPECT_EQ(Screen().CursorRow(), 6);
  EXPECT_EQ(Screen().CursorColumn(), 21);
  EXPECT_EQ(WindowInnerTop(), 6);
  EXPECT_EQ(WindowInnerLeft(), 21);
  EXPECT_EQ(WindowInnerRight(), 39);
}

TEST_F(ScreenLayerTest, DrawWindowFrameDrawsTheFrameAndBlanksTheInside) {
  SetColour("h");
  for (int16_t row = 1; row <= 25; ++row) {
    SetCursorPosition(row, 1);
    WriteText(std::string(80, 'x'));
  }
  DrawWindowFrame(1);
  EXPECT_EQ(Screen().Row(5), std::string(80, 'x')) << "no frame without a window";

  SetWindowState(1, WindowRect{5, 20, 9, 40});
  SetColour("n");
  DrawWindowFrame(1);
  const std::string outside(19, 'x');
  EXPECT_EQ(Screen().RowUtf8(5), outside + "┌" + "───────────────────" + "┐" + std::string(40, 'x'));
  for (int row = 6; row <= 8; ++row) {
    EXPECT_EQ(Screen().RowUtf8(row), outside + "│" + std::string(19, ' ') + "│" + std::string(40, 'x'));
  }
  EXPECT_EQ(Screen().RowUtf8(9), outside + "└" + "───────────────────" + "┘" + std::string(40, 'x'));
  EXPECT_EQ(Screen().RoleRow(7), std::string(19, '0') + std::string(21, '1') + std::string(40, '0'));

  DrawWindowFrame(2);
  EXPECT_EQ(Screen().RowUtf8(5).substr(19, 9), "╔══");
  EXPECT_EQ(Screen().RowUtf8(9).substr(19, 9), "╚══");
  EXPECT_EQ(Screen().RowUtf8(7).substr(19, 3), "║");
  DrawWindowFrame(0);
  EXPECT_EQ(Screen().Row(5).substr(19, 21), std::string(21, ' '));
}

TEST_F(ScreenLayerTest, TextStackIsLastInFirstOutWithAnyBytes) {
  const std::string withZero("a\0b", 3);
  PushText("first");
  PushText(withZero);
  PushText("");
  EXPECT_EQ(PopText(), "");
  EXPECT_EQ(PopText(), withZero);
  EXPECT_EQ(PopText(), "first");
  EXPECT_EQ(PopText(), "") << "popping an empty stack gives the empty text";
}

}  // namespace
}  // namespace olm::testing
