#include "app/shell/views/screen_selection.h"

#include <algorithm>

#include "app/shell/views/grid_characters.h"

namespace kesta::shell {

bool ScreenSelection::buttonDown(std::optional<GridCell> cell) {
  const bool ended = selecting_;
  if (selecting_) end();
  if (!cell) return ended;
  dragging_ = true;
  anchor_ = *cell;
  return ended;
}

bool ScreenSelection::dragTo(GridCell cell, const GridRows& grid) {
  if (!dragging_) return false;
  // A click that stays in its cell is a click: the selection begins when
  // the pointer leaves the cell where the button went down.
  if (!selecting_ && cell == anchor_) return false;
  const bool starts = !selecting_;
  if (starts) {
    holds_.hold(ReceptionHolder::Selection);
    selecting_ = true;
  }
  first_ = before(cell, anchor_) ? cell : anchor_;
  last_ = before(cell, anchor_) ? anchor_ : cell;
  const int code = grid.gridCode();
  first_.column = characterStart(grid.row(first_.row), first_.column, code);
  last_.column = characterEnd(grid.row(last_.row), last_.column, code);

  text_.clear();
  for (int row = first_.row; row <= last_.row; ++row) {
    const auto [from, to] = columnsOn(row);
    const std::string_view bytes = grid.row(row);
    const int size = static_cast<int>(bytes.size());
    text_.append(bytes.substr(std::min(from, size), std::max(0, std::min(to, size) - std::min(from, size))));
    if (row != last_.row) text_.append("\r\n");
  }
  return starts;
}

void ScreenSelection::end() {
  holds_.release(ReceptionHolder::Selection);
  selecting_ = false;
  dragging_ = false;
}

std::pair<int, int> ScreenSelection::columnsOn(int row) const {
  if (!selecting_ || row < first_.row || row > last_.row) return {0, 0};
  const int from = row == first_.row ? first_.column : 0;
  const int to = row == last_.row ? last_.column + 1 : session::kColumns;
  return {from, to};
}

}  // namespace kesta::shell
