// The mouse over the terminal text: which cell the pointer is on, which
// host menu choice a click sends, and what a drag selects, over rows of
// the character grid as hosts send them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/shell/input/virtual_keys.h"
#include "app/shell/views/clickable_item.h"
#include "app/shell/views/clipboard_text.h"
#include "app/shell/views/grid_characters.h"
#include "app/shell/views/screen_pointer.h"
#include "app/shell/views/screen_selection.h"
#include "tests/app/shell/recording_lines.h"
#include "xlat/xlat.h"

namespace kesta::shell {
namespace {

std::string row80(std::string text) {
  text.resize(80, ' ');
  return text;
}

std::string inCode(const char* utf8, xlat::Code code) { return xlat::convert(xlat::Code::Utf8, code, std::string(utf8)); }

TEST(PointerToCell, EveryCellOfTheTextAreaCountsTheLastColumnAndRowIncluded) {
  // 800 by 600 with 8 by 16 cells: the text starts at x 60, y 84.
  const session::ScreenGeometry g = session::ScreenGeometry::forClient(800, 600, 8, 16);
  ASSERT_EQ(g.windowX(0), 60);
  ASSERT_EQ(g.windowY(0), 84);
  struct Case {
    int x, y;
    bool chat;
    std::optional<GridCell> cell;
  };
  const Case cases[] = {
      {60, 84, false, GridCell{0, 0}},
      {67, 99, false, GridCell{0, 0}},       // the cell's last pixel
      {68, 100, false, GridCell{1, 1}},
      {59, 84, false, std::nullopt},
      {60, 83, false, std::nullopt},
      {60 + 79 * 8, 84, false, GridCell{79, 0}},
      {60 + 80 * 8 - 1, 84 + 28 * 16 - 1, false, GridCell{79, 27}},
      {60 + 80 * 8, 84, false, std::nullopt},  // columns 80 to 84 are only blanked
      {60, 84 + 28 * 16, false, std::nullopt},
      {60, 84 + 23 * 16 + 15, true, GridCell{0, 23}},
      {60, 84 + 24 * 16, true, std::nullopt},  // the hint bar is no terminal row
      {60, 84 + 24 * 16, false, GridCell{0, 24}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cellAtPointer(g, c.x, c.y, c.chat), c.cell) << c.x << "," << c.y << (c.chat ? " chat" : "");
  }
  EXPECT_EQ(cellAtPointer(session::ScreenGeometry{}, 0, 0, false), std::nullopt);  // no font yet
}

// At every zoom each cell's corners and edges map back to that cell, the
// last column and row (the chat window's 24th row) included, and a pixel
// past them to none.
TEST(PointerToCell, EveryZoomRoundTripsCellCornersAndEdges) {
  for (int zoom = 1; zoom <= 4; ++zoom) {
    const auto g = session::ScreenGeometry::forClient(1400 * zoom, 900 * zoom, 8, 16, zoom);
    ASSERT_EQ(g.windowX(1) - g.windowX(0), 8 * zoom);
    ASSERT_EQ(g.windowY(1) - g.windowY(0), 16 * zoom);
    ASSERT_EQ(g.windowWidth(), 85 * 8 * zoom);
    for (const bool chat : {false, true}) {
      const int rows = chat ? session::kChatRows : session::kRows;
      for (const GridCell cell : {GridCell{0, 0}, GridCell{40, 12}, GridCell{79, rows - 1}, GridCell{0, rows - 1}}) {
        const int x = g.windowX(cell.column), y = g.windowY(cell.row);
        const int right = x + g.windowCellWidth() - 1, bottom = y + g.windowCellHeight() - 1;
        for (const auto& [px, py] : {std::pair{x, y}, {right, y}, {x, bottom}, {right, bottom}, {(x + right) / 2, y}}) {
          EXPECT_EQ(cellAtPointer(g, px, py, chat), cell) << "zoom " << zoom << " at " << px << "," << py;
        }
      }
      EXPECT_EQ(cellAtPointer(g, g.windowX(80), g.windowY(0), chat), std::nullopt) << zoom;
      EXPECT_EQ(cellAtPointer(g, g.windowX(0), g.windowY(rows), chat), std::nullopt) << zoom;
      EXPECT_EQ(cellAtPointer(g, g.windowX(0) - 1, g.windowY(0), chat), std::nullopt) << zoom;
    }
  }
  // The zoomed block stays centred as the 1x block is.
  const auto one = session::ScreenGeometry::forClient(1400, 900, 8, 16, 1);
  const auto two = session::ScreenGeometry::forClient(1400, 900, 8, 16, 2);
  EXPECT_EQ(one.leftMargin + one.windowWidth() / 2, 700);
  EXPECT_EQ(two.leftMargin + two.windowWidth() / 2, 700);
}

TEST(ClickableItems, DigitRunsLoneCapitalsAndCapitalWordsInParentheses) {
  const std::string menu = row80("1 2 3 123 (P,N,Q) (YES) (Yes)");
  // For every column of the line, what a click there sends.
  std::vector<std::string> expected(80, "");
  auto mark = [&](std::string_view item, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) expected[i] = std::string(item);
  };
  mark("1", 0, 1);
  mark("2", 2, 1);
  mark("3", 4, 1);
  mark("123", 6, 3);
  mark("P", menu.find('P'), 1);
  mark("N", menu.find('N'), 1);
  mark("Q", menu.find('Q'), 1);
  mark("YES", menu.find("YES"), 3);
  for (int column = 0; column < 80; ++column) {
    const std::optional<std::string> item = clickableItem(menu, column, 6);
    EXPECT_EQ(item.value_or(""), expected[column]) << "column " << column << " '" << menu[column] << "'";
  }

