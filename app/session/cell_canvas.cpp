#include "app/session/cell_canvas.h"

#include <algorithm>

namespace kesta::session {

namespace {
bool validRow(int row) { return row >= 0 && row < kRows; }
}  // namespace

CellPicture* CellCanvas::find(PageId id) {
  auto it = pages_.find(id);
  return it == pages_.end() ? nullptr : &it->second;
}

const CellPicture* CellCanvas::page(PageId id) const {
  auto it = pages_.find(id);
  return it == pages_.end() ? nullptr : &it->second;
}

std::string CellCanvas::text(const CellRow& row) {
  std::string out;
  for (const Cell& cell : row) out.push_back(cell.byte);
  return out;
}

// The surfaces a call draws on, with the row on each.
std::vector<CellPicture*> CellCanvas::surfaces(int windowRow, PageId page, int pageRow, int* rows) {
  std::vector<CellPicture*> out;
  if (windowRow != kNoRow) {
    rows[out.size()] = windowRow;
    out.push_back(&window_);
  }
  if (pageRow != kNoRow) {
    if (CellPicture* picture = find(page)) {
      rows[out.size()] = pageRow;
      out.push_back(picture);
    }
  }
  return out;
}

void CellCanvas::drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text,
                          Colour textColour, Colour background) {
  int rows[2];
  auto targets = surfaces(windowRow, page, pageRow, rows);
  for (std::size_t t = 0; t < targets.size(); ++t) {
    if (!validRow(rows[t])) continue;
    for (std::size_t i = 0; i < text.size(); ++i) {
      int c = column + static_cast<int>(i);
      if (c < 0 || c >= kDrawColumns) continue;
      (*targets[t])[rows[t]][c] = Cell{text[i], textColour, background};
    }
  }
}

void CellCanvas::blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) {
  drawText(column, windowRow, page, pageRow, std::string(std::max(count, 0), ' '), background, background);
}

void CellCanvas::moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) {
  int rows[2];
  auto targets = surfaces(windowRow, page, pageRow, rows);
  for (std::size_t t = 0; t < targets.size(); ++t) {
    CellPicture& p = *targets[t];
    int first = rows[t];
    int last = std::min(first + rowCount - 1, kRows - 1);
    if (!validRow(first) || last <= first) continue;
    if (delta < 0) {
      for (int r = first; r < last; ++r) p[r] = p[r + 1];
    } else {
      for (int r = last; r > first; --r) p[r] = p[r - 1];
    }
  }
}

void CellCanvas::moveCells(int column, int windowRow, PageId page, int pageRow, int delta) {
  int rows[2];
  auto targets = surfaces(windowRow, page, pageRow, rows);
  for (std::size_t t = 0; t < targets.size(); ++t) {
    if (!validRow(rows[t]) || column < 0 || column >= kColumns - 1) continue;
    CellRow& row = (*targets[t])[rows[t]];
    if (delta < 0) {
      std::copy(row.begin() + column + 1, row.begin() + kColumns, row.begin() + column);
    } else {
      std::copy_backward(row.begin() + column, row.begin() + kColumns - 1, row.begin() + kColumns);
    }
  }
}

void CellCanvas::drawLine(int column, int windowRow, PageId, int pageRow, int cells, int rows, bool box,
                          Colour colour) {
  lines_.push_back({column, windowRow, pageRow, cells, rows, box, colour});
}

PageId CellCanvas::createPage(Colour background) {
  PageId id = nextPage_++;
  CellPicture& picture = pages_[id];
  for (auto& row : picture) row.fill(Cell{' ', background, background});
  return id;
}

void CellCanvas::freePage(PageId page) { pages_.erase(page); }

void CellCanvas::copyPageRow(PageId from, int fromRow, PageId to, int toRow) {
  CellPicture* source = find(from);
  CellPicture* target = find(to);
  if (source && target && validRow(fromRow) && validRow(toRow)) (*target)[toRow] = (*source)[fromRow];
}

void CellCanvas::scrollPageUp(PageId page) {
  if (CellPicture* p = find(page)) std::copy(p->begin() + 1, p->end(), p->begin());
}

void CellCanvas::blankPageRow(PageId page, int row, Colour background) {
  if (CellPicture* p = find(page); p && validRow(row)) (*p)[row].fill(Cell{' ', background, background});
}

void CellCanvas::showPageRows(PageId page, int pageRow, int rowCount, int windowRow) {
  CellPicture* p = find(page);
  if (p == nullptr) return;
  for (int i = 0; i < rowCount; ++i) {
    if (validRow(pageRow + i) && validRow(windowRow + i)) window_[windowRow + i] = (*p)[pageRow + i];
  }
}

}  // namespace kesta::session
