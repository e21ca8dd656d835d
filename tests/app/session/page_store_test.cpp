// Line feeds, the page store behind them, repainting with and without the
// chat window, and the scroll region with its history pages.
#include <gtest/gtest.h>

#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

TEST(TerminalScroll, LineFeedOnTheLastRowShowsTheTapeAndKeepsTheLostLine) {
  Session s;
  for (int i = 0; i < 28; ++i) s.interpret("L" + std::to_string(i) + (i < 27 ? "\r\n" : ""));
  EXPECT_EQ(s.row(), 27);
  s.interpret("\r\nnew");
  EXPECT_EQ(s.row(), 27);
  EXPECT_EQ(s.terminal.state().displayOffset, 1);
  EXPECT_EQ(s.terminal.pages().count(), 2);
  for (int r = 0; r < 27; ++r) EXPECT_EQ(trimmed(s.windowRow(r)), "L" + std::to_string(r + 1)) << r;
  EXPECT_EQ(trimmed(s.windowRow(27)), "new");
  EXPECT_EQ(trimmed(s.grid(0)), "L1");
  EXPECT_EQ(trimmed(s.grid(27)), "new");
  // The line that scrolled off is still on the previous page.
  auto* previous = s.terminal.pages().current()->previous;
  EXPECT_EQ(trimmed(CellCanvas::text((*s.canvas.page(previous->page))[0])), "L0");
}

TEST(TerminalScroll, WindowFollowsTheTapeAcrossManyPages) {
  Session s;
  s.interpret(lines(0, 100) + "end");
  // Rows 0..26 show L73..L99, row 27 "end".
  for (int r = 0; r < 27; ++r) EXPECT_EQ(trimmed(s.windowRow(r)), "L" + std::to_string(73 + r)) << r;
  EXPECT_EQ(trimmed(s.windowRow(27)), "end");
  for (int r = 0; r < 28; ++r) EXPECT_EQ(trimmed(s.grid(r)), trimmed(s.windowRow(r))) << r;
}

TEST(TerminalScroll, OnlyNinePagesAreKeptAndTheOldestGoes) {
  Session s;
  s.interpret(lines(0, 300));
  EXPECT_EQ(s.terminal.pages().count(), PageStore::kKeptPages);
  EXPECT_EQ(s.canvas.pageCount(), static_cast<std::size_t>(PageStore::kKeptPages));
  // Page k of the tape holds lines 28k to 28k+27; line 300 (the cursor's) is
  // on page 10, so pages 2 to 10 remain and the oldest begins with line 56.
  PageStore& pages = s.terminal.pages();
  PageStore::Node* oldest = pages.head()->next;
  EXPECT_EQ(trimmed(CellCanvas::text((*s.canvas.page(oldest->page))[0])), "L56");
  EXPECT_EQ(trimmed(CellCanvas::text((*s.canvas.page(oldest->page))[27])), "L83");
  EXPECT_EQ(pages.tail()->previous, pages.current());
}

TEST(TerminalScroll, PreviousAndNextPageStopAtTheEnds) {
  Session s;
  s.interpret(lines(0, 60));
  PageStore& pages = s.terminal.pages();
  PageStore::Node* newest = pages.current();
  for (int i = 0; i < 20; ++i) pages.previousPage();
  EXPECT_EQ(pages.current(), pages.head()->next);
  for (int i = 0; i < 20; ++i) pages.nextPage();
  EXPECT_EQ(pages.current(), newest);
}

TEST(TerminalScroll, ChatWindowShowsTwentyFourRows) {
  Session s;
  s.terminal.setChatMode(true);
  s.interpret(lines(0, 25) + "x");
  EXPECT_EQ(s.row(), 23);
  EXPECT_EQ(s.terminal.state().displayOffset, 2);
  // Display offset 2 with the chat window: rows 2 to 25 of the current page.
  for (int r = 0; r < 23; ++r) EXPECT_EQ(trimmed(s.windowRow(r)), "L" + std::to_string(r + 2)) << r;
  EXPECT_EQ(trimmed(s.windowRow(23)), "x");
  EXPECT_EQ(trimmed(s.pageRow(25)), "x");
  // Past the end of the page the window joins the previous page and the current one.
  s.interpret("\r\n" + lines(100, 110) + "y");
  for (int r = 0; r < 24; ++r) EXPECT_EQ(trimmed(s.windowRow(r)), trimmed(s.grid(r))) << r;
}

TEST(TerminalScroll, NewPagesTakeTheBackgroundColourOfTheirMoment) {
  Session s;
  s.interpret("\x1b[=1G\x1b[2J");
  EXPECT_EQ(s.currentPage()[10][40].background, rgb(0, 0, 146));
  EXPECT_EQ(s.canvas.window()[10][40].background, rgb(0, 0, 146));
}