  struct Case {
    std::string row;
    int column;
    std::optional<std::string> item;
  };
  const Case cases[] = {
      {row80("A,B"), 0, "A"},
      {row80("A,B"), 2, std::nullopt},      // no ',' or ')' after it: the item runs to column 80
      {row80("A,B)"), 2, "B"},
      {row80("(AB1)"), 1, std::nullopt},   // a word of capitals only
      {row80("(AB1)"), 3, "1"},
      {row80("Q"), 0, std::nullopt},        // alone but not between delimiters: the item runs to column 80
      {row80("Press Q"), 6, std::nullopt},
      {row80("[Y/N]"), 1, std::nullopt},
      {row80("(Y/N)"), 1, std::nullopt},
      {row80("x,YES,NO)"), 3, "YES"},
      {std::string(79, ' ') + "7", 79, "7"},  // the last column is clickable
      {std::string(76, ' ') + "1234", 78, "1234"},
      {row80("(ab)"), 1, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(clickableItem(c.row, c.column, 6), c.item) << c.row << " @" << c.column;
}

TEST(ClickableItems, BytesOfTwoByteCharactersAreNeverDigitsOrLetters) {
  // A johab syllable whose second byte reads as a capital letter.
  std::string trapped;
  for (char32_t c = 0xAC00; c <= 0xD7A3 && trapped.empty(); ++c) {
    const std::uint16_t code = xlat::unicodeToJohab(c);
    if ((code & 0xFF) >= 'A' && (code & 0xFF) <= 'Z') trapped = {static_cast<char>(code >> 8), static_cast<char>(code)};
  }
  ASSERT_EQ(trapped.size(), 2u);
  struct Case {
    std::string row;
    int hostCode, column;
    std::optional<std::string> item;
  };
  const Case cases[] = {
      {row80("(" + trapped + ")"), 1, 2, std::nullopt},      // the second byte of a syllable
      {row80("(" + trapped + "B)"), 1, 3, std::nullopt},     // a word with a syllable in it
      {row80(trapped + ",B)"), 1, 3, "B"},
      // 7-bit code: the pair "30" inside shift-out is one syllable, the 5 after shift-in a digit.
      {row80("\x0e" "30\x0f" "5"), 7, 1, std::nullopt},
      {row80("\x0e" "30\x0f" "5"), 7, 4, "5"},
      {row80("30\x0e" "31\x0f"), 7, 0, "30"},
      {row80(inCode("메뉴 12", xlat::Code::Cp949)), 6, 6, "12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clickableItem(c.row, c.column, c.hostCode), c.item) << "code " << c.hostCode << " @" << c.column;
  }
}


struct FakeGrid : GridRows {
  FakeGrid() { rows.fill(std::string(80, ' ')); }
  std::string_view row(int r) const override { return rows.at(static_cast<std::size_t>(r)); }
  int gridCode() const override { return code; }
  std::array<std::string, 28> rows;
  int code = 6;
};

TEST(Selection, RunsInReadingOrderOverWholeCharactersAndJoinsRowsWithCrLf) {
  FakeGrid grid;
  grid.rows[0] = row80("first row");
  grid.rows[1] = row80("second " + inCode("가나", xlat::Code::Cp949) + " end");
  grid.rows[2] = row80("third");
  const std::string ga = inCode("가", xlat::Code::Cp949);
  struct Case {
    GridCell anchor, pointer;
    std::string text;
    std::pair<int, int> row1;  // highlighted columns of row 1
  };
  const Case cases[] = {
      {{0, 0}, {4, 0}, "first", {0, 0}},
      {{4, 0}, {0, 0}, "first", {0, 0}},                     // backwards: the same text
      {{6, 0}, {2, 1}, row80("first row").substr(6) + "\r\nsec", {0, 3}},
      {{2, 1}, {6, 0}, row80("first row").substr(6) + "\r\nsec", {0, 3}},
      {{8, 1}, {8, 1}, ga, {7, 9}},                          // the second byte takes the first
      {{7, 1}, {7, 1}, ga, {7, 9}},                          // the first byte takes the second
      {{8, 1}, {9, 1}, inCode("가나", xlat::Code::Cp949), {7, 11}},
      {{0, 0}, {4, 2}, row80("first row") + "\r\n" + grid.rows[1] + "\r\nthird", {0, 80}},
  };
  for (const Case& c : cases) {
    RecordingSwitch reception;
    ReceptionHolds holds(reception);
    ScreenSelection selection(holds);
    EXPECT_EQ(selection.text(), "");  // nothing selected yet
    selection.buttonDown(c.anchor);
    EXPECT_TRUE(selection.dragTo({79, 27}, grid));  // the first move starts it
    EXPECT_FALSE(selection.dragTo(c.pointer, grid));
    selection.buttonUp();
    EXPECT_EQ(selection.text(), c.text) << c.anchor.column << "," << c.anchor.row;
    EXPECT_EQ(selection.columnsOn(1), c.row1) << c.anchor.column << "," << c.anchor.row;
    EXPECT_EQ(reception.events, std::vector<std::string>{"pause"});
  }
}

TEST(Selection, TheWholeScreenKeepsTrailingSpacesAndEndingItResumesOnlyWhatItPaused) {
  FakeGrid grid;
  for (int r = 0; r < 28; ++r) grid.rows[r] = row80("row " + std::to_string(r));
  RecordingSwitch reception;
  ReceptionHolds holds(reception);
  ScreenSelection selection(holds);
  selection.buttonDown(GridCell{0, 0});
  selection.dragTo({79, 27}, grid);
  std::string whole;
  for (int r = 0; r < 28; ++r) whole += grid.rows[r] + (r < 27 ? "\r\n" : "");
  EXPECT_EQ(selection.text(), whole);
  EXPECT_EQ(selection.text().size(), 28u * 80 + 27 * 2);

  // A button down ends it; the text stays for Copy and Send.
  EXPECT_TRUE(selection.buttonDown(std::nullopt));
  EXPECT_FALSE(selection.dragging());
  EXPECT_EQ(selection.text(), whole);
  EXPECT_EQ(reception.events, (std::vector<std::string>{"pause", "resume"}));

  // With the passed-screen view holding reception, Copy does not resume it.
  reception.events.clear();
  holds.hold(ReceptionHolder::PassedScreenView);
  selection.buttonDown(GridCell{0, 0});
  selection.dragTo({3, 0}, grid);
  selection.end();
  EXPECT_EQ(reception.events, std::vector<std::string>{"pause"});
  EXPECT_TRUE(holds.paused());
  selection.end();  // twice changes nothing
  holds.release(ReceptionHolder::PassedScreenView);
  EXPECT_EQ(reception.events, (std::vector<std::string>{"pause", "resume"}));
}

TEST(GridCharacters, RowsAreWalkedFromTheirStartInTheHostCode) {
  struct Case {
    std::string row;
    int hostCode, column;
    ByteKind kind;
  };
  const std::string ga = inCode("가", xlat::Code::Johab);
  const Case cases[] = {
      {"a" + ga + "b", 1, 1, ByteKind::Lead},
      {"a" + ga + "b", 1, 2, ByteKind::Trail},
      {"a" + ga + "b", 1, 3, ByteKind::Single},
      {ga + ga, 1, 2, ByteKind::Lead},
      {std::string(79, ' ') + "\xB0", 6, 79, ByteKind::Single},  // a lead byte cut by the row's end
      {"\x0e" "3031\x0f" "30", 7, 3, ByteKind::Lead},
      {"\x0e" "3031\x0f" "30", 7, 4, ByteKind::Trail},
      {"\x0e" "3031\x0f" "30", 7, 6, ByteKind::Single},
      {"ab", 6, -1, ByteKind::Single},
      {"ab", 6, 2, ByteKind::Single},
  };
  for (const Case& c : cases) EXPECT_EQ(byteKindAt(c.row, c.column, c.hostCode), c.kind) << c.column;
}

TEST(KeyRoutes, TheViewTakesUpAndDownBeforeTheChatLine) {
  struct Case {
    int key;
    bool view, chat;
    KeyRoute route;
  };
  const Case cases[] = {
      {kVirtualKeyUp, true, true, KeyRoute::PassedScreenView},
      {kVirtualKeyDown, true, true, KeyRoute::PassedScreenView},
      {kVirtualKeyUp, false, true, KeyRoute::ChatLine},
      {kVirtualKeyUp, false, false, KeyRoute::None},
      {kVirtualKeyPageUp, false, true, KeyRoute::None},
      {kVirtualKeyPageDown, true, false, KeyRoute::PassedScreenView},
      {kVirtualKeyHome, true, true, KeyRoute::ChatLine},
      {kVirtualKeyDelete, false, true, KeyRoute::ChatLine},
      {kVirtualKeyLeft, true, false, KeyRoute::None},
      {0x41, true, true, KeyRoute::None},
  };
  for (const Case& c : cases) EXPECT_EQ(routeKeyDown(c.key, c.view, c.chat), c.route) << c.key << c.view << c.chat;
}

TEST(Paste, TheWholeClipboardTextGoesOutInPieces) {
  struct Case {
    std::string block;
    std::size_t text;  // bytes of text in it
  };
  std::string big(70000, 'x');
  big += '\0';  // 70,000 characters arrive as a 70,001-byte block
  const Case cases[] = {
      {big, 70000},
      {std::string("abc\0\0\0\0", 7), 3},     // a block rounded up past the NUL
      {std::string("abc"), 3},                   // no NUL: bounded by the block
      {std::string(1, '\0'), 0},
  };
  for (const Case& c : cases) {
    const std::string_view text = clipboardText(c.block.data(), c.block.size());
    EXPECT_EQ(text.size(), c.text);
    std::string sent;
    for (std::size_t at = 0; !pieceAt(text, at).empty(); at += kPastePiece) {
      EXPECT_LE(pieceAt(text, at).size(), kPastePiece);
      sent.append(pieceAt(text, at));
    }
    EXPECT_EQ(sent, text);
  }
  EXPECT_EQ(clipboardText(nullptr, 10), "");
}

}  // namespace
}  // namespace kesta::shell
