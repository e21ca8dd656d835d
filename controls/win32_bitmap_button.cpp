// "HCTLBitmapButton": a push button drawn with three bitmaps chosen by its
// identifier. Words: 0 state bits, 1 the block of bitmaps.
#include <new>

#include "controls/button_state.h"
#include "controls/hctl.h"
#include "controls/win32_buttons.h"
#include "controls/win32_draw.h"
#include "controls/win32_faces.h"
#include "controls/win32_images.h"
#include "controls/win32_library.h"

using namespace hctl;
namespace push = kesta::controls::push;

namespace {

constexpr int kStateSlot = 0, kFacesSlot = 1;
constexpr DWORD kHalftoneRop = 0xA803A9;  // D & (P | S): the bitmap where the pattern is clear

struct Bitmaps {
  HBITMAP normal = nullptr, pushed = nullptr, focused = nullptr;
};

Bitmaps* bitmapsOf(HWND window) { return reinterpret_cast<Bitmaps*>(GetWindowLongPtrA(window, slot(kFacesSlot))); }

void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  const uint32_t state = stateOf(window, kStateSlot);
  RECT client;
  GetClientRect(window, &client);
  drawOutline(dc, client, (state & push::kDefault) ? kBlack : kWhite);
  Bitmaps* b = bitmapsOf(window);
  HBITMAP face = nullptr;
  if (b != nullptr) {
    if (kesta::controls::pushShowsPushed(state)) face = b->pushed;
    else if (state & push::kFocused) face = b->focused;
    else face = b->normal;
  }
  if (state & push::kDisabled) {
    RECT inner = {1, 1, client.right - 1, client.bottom - 1};
    fillColour(dc, inner, kLightGrey);
    HBITMAP pattern = LoadBitmapA(g_module, MAKEINTRESOURCEA(kHalftoneBitmap));
    HBRUSH brush = pattern != nullptr ? CreatePatternBrush(pattern) : nullptr;
    HGDIOBJ old = brush != nullptr ? SelectObject(dc, brush) : nullptr;
    drawBitmap(dc, 1, 1, face, brush != nullptr ? kHalftoneRop : SRCAND);
    if (old != nullptr) SelectObject(dc, old);
    if (brush != nullptr) DeleteObject(brush);
    if (pattern != nullptr) DeleteObject(pattern);
  } else {
    drawBitmap(dc, 1, 1, face, SRCCOPY);
  }
  EndPaint(window, &ps);
}

void create(HWND window, const CREATESTRUCTA* create) {
  Bitmaps* b = new (std::nothrow) Bitmaps;
  SetWindowLongPtrA(window, slot(kFacesSlot), reinterpret_cast<LONG_PTR>(b));
  const int id = static_cast<int>(GetWindowLongPtrA(window, GWLP_ID));
  HINSTANCE owner = create->hInstance;
  if (b != nullptr) {
    b->normal = loadButtonFace(owner, id, kNormalBase);
    b->pushed = loadButtonFace(owner, id, kPushedBase);
    b->focused = loadButtonFace(owner, id, kFocusedBase);
    const SIZE size = bitmapSize(b->pushed);
    if (size.cx > 0 && size.cy > 0)
      SetWindowPos(window, nullptr, 0, 0, size.cx + 2, size.cy + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  uint32_t state = 0;
  if ((create->style & 0xF) == BS_DEFPUSHBUTTON) state |= push::kDefault;
  if (create->style & WS_DISABLED) state |= push::kDisabled;
  SetWindowLongPtrA(window, slot(kStateSlot), static_cast<LONG_PTR>(state));
}

void destroy(HWND window) {
  Bitmaps* b = bitmapsOf(window);
  SetWindowLongPtrA(window, slot(kFacesSlot), 0);
  if (b == nullptr) return;
  for (HBITMAP bitmap : {b->normal, b->pushed, b->focused})
    if (bitmap != nullptr) DeleteObject(bitmap);
  delete b;
}

}  // namespace

HCTL_API LRESULT WINAPI HCTL_FN(BitmapButtonWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      create(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      notifyParent(window, WM_CREATE);
      return 0;
    case WM_DESTROY:
      notifyParent(window, WM_DESTROY);
      destroy(window);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default: {
      LRESULT result = 0;
      if (handlePushMessage(window, kStateSlot, message, wParam, lParam, &result)) return result;
      return DefWindowProcA(window, message, wParam, lParam);
    }
  }
}
