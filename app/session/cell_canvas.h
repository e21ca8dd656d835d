// A drawing target that keeps the window and every page as cells instead
// of pixels: each cell holds the byte drawn there and its colours. The
// replay command prints from it and tests read back what the window and the
// page store show.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/session/draw_target.h"

namespace kesta::session {

struct Cell {
  char byte = ' ';
  Colour text = 0;
  Colour background = 0;
  bool operator==(const Cell&) const = default;
};

using CellRow = std::array<Cell, kDrawColumns>;
using CellPicture = std::array<CellRow, kRows>;

struct DrawnLine {
  int column, windowRow, pageRow, cells, rows;
  bool box;
  Colour colour;
};

class CellCanvas : public DrawTarget {
 public:
  void drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text, Colour textColour,
                Colour background) override;
  void blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) override;
  void moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) override;
  void moveCells(int column, int windowRow, PageId page, int pageRow, int delta) override;
  void drawLine(int column, int windowRow, PageId page, int pageRow, int cells, int rows, bool box,
                Colour colour) override;
  PageId createPage(Colour background) override;
  void freePage(PageId page) override;
  void copyPageRow(PageId from, int fromRow, PageId to, int toRow) override;
  void scrollPageUp(PageId page) override;
  void blankPageRow(PageId page, int row, Colour background) override;
  void showPageRows(PageId page, int pageRow, int rowCount, int windowRow) override;

  const CellPicture& window() const { return window_; }
  // A page, or null when it does not exist.
  const CellPicture* page(PageId id) const;
  std::size_t pageCount() const { return pages_.size(); }
  const std::vector<DrawnLine>& lines() const { return lines_; }
  // The bytes of a row of the window or of a page, 85 cells.
  static std::string text(const CellRow& row);

 private:
  CellPicture* find(PageId id);
  std::vector<CellPicture*> surfaces(int windowRow, PageId page, int pageRow, int* rows);

  CellPicture window_{};
  std::map<PageId, CellPicture> pages_;
  PageId nextPage_ = 1;
  std::vector<DrawnLine> lines_;
};

}  // namespace kesta::session
