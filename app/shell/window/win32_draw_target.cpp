#include "app/shell/window/win32_draw_target.h"

#include "hangul/quilh32.h"

namespace kesta::shell {

using session::Colour;
using session::kNoRow;
using session::PageId;

namespace {
COLORREF colorOf(Colour c) { return static_cast<COLORREF>(c & 0xFFFFFF); }

void fill(HDC dc, const RECT& area, Colour colour) {
  SetBkColor(dc, colorOf(colour));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, "", 0, nullptr);
}
}  // namespace

Win32DrawTarget::~Win32DrawTarget() {
  while (batchDepth_ > 0) endBatch();
  release();
  for (auto& [id, bitmap] : pages_) DeleteObject(bitmap);
  if (area_ != nullptr) DeleteObject(area_);
}

HDC Win32DrawTarget::areaDC() {
  HDC window = windowDC();
  if (!zoomed() || window == nullptr) return window;
  const int width = geometry_.pageWidth(), height = geometry_.pageHeight();
  if (area_ != nullptr && (areaWidth_ != width || areaHeight_ != height)) {
    // A new font size: the picture is made anew and the next paint fills it.
    if (area_dc_ != nullptr) {
      SelectObject(area_dc_, areaDefault_);
      HDeleteDC(area_dc_);
      area_dc_ = nullptr;
    }
    DeleteObject(area_);
    area_ = nullptr;
  }
  if (area_ == nullptr) {
    area_ = CreateCompatibleBitmap(window, width, height);
    if (area_ == nullptr) return nullptr;
    areaWidth_ = width;
    areaHeight_ = height;
  }
  if (area_dc_ == nullptr) {
    area_dc_ = HCreateCompatibleDC(window);
    if (area_dc_ == nullptr) return nullptr;
    prepare(area_dc_);
    areaDefault_ = SelectObject(area_dc_, area_);
  }
  return area_dc_;
}

void Win32DrawTarget::present(int x, int y, int width, int height) {
  if (!zoomed() || area_dc_ == nullptr) return;
  // Kept inside the picture: a box's last line may reach one pixel past its cells.
  if (x < 0) width += x, x = 0;
  if (y < 0) height += y, y = 0;
  if (x + width > areaWidth_) width = areaWidth_ - x;
  if (y + height > areaHeight_) height = areaHeight_ - y;
  if (width <= 0 || height <= 0) return;
  HDC window = windowDC();
  if (window == nullptr) return;
  const int z = geometry_.zoom;
  SetStretchBltMode(window, COLORONCOLOR);  // whole pixels: no blending
  StretchBlt(window, geometry_.leftMargin + x * z, geometry_.topMargin + y * z, width * z, height * z, area_dc_, x, y,
             width, height, SRCCOPY);
}

void Win32DrawTarget::prepare(HDC dc) {
  if (!face_.empty()) HSelectHangulObject(dc, face_.c_str(), nullptr);
  SetBkMode(dc, OPAQUE);
}

HDC Win32DrawTarget::windowDC() {
  if (window_dc_ == nullptr && window_ != nullptr) {
    window_dc_ = HGetDC(window_);
    ownsWindowDC_ = true;
    if (window_dc_ != nullptr) prepare(window_dc_);
  }
  return window_dc_;
}

HBITMAP Win32DrawTarget::bitmapOf(PageId page) const {
  auto it = pages_.find(page);
  return it == pages_.end() ? nullptr : it->second;
}

HDC Win32DrawTarget::pageDC(PageId page) {
  HBITMAP bitmap = bitmapOf(page);
  if (bitmap == nullptr) return nullptr;
  // A bitmap is selected into one context at a time: the scratch context
  // gives it back first.
  if (scratchPage_ == page && scratch_dc_ != nullptr) {
    SelectObject(scratch_dc_, scratchDefault_);
    scratchPage_ = 0;
  }
  if (page_dc_ == nullptr) {
    HDC reference = windowDC();
    page_dc_ = HCreateCompatibleDC(reference);
    if (page_dc_ == nullptr) return nullptr;
    prepare(page_dc_);
    pageDefault_ = SelectObject(page_dc_, bitmap);
  } else if (selectedPage_ != page) {
    SelectObject(page_dc_, bitmap);
  }
  selectedPage_ = page;
  return page_dc_;
}

