// Small GDI drawing helpers shared by the controls.
#pragma once

#include <windows.h>

namespace hctl {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kLightGrey = RGB(192, 192, 192);
inline constexpr COLORREF kDarkGrey = RGB(128, 128, 128);

// Fills the rectangle with one colour.
void fillColour(HDC dc, const RECT& rect, COLORREF colour);
// A frame `width` pixels thick inside `rect`: `topLeft` on the top and left
// edges, `bottomRight` on the others (raised: light then dark; sunken: the reverse).
void drawFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight, int width);
// A one-pixel rectangle outline.
void drawOutline(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace hctl
