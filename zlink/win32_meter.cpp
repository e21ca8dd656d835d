#include "zlink/win32_meter.h"

#include <cstdio>

namespace kesta::zlink {

namespace {

// Window extra bytes: range, position (32 bits each), then the font.
constexpr int kRangeOffset = 0;
constexpr int kPositionOffset = 4;
constexpr int kFontOffset = 8;
constexpr int kExtraBytes = 8 + sizeof(LONG_PTR);

LONG getLong(HWND w, int offset) { return static_cast<LONG>(GetWindowLongA(w, offset)); }

void paintMeter(HWND w, HDC dc) {
  RECT client;
  GetClientRect(w, &client);
  long long range = getLong(w, kRangeOffset);
  long long position = getLong(w, kPositionOffset);
  if (range <= 0) {  // an empty meter shows 0% and no bar
    range = 1;
    position = 0;
  }
  if (position < 0) position = 0;
  if (position > range) position = range;
  int percent = static_cast<int>(position * 100 / range);
  int width = client.right - client.left;
  int barEnd = client.left + static_cast<int>(width * position / range);

  HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrA(w, kFontOffset));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  char text[16];
  int length = std::snprintf(text, sizeof text, "%d%%", percent);
  SIZE textSize{}, xSize{};
  GetTextExtentPoint32A(dc, text, length, &textSize);
  GetTextExtentPoint32A(dc, "X", 1, &xSize);
  int x = client.left + (width - textSize.cx) / 2;
  int y = client.top + (client.bottom - client.top - xSize.cy) / 2;

  COLORREF window = GetSysColor(COLOR_WINDOW);
  COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
  RECT bar{client.left, client.top, barEnd, client.bottom};
  RECT rest{barEnd, client.top, client.right, client.bottom};
  SetBkMode(dc, OPAQUE);
  if (bar.right > bar.left) {
    SetBkColor(dc, windowText);
    SetTextColor(dc, window);
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &bar, text, static_cast<UINT>(length), nullptr);
  }
  if (rest.right > rest.left) {
    SetBkColor(dc, window);
    SetTextColor(dc, windowText);
    ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rest, text, static_cast<UINT>(length), nullptr);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

LRESULT CALLBACK meterProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetWindowLongA(w, kRangeOffset, 100);
      SetWindowLongA(w, kPositionOffset, 0);
      SetWindowLongPtrA(w, kFontOffset, 0);
      return 0;
    case kMeterSetRange:
      SetWindowLongA(w, kRangeOffset, static_cast<LONG>(lParam));
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case kMeterGetRange:
      return getLong(w, kRangeOffset);
    case kMeterSetPosition:
      SetWindowLongA(w, kPositionOffset, static_cast<LONG>(lParam));
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case kMeterGetPosition:
      return getLong(w, kPositionOffset);
    case WM_SETFONT:
      SetWindowLongPtrA(w, kFontOffset, static_cast<LONG_PTR>(wParam));
      if (lParam) InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(w, kFontOffset);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ENABLE:
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PRINTCLIENT:
      paintMeter(w, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      paintMeter(w, dc);
      EndPaint(w, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(w, message, wParam, lParam);
  }
}

}  // namespace

bool registerMeterClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  wc.lpfnWndProc = meterProc;
  wc.cbWndExtra = kExtraBytes;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kMeterClass;
  return RegisterClassA(&wc) != 0;
}

void unregisterMeterClass(HINSTANCE instance) { UnregisterClassA(kMeterClass, instance); }

}  // namespace kesta::zlink
