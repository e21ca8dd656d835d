#include "app/session/cell_canvas.h"

#include <algorithm>

namespace kesta::session {

namespace {
bool validRow(int row) { return row >= 0 && row < kRows; }
}  // namespace

CellPicture* CellCanvas::find(PageId id) {
  auto it = pages_.find(id);
  return it == pages_.end() ? nullptr : it->second.get();
}

const CellPicture* CellCanvas::find(PageId id) const {
  auto it = pages_.find(id);
  return it == pages_.end() ? nullptr : it->second.get();
}

const CellPicture* CellCanvas::page(PageId id) const { return find(id); }

const CellPicture& CellCanvas::window() const {
  for (int r = 0; r < kRows; ++r) ownWindowRow(r);
  return window_;
}

std::string CellCanvas::text(const CellRow& row) {
  std::string out;
  for (const Cell& cell : row) out.push_back(cell.byte);
  return out;
}

CellRow& CellCanvas::ownWindowRow(int row) const {
  RowSource& source = windowSource_[row];
  if (source.row >= 0) {
    if (const CellPicture* p = find(source.page)) window_[row] = (*p)[source.row];
    source = RowSource{};
  }
  return window_[row];
}

void CellCanvas::detachWindowRows(PageId page, int pageRow, int keep) const {
  for (int r = 0; r < kRows; ++r) {
    if (r != keep && windowSource_[r].is(page, pageRow)) ownWindowRow(r);
  }
}

void CellCanvas::detachWindowRowsOfPage(PageId page) const {
  for (int r = 0; r < kRows; ++r) {
    if (windowSource_[r].row >= 0 && windowSource_[r].page == page) ownWindowRow(r);
  }
}

template <typename Paint>
void CellCanvas::paintCells(int column, int windowRow, PageId page, int pageRow, int count, Paint paint) {
  int first = std::max(column, 0);
  int last = std::min(column + count, kDrawColumns);
  if (first >= last) return;
  CellPicture* picture = pageRow != kNoRow && validRow(pageRow) ? find(page) : nullptr;
  bool window = windowRow != kNoRow && validRow(windowRow);
  // The window row that shows this very page row is painted with it.
  bool shared = window && picture && windowSource_[windowRow].is(page, pageRow);
  if (picture) {
    detachWindowRows(page, pageRow, shared ? windowRow : -1);
    paint((*picture)[pageRow], first, last - first, first - column);
  }
  if (window && !shared) paint(ownWindowRow(windowRow), first, last - first, first - column);
}

void CellCanvas::drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text,
                          Colour textColour, Colour background) {
  paintCells(column, windowRow, page, pageRow, static_cast<int>(std::min<std::size_t>(text.size(), kDrawColumns * 2)),
             [&](CellRow& row, int from, int count, int offset) {
               for (int i = 0; i < count; ++i) row[from + i] = Cell{text[offset + i], textColour, background};
             });
}

void CellCanvas::blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) {
  paintCells(column, windowRow, page, pageRow, std::min(count, kDrawColumns * 2),
             [&](CellRow& row, int from, int n, int) {
               std::fill_n(row.begin() + from, n, Cell{' ', background, background});
             });
}

void CellCanvas::moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) {
  auto shift = [&](auto rowAt, int first) {
    int last = std::min(first + rowCount - 1, kRows - 1);
    if (!validRow(first) || last <= first) return;
    if (delta < 0) {
      for (int r = first; r < last; ++r) rowAt(r) = rowAt(r + 1);
    } else {
      for (int r = last; r > first; --r) rowAt(r) = rowAt(r - 1);
    }
  };
  if (pageRow != kNoRow) {
    if (CellPicture* p = find(page)) {
      detachWindowRowsOfPage(page);
      shift([p](int r) -> CellRow& { return (*p)[r]; }, pageRow);
    }
  }
  if (windowRow != kNoRow) shift([this](int r) -> CellRow& { return ownWindowRow(r); }, windowRow);
}

void CellCanvas::moveCells(int column, int windowRow, PageId page, int pageRow, int delta) {
  if (column < 0 || column >= kColumns - 1) return;
  auto shift = [&](CellRow& row) {
    if (delta < 0) {
      std::copy(row.begin() + column + 1, row.begin() + kColumns, row.begin() + column);
    } else {
      std::copy_backward(row.begin() + column, row.begin() + kColumns - 1, row.begin() + kColumns);
    }
  };
  CellPicture* picture = pageRow != kNoRow && validRow(pageRow) ? find(page) : nullptr;
  bool window = windowRow != kNoRow && validRow(windowRow);
  bool shared = window && picture && windowSource_[windowRow].is(page, pageRow);
  if (picture) {
    detachWindowRows(page, pageRow, shared ? windowRow : -1);
    shift((*picture)[pageRow]);
  }
  if (window && !shared) shift(ownWindowRow(windowRow));
}

void CellCanvas::drawLine(int column, int windowRow, PageId, int pageRow, int cells, int rows, bool box,
                          Colour colour) {
  lines_.push_back({column, windowRow, pageRow, cells, rows, box, colour});
}

PageId CellCanvas::createPage(Colour background) {
  PageId id = nextPage_++;
  std::unique_ptr<CellPicture> picture;
  if (sparePages_.empty()) {
    picture = std::make_unique<CellPicture>();
  } else {
    picture = std::move(sparePages_.back());
    sparePages_.pop_back();
  }
  CellPicture& cells = *picture;
  cells[0].fill(Cell{' ', background, background});
  std::fill(cells.begin() + 1, cells.end(), cells[0]);
  pages_[id] = std::move(picture);
  return id;
}

void CellCanvas::freePage(PageId page) {
  auto it = pages_.find(page);
  if (it == pages_.end()) return;
  detachWindowRowsOfPage(page);
  if (sparePages_.size() < 4) sparePages_.push_back(std::move(it->second));
  pages_.erase(it);
}

void CellCanvas::copyPageRow(PageId from, int fromRow, PageId to, int toRow) {
  CellPicture* source = find(from);
  CellPicture* target = find(to);
  if (!source || !target || !validRow(fromRow) || !validRow(toRow)) return;
  detachWindowRows(to, toRow);
  (*target)[toRow] = (*source)[fromRow];
}

void CellCanvas::scrollPageUp(PageId page) {
  if (CellPicture* p = find(page)) {
    detachWindowRowsOfPage(page);
    std::copy(p->begin() + 1, p->end(), p->begin());
  }
}

void CellCanvas::blankPageRow(PageId page, int row, Colour background) {
  CellPicture* p = find(page);
  if (!p || !validRow(row)) return;
  detachWindowRows(page, row);
  (*p)[row].fill(Cell{' ', background, background});
}

void CellCanvas::showPageRows(PageId page, int pageRow, int rowCount, int windowRow) {
  if (find(page) == nullptr) return;
  for (int i = 0; i < rowCount; ++i) {
    if (validRow(pageRow + i) && validRow(windowRow + i)) windowSource_[windowRow + i] = RowSource{page, pageRow + i};
  }
}

}  // namespace kesta::session
