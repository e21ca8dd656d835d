// Control characters and control sequences: cursor movement, erasing,
// inserting and deleting, colours, save and restore, lines and boxes, and
// sequences that are not ours shown as text.
#include <gtest/gtest.h>

#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

TEST(TerminalCursor, CursorPositionHomesAndClamps) {
  Session s;
  s.interpret("\x1b[5;10H");
  EXPECT_EQ(s.row(), 4);
  EXPECT_EQ(s.column(), 9);
  EXPECT_EQ(s.terminal.state().pageRow, 4);
  for (const char* home : {"\x1b[H", "\x1b[1;1H", "\x1b[0;0H", "\x1b[f"}) {
    s.interpret("\x1b[5;10H");
    s.interpret(home);
    EXPECT_EQ(s.row(), 0) << home;
    EXPECT_EQ(s.column(), 0) << home;
  }
  s.interpret("\x1b[99;200H");
  EXPECT_EQ(s.row(), 27);
  EXPECT_EQ(s.column(), 79);
  s.interpret("\x1b[3H");
  EXPECT_EQ(s.row(), 2);
  EXPECT_EQ(s.column(), 0);
  s.terminal.setChatMode(true);
  s.interpret("\x1b[99;1H");
  EXPECT_EQ(s.row(), 23);
}

TEST(TerminalCursor, RelativeMovesClamp) {
  Session s;
  s.interpret("\x1b[3;1H\x1b[5A");
  EXPECT_EQ(s.row(), 0);
  s.interpret("\x1b[B\x1b[B");
  EXPECT_EQ(s.row(), 2);
  s.interpret("\x1b[0B");
  EXPECT_EQ(s.row(), 2);
  s.interpret("\x1b[100B");
  EXPECT_EQ(s.row(), 27);
  s.interpret("\x1b[10C\x1b[C");
  EXPECT_EQ(s.column(), 11);
  s.interpret("\x1b[200C");
  EXPECT_EQ(s.column(), 79);
  s.interpret("\x1b[3D");
  EXPECT_EQ(s.column(), 76);
  s.interpret("\x1b[300D");
  EXPECT_EQ(s.column(), 0);
}

TEST(TerminalCursor, VerticalMovesCarryThePageRowAlong) {
  Session s;
  for (int i = 0; i < 31; ++i) s.interpret("x\r\n");
  // Three lines past a full screen: row 27 of the window is row 3 of the new page.
  EXPECT_EQ(s.row(), 27);
  EXPECT_EQ(s.terminal.state().pageRow, 3);
  s.interpret("\x1b[2Aup");
  EXPECT_EQ(s.row(), 25);
  EXPECT_EQ(s.terminal.state().pageRow, 1);
  EXPECT_EQ(trimmed(s.pageRow(1)), "up");
  EXPECT_EQ(trimmed(s.windowRow(25)), "up");
  s.interpret("\x1b[9A");
  EXPECT_EQ(s.row(), 16);
  EXPECT_EQ(s.terminal.state().pageRow, 0);
  s.interpret("\x1b[5B");
  EXPECT_EQ(s.row(), 21);
  EXPECT_EQ(s.terminal.state().pageRow, 5);
}

TEST(TerminalCursor, MoveFlushesThePendingRunAtItsOwnPlace) {
  Session s;
  s.interpret("ab\x1b[3;5Hcd");
  EXPECT_EQ(trimmed(s.windowRow(0)), "ab");
  EXPECT_EQ(trimmed(s.windowRow(2)), "    cd");
  EXPECT_EQ(trimmed(s.grid(2)), "    cd");
}

TEST(TerminalCursor, SaveAndRestore) {
  Session s;
  s.interpret("\x1b[4;6H\x1b" "7\x1b[20;30H\x1b" "8X");
  EXPECT_EQ(s.row(), 3);
  EXPECT_EQ(s.column(), 6);
  EXPECT_EQ(s.windowRow(3)[5], 'X');
  s.interpret("\x1b[2;2H\x1b[s\x1b[31;44m\x1b[10;10H\x1b[uY");
  EXPECT_EQ(s.row(), 1);
  EXPECT_EQ(s.canvas.window()[1][1].byte, 'Y');
  EXPECT_EQ(s.canvas.window()[1][1].text, kText);
  EXPECT_EQ(s.canvas.window()[1][1].background, kBack);
}

