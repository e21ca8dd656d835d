#include "app/shell/views/screen_pointer.h"

#include "app/session/terminal_types.h"

namespace kesta::shell {

std::optional<GridCell> cellAtPointer(const session::ScreenGeometry& geometry, int x, int y, bool chatMode) {
  if (geometry.cellWidth <= 0 || geometry.cellHeight <= 0) return std::nullopt;
  const int rows = chatMode ? session::kChatRows : session::kRows;
  const int left = geometry.windowX(0);
  const int top = geometry.windowY(0);
  if (x < left || y < top) return std::nullopt;
  const int column = (x - left) / geometry.windowCellWidth();
  const int row = (y - top) / geometry.windowCellHeight();
  if (column >= session::kColumns || row >= rows) return std::nullopt;
  return GridCell{column, row};
}

}  // namespace kesta::shell
