// The terminal's drawing target on the main window: text through the Hangul
// text library into the window and into page bitmaps, moves and page copies
// with BitBlt. Device contexts are taken once per received chunk (a batch)
// and otherwise for the one call that needs them.
//
// Zoom lives here and nowhere else: at a factor above 1 everything meant for
// the window is drawn into a picture of the terminal area at the font's
// size (the same calls as at 1x), and the part touched is shown on the
// window enlarged, each pixel a square of whole pixels, so the bitmap fonts
// stay crisp.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "app/session/draw_target.h"
#include "app/session/screen_geometry.h"

namespace kesta::shell {

class Win32DrawTarget : public session::DrawTarget {
 public:
  Win32DrawTarget() = default;
  ~Win32DrawTarget() override;
  Win32DrawTarget(const Win32DrawTarget&) = delete;
  Win32DrawTarget& operator=(const Win32DrawTarget&) = delete;

  void attach(HWND window) { window_ = window; }
  void setGeometry(const session::ScreenGeometry& geometry) { geometry_ = geometry; }
  const session::ScreenGeometry& geometry() const { return geometry_; }
  // The Hangul face every terminal context gets ("InternalGothic", ...);
  // empty leaves the contexts as they are.
  void setHangulFace(std::string face) { face_ = std::move(face); }

  // A batch: the window's and the page's contexts stay taken until end.
  // Nested batches share the outer one. `paintDC` (from BeginPaint) is used
  // instead of a new window context when given.
  void beginBatch(HDC paintDC = nullptr);
  void endBatch();

  // The shell's own drawing over the terminal area (chat rows, the composing
  // syllable, the selection): `draw(dc, x0, y0)` draws at the font's size
  // with the area's top-left cell at (x0, y0); [x, y, width, height] is the
  // part it touches, in the same units from the area's corner.
  template <class Draw>
  void drawOverArea(int x, int y, int width, int height, Draw draw) {
    beginBatch();
    if (HDC dc = areaDC()) {
      draw(dc, areaX(0), areaY(0));
      prepare(dc);  // the terminal's face back for the drawing that follows
      present(x, y, width, height);
    }
    endBatch();
  }

  // A picture drawn stretched into rows [0, rows) of a page (the welcome picture).
  void stretchIntoPage(session::PageId page, int rows, const BITMAPINFO* info, const void* bits);

  void beginChunk() override { beginBatch(); }
  void endChunk() override { endBatch(); }

  void drawText(int column, int windowRow, session::PageId page, int pageRow, std::string_view text,
                session::Colour textColour, session::Colour background) override;
  void blankCells(int column, int windowRow, session::PageId page, int pageRow, int count,
                  session::Colour background) override;
  void moveRows(int windowRow, session::PageId page, int pageRow, int rowCount, int delta) override;
  void moveCells(int column, int windowRow, session::PageId page, int pageRow, int delta) override;
  void drawLine(int column, int windowRow, session::PageId page, int pageRow, int cells, int rows, bool box,
                session::Colour colour) override;
  session::PageId createPage(session::Colour background) override;
  void freePage(session::PageId page) override;
  void copyPageRow(session::PageId from, int fromRow, session::PageId to, int toRow) override;
  void scrollPageUp(session::PageId page) override;
  void blankPageRow(session::PageId page, int row, session::Colour background) override;
  void showPageRows(session::PageId page, int pageRow, int rowCount, int windowRow) override;

  int pageCount() const { return static_cast<int>(pages_.size()); }

 private:
  // The two drawing surfaces of one call.
  struct Surfaces {
    HDC window = nullptr;  // null when the call leaves the window out
    HDC page = nullptr;    // the page context with the page's bitmap selected, or null
  };
  Surfaces take(int windowRow, session::PageId page, int pageRow);
  bool zoomed() const { return geometry_.zoom > 1; }
  // Where the window's drawing goes: the window itself at 1x, else the
  // area's picture; and a cell's place on it.
  HDC areaDC();
  int areaX(int column) const { return zoomed() ? geometry_.pageX(column) : geometry_.windowX(column); }
  int areaY(int row) const { return zoomed() ? geometry_.pageY(row) : geometry_.windowY(row); }
  // The part [x, y, width, height] of the area's picture shown enlarged
  // (nothing to do at 1x).
  void present(int x, int y, int width, int height);
  HDC windowDC();
  HDC pageDC(session::PageId page);
  HDC scratchDC(session::PageId page);  // a second page for page-to-page copies
  void release();
  void prepare(HDC dc);
  HBITMAP bitmapOf(session::PageId page) const;

  HWND window_ = nullptr;
  session::ScreenGeometry geometry_;
  std::string face_;
  std::map<session::PageId, HBITMAP> pages_;
  session::PageId nextPage_ = 1;

  int batchDepth_ = 0;
  HDC window_dc_ = nullptr;
  bool ownsWindowDC_ = false;
  HDC page_dc_ = nullptr;
  HGDIOBJ pageDefault_ = nullptr;
  session::PageId selectedPage_ = 0;
  HBITMAP area_ = nullptr;  // the terminal area at the font's size, while zoomed
  int areaWidth_ = 0, areaHeight_ = 0;
  HDC area_dc_ = nullptr;
  HGDIOBJ areaDefault_ = nullptr;
  HDC scratch_dc_ = nullptr;
  HGDIOBJ scratchDefault_ = nullptr;
  session::PageId scratchPage_ = 0;
};

}  // namespace kesta::shell
