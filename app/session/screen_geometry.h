// Where the terminal's cells lie in the main window: the 85 by 28 cell area
// is centred in the client area, its rows starting two cell heights below
// the centred 31-row block. Set whenever the font, the zoom or the window
// size changes. The page bitmaps keep cells of the font's size (page
// coordinates); the window shows them `zoom` times larger (window
// coordinates), whole pixels for whole pixels.
#pragma once

namespace kesta::session {

struct ScreenGeometry {
  int cellWidth = 0;   // in the pages
  int cellHeight = 0;
  int leftMargin = 0;  // in the window
  int topMargin = 0;
  int zoom = 1;        // 1 to 4

  // Each division truncates, as the window's arithmetic always has.
  static ScreenGeometry forClient(int clientWidth, int clientHeight, int cellWidth, int cellHeight, int zoom = 1) {
    ScreenGeometry g;
    g.cellWidth = cellWidth;
    g.cellHeight = cellHeight;
    g.zoom = zoom < 1 ? 1 : zoom;
    const int w = cellWidth * g.zoom, h = cellHeight * g.zoom;
    g.leftMargin = clientWidth / 2 - (85 * w) / 2;
    g.topMargin = 2 * h + (clientHeight / 2 - (31 * h) / 2);
    return g;
  }
  // A cell's size on the window.
  int windowCellWidth() const { return cellWidth * zoom; }
  int windowCellHeight() const { return cellHeight * zoom; }
  int windowX(int column) const { return column * windowCellWidth() + leftMargin; }
  int windowY(int row) const { return row * windowCellHeight() + topMargin; }
  // The 85 by 28 cell area on the window.
  int windowWidth() const { return 85 * windowCellWidth(); }
  int windowHeight() const { return 28 * windowCellHeight(); }
  int pageX(int column) const { return column * cellWidth; }
  int pageY(int pageRow) const { return pageRow * cellHeight; }
  int pageWidth() const { return 85 * cellWidth; }
  int pageHeight() const { return 28 * cellHeight; }
};

}  // namespace kesta::session