TEST(TerminalControls, BackspaceBlanksTwoCellsInTheBackgroundColour) {
  Session s;
  s.interpret("\xb0\x41" "c\x08");
  EXPECT_EQ(s.column(), 2);
  EXPECT_EQ(trimmed(s.grid(0)), "\xb0\x41");
  EXPECT_EQ(s.windowRow(0).substr(0, 4), "\xb0\x41  ");
  s.interpret("\x08\x08\x08\x08");
  EXPECT_EQ(s.column(), 0);
  EXPECT_EQ(trimmed(s.windowRow(0)), "");
}

TEST(TerminalControls, BellBeepsAndAbandonsASequence) {
  Session s;
  s.interpret("\x1b[3\x07" "1m");
  EXPECT_EQ(s.host.beeps, 1);
  EXPECT_EQ(trimmed(s.windowRow(0)), "1m");
  EXPECT_EQ(s.terminal.state().textColour, kText);
}

TEST(TerminalControls, CarriageReturnAndLineFeedKeepColumnRules) {
  Session s;
  s.interpret("abc\ndef\rX");
  EXPECT_EQ(trimmed(s.grid(0)), "abc");
  EXPECT_EQ(trimmed(s.grid(1)), "X  def");
  EXPECT_EQ(trimmed(s.windowRow(1)), "X  def");
}

TEST(TerminalControls, EscapeFollowedByTextShowsTheText) {
  Session s;
  s.interpret("\x1bQ\x1b\x1b[2;1Hz");
  EXPECT_EQ(trimmed(s.windowRow(0)), "Q");
  EXPECT_EQ(s.windowRow(1)[0], 'z');
}

TEST(TerminalSequences, UnknownFinalsAreShownAsText) {
  Session s;
  s.interpret("\x1b[?7h");
  EXPECT_EQ(trimmed(s.windowRow(0)), "?7h");
  s.interpret("\r\n\x1b[14F");
  EXPECT_EQ(trimmed(s.windowRow(1)), "F");
  EXPECT_EQ(s.terminal.state().textColour, kText);
}

TEST(TerminalSequences, SequenceSplitAtEveryPointBehavesAsWhole) {
  const std::string whole = "ab\x1b[12;34H\x1b[=14F\xb0\x41\x1b[31;44mcd";
  Session reference;
  reference.interpret(whole);
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    Session s;
    s.receive(whole.substr(0, cut));
    s.receive(whole.substr(cut));
    EXPECT_EQ(s.grid(11), reference.grid(11)) << cut;
    EXPECT_EQ(s.windowRow(11), reference.windowRow(11)) << cut;
    EXPECT_EQ(s.terminal.state().textColour, reference.terminal.state().textColour) << cut;
    EXPECT_EQ(s.terminal.state().backgroundColour, reference.terminal.state().backgroundColour) << cut;
    EXPECT_EQ(s.canvas.window()[11][33].text, reference.canvas.window()[11][33].text) << cut;
  }
}

TEST(TerminalSequences, MoreThanTenParametersAreIgnored) {
  Session s;
  s.interpret("\x1b[1;1;1;1;1;1;1;1;1;1;1;1;31;44m");
  // The eleventh and later parameters never reach a slot; the sequence still ends.
  EXPECT_EQ(s.terminal.state().textColour, kText);
  EXPECT_FALSE(s.terminal.state().sequence);
  s.interpret("\x1b[99999999999999999;5H");
  EXPECT_EQ(s.row(), 27);
  EXPECT_EQ(s.column(), 4);
}

TEST(TerminalErase, EraseInLineModes) {
  Session s;
  s.interpret(std::string(80, 'x') + "\x1b[1;10H\x1b[K");
  EXPECT_EQ(trimmed(s.grid(0)), std::string(9, 'x'));
  EXPECT_EQ(trimmed(s.windowRow(0)), std::string(9, 'x'));
  s.interpret("\x1b[2;1H" + std::string(50, 'y') + "\x1b[2;10H\x1b[1K");
  EXPECT_EQ(s.grid(1).substr(0, 11), std::string(10, ' ') + "y");
  EXPECT_EQ(s.windowRow(1).substr(0, 11), std::string(10, ' ') + "y");
  s.interpret("\x1b[2K");
  EXPECT_EQ(trimmed(s.grid(1)), "");
  EXPECT_EQ(trimmed(s.windowRow(1)), "");
  s.interpret("\x1b[3;1Hzz\x1b[3;1H\x1b[5K");
  EXPECT_EQ(trimmed(s.grid(2)), "zz");
}

