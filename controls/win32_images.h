// The library's images and their look-up order.
#pragma once

#include <windows.h>

namespace hctl {

// Resource numbers and names of the library's images.
inline constexpr int kHalftoneBitmap = 100;
inline constexpr int kNormalBase = 1000, kPushedBase = 3000, kFocusedBase = 5000;

// A bitmap or icon named by a static's text: from the window's module, else
// the library, else the library's "DefaultBitmap" / "DefaultIcon".
HBITMAP loadNamedBitmap(HINSTANCE owner, const char* name);
HICON loadNamedIcon(HINSTANCE owner, const char* name);
// A bitmap button face: number id + base from the library, else from the
// window's module, else the library's generic face (base itself).
HBITMAP loadButtonFace(HINSTANCE owner, int id, int base);

// Copies the whole bitmap to (x, y) with the raster operation.
void drawBitmap(HDC dc, int x, int y, HBITMAP bitmap, DWORD rop);
SIZE bitmapSize(HBITMAP bitmap);

}  // namespace hctl
