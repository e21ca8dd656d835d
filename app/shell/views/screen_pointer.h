// The cell under the mouse pointer. A pointer anywhere inside the
// terminal's 80 columns and 28 rows (24 with the chat window) counts, the
// last column and the last row included; its cell is found by division.
#pragma once

#include <optional>

#include "app/session/screen_geometry.h"

namespace kesta::shell {

struct GridCell {
  int column = 0;
  int row = 0;
  bool operator==(const GridCell&) const = default;
};

// Reading order: top to bottom, then left to right.
constexpr bool before(GridCell a, GridCell b) { return a.row != b.row ? a.row < b.row : a.column < b.column; }

// The cell at client coordinates (x, y), or nothing outside the text area.
std::optional<GridCell> cellAtPointer(const session::ScreenGeometry& geometry, int x, int y, bool chatMode);

}  // namespace kesta::shell
