// Where the terminal's cells lie in the main window: the 85 by 28 cell area
// is centred in the client area, its rows starting two cell heights below
// the centred 31-row block. Set whenever the font or the window size changes.
#pragma once

namespace kesta::session {

struct ScreenGeometry {
  int cellWidth = 0;
  int cellHeight = 0;
  int leftMargin = 0;
  int topMargin = 0;

  // Each division truncates, as the window's arithmetic always has.
  static ScreenGeometry forClient(int clientWidth, int clientHeight, int cellWidth, int cellHeight) {
    ScreenGeometry g;
    g.cellWidth = cellWidth;
    g.cellHeight = cellHeight;
    g.leftMargin = clientWidth / 2 - (85 * cellWidth) / 2;
    g.topMargin = 2 * cellHeight + (clientHeight / 2 - (31 * cellHeight) / 2);
    return g;
  }
  int windowX(int column) const { return column * cellWidth + leftMargin; }
  int windowY(int row) const { return row * cellHeight + topMargin; }
  int pageX(int column) const { return column * cellWidth; }
  int pageY(int pageRow) const { return pageRow * cellHeight; }
  int pageWidth() const { return 85 * cellWidth; }
  int pageHeight() const { return 28 * cellHeight; }
};

}  // namespace kesta::session