TEST(TerminalErase, EraseInDisplayBelowAndAbove) {
  Session s;
  for (int r = 0; r < 5; ++r) s.interpret("line" + std::to_string(r) + "\r\n");
  s.interpret("\x1b[3;3H\x1b[J");
  EXPECT_EQ(trimmed(s.grid(1)), "line1");
  EXPECT_EQ(trimmed(s.grid(2)), "li");
  EXPECT_EQ(trimmed(s.grid(3)), "");
  EXPECT_EQ(trimmed(s.windowRow(2)), "li");
  EXPECT_EQ(trimmed(s.windowRow(3)), "");
  EXPECT_EQ(trimmed(s.pageRow(3)), "");
  s.interpret("\x1b[2;2H\x1b[1J");
  EXPECT_EQ(trimmed(s.grid(0)), "");
  EXPECT_EQ(trimmed(s.grid(1)), "  ne1");
  EXPECT_EQ(trimmed(s.windowRow(1)), "  ne1");
}

TEST(TerminalErase, ClearScreenHomesAndAppendsAPage) {
  Session s;
  s.interpret("junk\x1b[5;5Hmore");
  int pages = s.terminal.pages().count();
  s.interpret("\x1b[2Jtop");
  EXPECT_EQ(s.terminal.pages().count(), pages + 1);
  EXPECT_EQ(s.row(), 0);
  EXPECT_EQ(trimmed(s.grid(0)), "top");
  EXPECT_EQ(trimmed(s.grid(4)), "");
  EXPECT_EQ(trimmed(s.windowRow(0)), "top");
  EXPECT_EQ(trimmed(s.windowRow(4)), "");
  s.interpret("\x0c" "ff");
  EXPECT_EQ(s.terminal.pages().count(), pages + 2);
  EXPECT_EQ(trimmed(s.windowRow(0)), "ff");
}

TEST(TerminalEdit, InsertAndDeleteLinesMoveThePictureNotTheGrid) {
  Session s;
  for (int r = 0; r < 4; ++r) s.interpret("row" + std::to_string(r) + "\r\n");
  s.interpret("\x1b[2;1H\x1b[2L");
  EXPECT_EQ(trimmed(s.windowRow(0)), "row0");
  EXPECT_EQ(trimmed(s.windowRow(1)), "");
  EXPECT_EQ(trimmed(s.windowRow(2)), "");
  EXPECT_EQ(trimmed(s.windowRow(3)), "row1");
  EXPECT_EQ(trimmed(s.pageRow(3)), "row1");
  EXPECT_EQ(trimmed(s.grid(1)), "row1");
  s.interpret("\x1b[M");
  EXPECT_EQ(trimmed(s.windowRow(2)), "row1");
  EXPECT_EQ(trimmed(s.windowRow(27)), "");
  // Counts beyond the screen clamp to the rows left.
  s.interpret("\x1b[27;1H\x1b[99M");
  EXPECT_EQ(trimmed(s.windowRow(26)), "");
  EXPECT_EQ(trimmed(s.windowRow(2)), "row1");
}

TEST(TerminalEdit, InsertAndDeleteCharacters) {
  Session s;
  s.interpret("abcdef\x1b[1;3H\x1b[2@");
  EXPECT_EQ(trimmed(s.windowRow(0)), "ab  cdef");
  EXPECT_EQ(trimmed(s.grid(0)), "abcdef");
  s.interpret("\x1b[3P");
  EXPECT_EQ(trimmed(s.windowRow(0)), "abdef");
  s.interpret("\x1b[1;1H\x1b[500P");
  EXPECT_EQ(trimmed(s.windowRow(0)), "");
}

TEST(TerminalEdit, PendingTextIsDrawnAfterANonFlushingFinal) {
  Session s;
  s.interpret("1234567890\x1b[1;3Hxy\x1b[2@");
  // "xy" waits in the run while the insertion opens cells at the cursor
  // (column 4); then "xy" is drawn at its own place, column 2.
  EXPECT_EQ(trimmed(s.windowRow(0)), "12xy  567890");
}