HDC Win32DrawTarget::scratchDC(PageId page) {
  HBITMAP bitmap = bitmapOf(page);
  if (bitmap == nullptr) return nullptr;
  // The page context may hold this bitmap; a bitmap is selected into one
  // context at a time, so it is put back first.
  if (selectedPage_ == page && page_dc_ != nullptr) {
    SelectObject(page_dc_, pageDefault_);
    selectedPage_ = 0;
  }
  if (scratch_dc_ == nullptr) {
    scratch_dc_ = CreateCompatibleDC(windowDC());
    if (scratch_dc_ == nullptr) return nullptr;
    scratchDefault_ = SelectObject(scratch_dc_, bitmap);
  } else {
    SelectObject(scratch_dc_, bitmap);
  }
  scratchPage_ = page;
  return scratch_dc_;
}

void Win32DrawTarget::release() {
  if (area_dc_ != nullptr) {
    SelectObject(area_dc_, areaDefault_);
    HDeleteDC(area_dc_);
    area_dc_ = nullptr;
  }
  if (scratch_dc_ != nullptr) {
    SelectObject(scratch_dc_, scratchDefault_);
    DeleteDC(scratch_dc_);
    scratch_dc_ = nullptr;
    scratchPage_ = 0;
  }
  if (page_dc_ != nullptr) {
    SelectObject(page_dc_, pageDefault_);
    HDeleteDC(page_dc_);
    page_dc_ = nullptr;
    selectedPage_ = 0;
  }
  if (window_dc_ != nullptr) {
    if (ownsWindowDC_) HReleaseDC(window_, window_dc_);
    window_dc_ = nullptr;
    ownsWindowDC_ = false;
  }
}

void Win32DrawTarget::beginBatch(HDC paintDC) {
  if (batchDepth_++ > 0) return;
  if (paintDC != nullptr) {
    release();
    window_dc_ = paintDC;
    ownsWindowDC_ = false;
    prepare(paintDC);
  }
}

void Win32DrawTarget::endBatch() {
  if (batchDepth_ == 0) return;
  if (--batchDepth_ == 0) release();
}

Win32DrawTarget::Surfaces Win32DrawTarget::take(int windowRow, PageId page, int pageRow) {
  Surfaces s;
  if (windowRow != kNoRow) s.window = areaDC();
  if (pageRow != kNoRow) {
    // The page context is made from the window's, so that one is taken too.
    if (windowDC() != nullptr) s.page = pageDC(page);
  }
  return s;
}

// Calls outside a batch take and give back their contexts at once.
namespace {
struct CallScope {
  explicit CallScope(Win32DrawTarget& t) : target(t) { target.beginBatch(); }
  ~CallScope() { target.endBatch(); }
  Win32DrawTarget& target;
};
}  // namespace

void Win32DrawTarget::drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text,
                               Colour textColour, Colour background) {
  CallScope scope(*this);
  Surfaces s = take(windowRow, page, pageRow);
  const int length = static_cast<int>(text.size());
  if (s.window != nullptr) {
    SetTextColor(s.window, colorOf(textColour));
    SetBkColor(s.window, colorOf(background));
    HTextOut(s.window, areaX(column), areaY(windowRow), text.data(), length);
    present(geometry_.pageX(column), geometry_.pageY(windowRow), length * geometry_.cellWidth, geometry_.cellHeight);
  }
  if (s.page != nullptr) {
    SetTextColor(s.page, colorOf(textColour));
    SetBkColor(s.page, colorOf(background));
    HTextOut(s.page, geometry_.pageX(column), geometry_.pageY(pageRow), text.data(), length);
  }
}

