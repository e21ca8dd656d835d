#include "controls/win32_draw.h"

namespace hctl {

void fillColour(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void drawFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    const LONG l = rect.left + i, t = rect.top + i, r = rect.right - 1 - i, b = rect.bottom - 1 - i;
    if (r <= l || b <= t) break;
    fillColour(dc, RECT{l, t, r, t + 1}, topLeft);
    fillColour(dc, RECT{l, t, l + 1, b}, topLeft);
    fillColour(dc, RECT{l, b, r + 1, b + 1}, bottomRight);
    fillColour(dc, RECT{r, t, r + 1, b}, bottomRight);
  }
}

void drawOutline(HDC dc, const RECT& rect, COLORREF colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  fillColour(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, colour);
  fillColour(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  fillColour(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  fillColour(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

}  // namespace hctl