TEST(TerminalColours, SgrColoursAndReset) {
  Session s;
  s.interpret("\x1b[31;44mA");
  EXPECT_EQ(s.canvas.window()[0][0].text, rgb(255, 0, 0));
  EXPECT_EQ(s.canvas.window()[0][0].background, rgb(0, 0, 146));
  s.interpret("\x1b[0mB");
  EXPECT_EQ(s.canvas.window()[0][1].text, kText);
  EXPECT_EQ(s.canvas.window()[0][1].background, kBack);
  s.interpret("\x1b[32m\x1b[mC");
  EXPECT_EQ(s.canvas.window()[0][2].text, kText);
  s.interpret("\x1b[1;4;5mD");
  EXPECT_EQ(s.canvas.window()[0][3].text, kText);
}

TEST(TerminalColours, BareSgrResetsOnlyAfterAnSgrWithParameters) {
  Session s;
  s.interpret("\x1b[=14F\x1b[m");
  EXPECT_EQ(s.terminal.state().textColour, rgb(255, 255, 0));  // no SGR yet: nothing to undo
  EXPECT_TRUE(s.terminal.state().sgrSeen);
  s.interpret("\x1b[=14F\x1b[m");
  EXPECT_EQ(s.terminal.state().textColour, kText);
  EXPECT_FALSE(s.terminal.state().sgrSeen);
}

TEST(TerminalColours, ReverseThenResetReturnsToTheColoursBefore) {
  Session s;
  s.interpret("\x1b[33;42m\x1b[7mR");
  EXPECT_EQ(s.canvas.window()[0][0].text, rgb(0, 255, 0));
  EXPECT_EQ(s.canvas.window()[0][0].background, rgb(112, 32, 0));
  s.interpret("\x1b[0mN");
  EXPECT_EQ(s.canvas.window()[0][1].text, rgb(112, 32, 0));
  EXPECT_EQ(s.canvas.window()[0][1].background, rgb(0, 255, 0));
  s.interpret("\x1b[27m");
  EXPECT_EQ(s.terminal.state().textColour, rgb(112, 32, 0));
}

TEST(TerminalColours, PrivateColoursNeedTheEqualsSign) {
  Session s;
  s.interpret("\x1b[=14Fy\x1b[=1Gz");
  EXPECT_EQ(s.canvas.window()[0][0].text, rgb(255, 255, 0));
  EXPECT_EQ(s.canvas.window()[0][1].background, rgb(0, 0, 146));
  EXPECT_FALSE(s.terminal.state().privateFlag);
  s.interpret("\x1b[=Fw");
  EXPECT_EQ(s.canvas.window()[0][2].text, rgb(0, 0, 0));
  s.interpret("\x1b[=16F\x1b[=99G");  // outside the table: ignored
  EXPECT_EQ(s.terminal.state().textColour, rgb(0, 0, 0));
  EXPECT_EQ(s.terminal.state().backgroundColour, rgb(0, 0, 146));
}

TEST(TerminalColours, ColourCommandsChangeCurrentAndSavedColours) {
  Session s;
  s.terminal.setColours(kWhite, kBlue);
  s.interpret("\x1b[31m\x1b[uq");
  EXPECT_EQ(s.canvas.window()[0][0].text, kWhite);
  s.interpret("\x1b[32m\x1b[0m");
  EXPECT_EQ(s.terminal.state().textColour, kText);  // SGR 0 goes to the configured colours
}

TEST(TerminalLines, LinesAndBoxesFromTheCursorCellClipped) {
  Session s;
  s.interpret("\x1b[5;10H\x1b[1;3G\x1b[6;1G\x1b[4;2G\x1b[0;7O\x1b[1;2O\x1b[2;2O");
  auto& lines = s.canvas.lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].cells, 0);
  EXPECT_EQ(lines[0].rows, 3);
  EXPECT_EQ(lines[1].cells, 6);
  EXPECT_EQ(lines[1].rows, 0);
  EXPECT_TRUE(lines[2].box);
  EXPECT_EQ(lines[2].cells, 4);
  EXPECT_EQ(lines[2].rows, 2);
  EXPECT_EQ(lines[3].cells, 7);
  EXPECT_EQ(lines[4].rows, 2);
  EXPECT_EQ(lines[0].column, 9);
  EXPECT_EQ(lines[0].windowRow, 4);
  s.interpret("\x1b[28;80H\x1b[500;500G\x1b[1;99G");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5].cells, 6);
  EXPECT_EQ(lines[5].rows, 1);
  EXPECT_EQ(lines[6].rows, 1);
  s.interpret("\x1b[G\x1b[1G");  // nothing to draw
  EXPECT_EQ(lines.size(), 7u);
}

}  // namespace
}  // namespace kesta::session::testing