void Win32DrawTarget::blankCells(int column, int windowRow, PageId page, int pageRow, int count, Colour background) {
  CallScope scope(*this);
  Surfaces s = take(windowRow, page, pageRow);
  const int w = geometry_.cellWidth, h = geometry_.cellHeight;
  if (s.window != nullptr) {
    const int x = areaX(column), y = areaY(windowRow);
    fill(s.window, RECT{x, y, x + count * w, y + h}, background);
    present(geometry_.pageX(column), geometry_.pageY(windowRow), count * w, h);
  }
  if (s.page != nullptr) {
    const int x = geometry_.pageX(column), y = geometry_.pageY(pageRow);
    fill(s.page, RECT{x, y, x + count * w, y + h}, background);
  }
}

namespace {
// A band of rows [first, first + count) shifted by one row inside itself.
void shiftBand(HDC dc, int x, int bandTop, int width, int rowHeight, int count, int delta) {
  if (count < 2) return;
  const int moved = (count - 1) * rowHeight;
  if (delta < 0) {
    BitBlt(dc, x, bandTop, width, moved, dc, x, bandTop + rowHeight, SRCCOPY);
  } else {
    BitBlt(dc, x, bandTop + rowHeight, width, moved, dc, x, bandTop, SRCCOPY);
  }
}
}  // namespace

void Win32DrawTarget::moveRows(int windowRow, PageId page, int pageRow, int rowCount, int delta) {
  CallScope scope(*this);
  Surfaces s = take(windowRow, page, pageRow);
  const int width = geometry_.pageWidth(), h = geometry_.cellHeight;
  auto clampCount = [&](int first) { return first + rowCount > session::kRows ? session::kRows - first : rowCount; };
  if (s.window != nullptr && windowRow >= 0 && windowRow < session::kRows) {
    shiftBand(s.window, areaX(0), areaY(windowRow), width, h, clampCount(windowRow), delta);
    present(0, geometry_.pageY(windowRow), width, clampCount(windowRow) * h);
  }
  if (s.page != nullptr && pageRow >= 0 && pageRow < session::kRows) {
    shiftBand(s.page, 0, geometry_.pageY(pageRow), width, h, clampCount(pageRow), delta);
  }
}

void Win32DrawTarget::moveCells(int column, int windowRow, PageId page, int pageRow, int delta) {
  if (column < 0 || column >= session::kColumns - 1) return;
  CallScope scope(*this);
  Surfaces s = take(windowRow, page, pageRow);
  const int w = geometry_.cellWidth, h = geometry_.cellHeight;
  const int span = (session::kColumns - 1 - column) * w;  // cells column..78 or column+1..79
  auto shift = [&](HDC dc, int x0, int y) {
    const int x = x0 + column * w;
    if (delta < 0) {
      BitBlt(dc, x, y, span, h, dc, x + w, y, SRCCOPY);
    } else {
      BitBlt(dc, x + w, y, span, h, dc, x, y, SRCCOPY);
    }
  };
  if (s.window != nullptr) {
    shift(s.window, areaX(0), areaY(windowRow));
    present(geometry_.pageX(column), geometry_.pageY(windowRow), span + w, h);
  }
  if (s.page != nullptr) shift(s.page, 0, geometry_.pageY(pageRow));
}

void Win32DrawTarget::drawLine(int column, int windowRow, PageId page, int pageRow, int cells, int rows, bool box,
                               Colour colour) {
  CallScope scope(*this);
  Surfaces s = take(windowRow, page, pageRow);
  HPEN pen = CreatePen(PS_SOLID, 1, colorOf(colour));
  const int w = geometry_.cellWidth, h = geometry_.cellHeight;
  auto draw = [&](HDC dc, int x, int y) {
    HGDIOBJ oldPen = SelectObject(dc, pen);
    if (box) {
      HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
      Rectangle(dc, x, y, x + cells * w + 1, y + rows * h + 1);
      SelectObject(dc, oldBrush);
    } else {
      MoveToEx(dc, x, y, nullptr);
      LineTo(dc, x + cells * w, y + rows * h);
    }
    SelectObject(dc, oldPen);
  };
  if (s.window != nullptr) {
    draw(s.window, areaX(column), areaY(windowRow));
    present(geometry_.pageX(column), geometry_.pageY(windowRow), cells * w + 1, rows * h + 1);
  }
  if (s.page != nullptr) draw(s.page, geometry_.pageX(column), geometry_.pageY(pageRow));
  DeleteObject(pen);
}

