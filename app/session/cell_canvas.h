// A drawing target that keeps the window and every page as cells instead
// of pixels: each cell holds the byte drawn there and its colours. The
// replay command prints from it and tests read back what the window and the
// page store show.
#pragma once

#include <array>
#include <memory>
#include <unordered_map>
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

  // The window as it shows now.
  const CellPicture& window() const;
  // A page, or null when it does not exist.
  const CellPicture* page(PageId id) const;
  std::size_t pageCount() const { return pages_.size(); }
  const std::vector<DrawnLine>& lines() const { return lines_; }
  // The bytes of a row of the window or of a page, 85 cells.
  static std::string text(const CellRow& row);

 private:
  // A window row copied from a page keeps only a reference to the page's row
  // until either is drawn on separately: a repaint moves no cells.
  struct RowSource {
    PageId page = 0;
    int row = -1;  // -1: the window row holds its own cells
    bool is(PageId p, int r) const { return row == r && page == p; }
  };

  CellPicture* find(PageId id);
  const CellPicture* find(PageId id) const;
  // The window row's own cells, taken from its page row first if it shares one.
  CellRow& ownWindowRow(int row) const;
  // A page row is about to change: window rows that share it (except
  // `keep`) take copies of what it shows now.
  void detachWindowRows(PageId page, int pageRow, int keep = -1) const;
  void detachWindowRowsOfPage(PageId page) const;
  // Paints `count` cells from `column` on the window row and the page row
  // the call names, `paint(row, firstColumn, cellCount, offset)`.
  template <typename Paint>
  void paintCells(int column, int windowRow, PageId page, int pageRow, int count, Paint paint);

  mutable CellPicture window_{};
  mutable std::array<RowSource, kRows> windowSource_{};
  std::unordered_map<PageId, std::unique_ptr<CellPicture>> pages_;
  std::vector<std::unique_ptr<CellPicture>> sparePages_;  // freed pictures, reused
  PageId nextPage_ = 1;
  std::vector<DrawnLine> lines_;
};

}  // namespace kesta::session
