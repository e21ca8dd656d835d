#include "controls/win32_images.h"

#include "controls/win32_library.h"

namespace hctl {

HBITMAP loadNamedBitmap(HINSTANCE owner, const char* name) {
  HBITMAP bitmap = nullptr;
  if (name != nullptr && *name != 0) {
    if (owner != nullptr && owner != g_module) bitmap = LoadBitmapA(owner, name);
    if (bitmap == nullptr) bitmap = LoadBitmapA(g_module, name);
  }
  return bitmap != nullptr ? bitmap : LoadBitmapA(g_module, "DefaultBitmap");
}

HICON loadNamedIcon(HINSTANCE owner, const char* name) {
  HICON icon = nullptr;
  if (name != nullptr && *name != 0) {
    if (owner != nullptr && owner != g_module) icon = LoadIconA(owner, name);
    if (icon == nullptr) icon = LoadIconA(g_module, name);
  }
  return icon != nullptr ? icon : LoadIconA(g_module, "DefaultIcon");
}

HBITMAP loadButtonFace(HINSTANCE owner, int id, int base) {
  const int number = id + base;
  HBITMAP bitmap = nullptr;
  if (number > 0 && number < 0x10000) {
    bitmap = LoadBitmapA(g_module, MAKEINTRESOURCEA(number));
    if (bitmap == nullptr && owner != nullptr && owner != g_module) bitmap = LoadBitmapA(owner, MAKEINTRESOURCEA(number));
  }
  return bitmap != nullptr ? bitmap : LoadBitmapA(g_module, MAKEINTRESOURCEA(base));
}

SIZE bitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

void drawBitmap(HDC dc, int x, int y, HBITMAP bitmap, DWORD rop) {
  if (bitmap == nullptr) return;
  const SIZE size = bitmapSize(bitmap);
  HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return;
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, rop);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace hctl