PageId Win32DrawTarget::createPage(Colour background) {
  CallScope scope(*this);
  HDC reference = windowDC();
  if (reference == nullptr) return 0;
  HBITMAP bitmap = CreateCompatibleBitmap(reference, geometry_.pageWidth(), geometry_.pageHeight());
  if (bitmap == nullptr) return 0;
  const PageId id = nextPage_++;
  pages_[id] = bitmap;
  if (HDC dc = pageDC(id)) fill(dc, RECT{0, 0, geometry_.pageWidth(), geometry_.pageHeight()}, background);
  return id;
}

void Win32DrawTarget::freePage(PageId page) {
  auto it = pages_.find(page);
  if (it == pages_.end()) return;
  if (selectedPage_ == page && page_dc_ != nullptr) {
    SelectObject(page_dc_, pageDefault_);
    selectedPage_ = 0;
  }
  if (scratch_dc_ != nullptr && scratchPage_ == page) {
    SelectObject(scratch_dc_, scratchDefault_);
    scratchPage_ = 0;
  }
  DeleteObject(it->second);
  pages_.erase(it);
}

void Win32DrawTarget::copyPageRow(PageId from, int fromRow, PageId to, int toRow) {
  CallScope scope(*this);
  const int h = geometry_.cellHeight, width = geometry_.pageWidth();
  if (from == to) {
    if (HDC dc = pageDC(to)) BitBlt(dc, 0, toRow * h, width, h, dc, 0, fromRow * h, SRCCOPY);
    return;
  }
  HDC source = scratchDC(from);
  HDC target = source != nullptr ? pageDC(to) : nullptr;
  if (target != nullptr) BitBlt(target, 0, toRow * h, width, h, source, 0, fromRow * h, SRCCOPY);
}

void Win32DrawTarget::scrollPageUp(PageId page) {
  CallScope scope(*this);
  const int h = geometry_.cellHeight;
  if (HDC dc = pageDC(page)) BitBlt(dc, 0, 0, geometry_.pageWidth(), (session::kRows - 1) * h, dc, 0, h, SRCCOPY);
}

void Win32DrawTarget::blankPageRow(PageId page, int row, Colour background) {
  CallScope scope(*this);
  const int h = geometry_.cellHeight;
  if (HDC dc = pageDC(page)) fill(dc, RECT{0, row * h, geometry_.pageWidth(), (row + 1) * h}, background);
}

void Win32DrawTarget::showPageRows(PageId page, int pageRow, int rowCount, int windowRow) {
  if (rowCount <= 0) return;
  CallScope scope(*this);
  HDC window = areaDC();
  HDC source = window != nullptr ? scratchDC(page) : nullptr;
  if (source == nullptr) return;
  const int h = geometry_.cellHeight;
  BitBlt(window, areaX(0), areaY(windowRow), geometry_.pageWidth(), rowCount * h, source, 0, pageRow * h, SRCCOPY);
  present(0, geometry_.pageY(windowRow), geometry_.pageWidth(), rowCount * h);
}

void Win32DrawTarget::stretchIntoPage(PageId page, int rows, const BITMAPINFO* info, const void* bits) {
  if (info == nullptr || bits == nullptr) return;
  CallScope scope(*this);
  HDC dc = pageDC(page);
  if (dc == nullptr) return;
  const LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, 0, 0, geometry_.pageWidth(), rows * geometry_.cellHeight, 0, 0, info->bmiHeader.biWidth, height,
                bits, info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace kesta::shell