TEST(TerminalRegion, LineFeedAtTheRegionBottomScrollsOnlyTheRegion) {
  Session s;
  s.interpret("head\x1b[2;4r\x1b[2;1Ha\r\nb\r\nc\r\nd\x1b[6;1Hfoot");
  EXPECT_EQ(trimmed(s.grid(0)), "head");
  EXPECT_EQ(trimmed(s.grid(1)), "b");
  EXPECT_EQ(trimmed(s.grid(2)), "c");
  EXPECT_EQ(trimmed(s.grid(3)), "d");
  EXPECT_EQ(trimmed(s.windowRow(0)), "head");
  EXPECT_EQ(trimmed(s.windowRow(1)), "b");
  EXPECT_EQ(trimmed(s.windowRow(3)), "d");
  EXPECT_EQ(trimmed(s.windowRow(5)), "foot");
  EXPECT_EQ(trimmed(s.pageRow(1)), "b");
}

TEST(TerminalRegion, InvalidRegionsAreIgnoredAndNoBottomOrOnePast27Cancels) {
  Session s;
  s.interpret("\x1b[10;5r");
  EXPECT_FALSE(s.terminal.state().regionActive);
  s.interpret("\x1b[;5r");
  EXPECT_TRUE(s.terminal.state().regionActive);
  EXPECT_EQ(s.terminal.state().regionTop, 1);
  EXPECT_EQ(s.terminal.state().regionBottom, 4);
  s.interpret("\x1b[10;5r");
  EXPECT_EQ(s.terminal.state().regionBottom, 4) << "a top below the bottom keeps the old region";
  for (const char* cancel : {"\x1b[r", "\x1b[3r", "\x1b[1;28r"}) {
    s.interpret("\x1b[2;6r");
    ASSERT_TRUE(s.terminal.state().regionActive);
    s.interpret(cancel);
    EXPECT_FALSE(s.terminal.state().regionActive) << cancel + 1;
    EXPECT_EQ(s.terminal.state().regionScrollCount, -1) << cancel + 1;
  }
}

TEST(TerminalRegion, LinesLeavingTheRegionEnterTheHistoryPagesAsOneTape) {
  Session s;
  // A region of rows 3 to 6 (four rows): the fourth region scroll starts the history.
  s.interpret("above\x1b[3;6r\x1b[3;1H");
  for (int i = 0; i < 3; ++i) s.interpret("r" + std::to_string(i) + "\r\n");
  int before = s.terminal.pages().count();
  for (int i = 3; i < 40; ++i) s.interpret("r" + std::to_string(i) + "\r\n");
  PageStore& pages = s.terminal.pages();
  ASSERT_NE(pages.regionHistory(), nullptr);
  EXPECT_GT(pages.count(), before);
  // Read the chain from the history page up to the current page: one tape of lines in order.
  std::vector<int> tape;
  for (auto* node = pages.regionHistory(); node != pages.current(); node = node->next) {
    for (int r = 0; r < kRows; ++r) {
      std::string t = trimmed(CellCanvas::text((*s.canvas.page(node->page))[r]));
      if (!t.empty()) tape.push_back(std::stoi(t.substr(1)));
    }
  }
  ASSERT_FALSE(tape.empty());
  for (std::size_t i = 1; i < tape.size(); ++i) EXPECT_EQ(tape[i], tape[i - 1] + 1) << i;
  // The newest line in the history is the one that just left the region.
  EXPECT_EQ(trimmed(s.grid(2)), "r37");
  EXPECT_EQ(trimmed(s.grid(0)), "above");
  EXPECT_EQ(tape.back(), 36);
  // The fourth region scroll (four rows) was the first to keep its line: r3.
  EXPECT_EQ(tape.front(), 3);
  s.interpret("\x1b[r\x1b[1;99r");
  EXPECT_EQ(pages.regionHistory(), nullptr);
}

TEST(TerminalRegion, AnEndlessRegionScrollDoesNotGrowThePageStoreForEver) {
  Session s;
  s.interpret("\x1b[1;2r");
  std::string chunk;
  for (int i = 0; i < 200; ++i) chunk += "x\r\n";
  for (int i = 0; i < 40; ++i) s.interpret(chunk);
  EXPECT_LE(s.terminal.pages().count(), PageStore::kMaxPages);
  EXPECT_EQ(s.canvas.pageCount(), static_cast<std::size_t>(s.terminal.pages().count()));
}

}  // namespace
}  // namespace kesta::session::testing

#include "app/session/screen_geometry.h"

namespace kesta::session::testing {
namespace {

TEST(ScreenGeometry, CellAreaIsCentredWithTruncatingDivisions) {
  auto g = ScreenGeometry::forClient(1365, 900, 8, 16);
  EXPECT_EQ(g.leftMargin, 682 - 340);
  EXPECT_EQ(g.topMargin, 32 + (450 - 248));
  EXPECT_EQ(g.windowX(3), 24 + 342);
  EXPECT_EQ(g.windowY(2), 32 + 234);
  EXPECT_EQ(g.pageY(27), 432);
  EXPECT_EQ(g.pageWidth(), 680);
  // A window narrower than the cell area gives a negative margin, as the arithmetic says.
  EXPECT_LT(ScreenGeometry::forClient(300, 200, 8, 16).leftMargin, 0);
  // 85 * 9 / 2 truncates to 382.
  EXPECT_EQ(ScreenGeometry::forClient(801, 600, 9, 17).leftMargin, 400 - 382);
}

}  // namespace
}  // namespace kesta::session::testing
