// What the terminal core needs from the screen: every text, blank, move and
// line goes to the window at a window row and to a page bitmap at a page row
// in the same call; the page store creates, copies and shows whole pages.
// The Win32 face draws with the Hangul text library; tests and the replay
// command use cell pictures instead of pixels.
#pragma once

#include <string_view>

#include "app/session/terminal_types.h"

namespace kesta::session {

// A window row or page row of kNoRow leaves that surface out of the call.
inline constexpr int kNoRow = -1;

class DrawTarget {
 public:
  virtual ~DrawTarget() = default;

  // The drawing of one received chunk lies between these two calls, so that
  // a target can take its window and page device contexts once per chunk.
  // Pairs may nest (a command run inside a chunk may receive again), and
  // calls outside any pair (repaints, the passed-screen view) are allowed:
  // a target then takes what it needs for that one call.
  virtual void beginChunk() {}
  virtual void endChunk() {}

  // Text in the internal code from cell (column, row), one cell per byte.
  virtual void drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text,
                        Colour textColour, Colour background) = 0;
  // `count` cells from `column` drawn as spaces in the background colour.
  virtual void blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) = 0;
  // A band of `rowCount` rows starting at the given rows shifts by one row
  // (delta -1 up, +1 down) inside the band; the vacated row keeps its old
  // picture until it is blanked.
  virtual void moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) = 0;
  // The cells from `column` to column 79 of a row shift by one cell (delta
  // -1 left, +1 right) inside that span.
  virtual void moveCells(int column, int windowRow, PageId page, int pageRow, int delta) = 0;
  // A one-pixel line from the top-left corner of the cell: `cells` wide and
  // `rows` high, one of them 0. A box outline when `box` is set.
  virtual void drawLine(int column, int windowRow, PageId page, int pageRow, int cells, int rows, bool box,
                        Colour colour) = 0;

  // Page bitmaps: 85 cells by 28 rows.
  virtual PageId createPage(Colour background) = 0;  // filled with spaces in `background`
  virtual void freePage(PageId page) = 0;
  virtual void copyPageRow(PageId from, int fromRow, PageId to, int toRow) = 0;
  virtual void scrollPageUp(PageId page) = 0;  // rows 1..27 move to 0..26; row 27 keeps its picture
  virtual void blankPageRow(PageId page, int row, Colour background) = 0;
  // Copies `rowCount` rows of a page from `pageRow` to the window from `windowRow`.
  virtual void showPageRows(PageId page, int pageRow, int rowCount, int windowRow) = 0;
};

}  // namespace kesta::session
