// Wrappers around the system's DC functions that keep the registry in step:
// a DC obtained for a registered window draws with that window's fonts.
#include "hangul/win32_registry.h"

using namespace quilh32;

namespace {

// A DC just obtained for `window`: shares the window record when its slot is
// free, else gets a record of its own with the window's fonts. A null window
// registers the DC alone. Returns false when the window is not registered.
bool adoptDC(HWND window, HDC dc) {
  if (window == nullptr) {
    RegisterDC(dc);
    return true;
  }
  HRegistration* r = findWindow(window);
  if (r == nullptr) return false;
  if (!takeDCSlot(r, dc)) registerCopy(dc, *r);
  return true;
}

int releaseRecordOf(HDC dc) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  if (r->window != nullptr && IsWindow(r->window)) clearDCSlot(r);
  else unregister(r);
  return 1;
}

}  // namespace

QUILH32_API HDC WINAPI HGetDC(HWND window) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return nullptr;
  if (!adoptDC(window, dc)) {
    ReleaseDC(window, dc);
    return nullptr;
  }
  return dc;
}

QUILH32_API HDC WINAPI HGetWindowDC(HWND window) {
  if (window == nullptr) return nullptr;
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return nullptr;
  if (!adoptDC(window, dc)) {
    ReleaseDC(window, dc);
    return nullptr;
  }
  return dc;
}

QUILH32_API HDC WINAPI HBeginPaint(HWND window, PAINTSTRUCT* paint) {
  if (paint == nullptr) return nullptr;
  HDC dc = BeginPaint(window, paint);
  if (dc == nullptr) return nullptr;
  if (window == nullptr || findWindow(window) == nullptr) {
    EndPaint(window, paint);
    paint->hdc = nullptr;
    return nullptr;
  }
  adoptDC(window, dc);
  return dc;
}

QUILH32_API int WINAPI HReleaseDC(HWND window, HDC dc) {
  ReleaseDC(window, dc);
  return releaseRecordOf(dc);
}

QUILH32_API int WINAPI HEndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return 0;
  EndPaint(window, paint);
  return releaseRecordOf(paint->hdc);
}

QUILH32_API HDC WINAPI HCreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode) {
  HDC dc = CreateDCA(driver, device, output, mode);
  if (dc != nullptr) RegisterDC(dc);
  return dc;
}

QUILH32_API HDC WINAPI HCreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode) {
  HDC dc = CreateICA(driver, device, output, mode);
  if (dc != nullptr) RegisterDC(dc);
  return dc;
}

QUILH32_API int WINAPI HDeleteDC(HDC dc) {
  const int result = UnregisterDC(dc);
  DeleteDC(dc);
  return result;
}

QUILH32_API HDC WINAPI HCreateCompatibleDC(HDC source) {
  HDC dc = CreateCompatibleDC(source);
  if (dc == nullptr) return nullptr;
  HRegistration* from = findDC(source);
  if (from == nullptr) {
    DeleteDC(dc);
    return nullptr;
  }
  HRegistration* r = registerNew(nullptr, dc, nullptr);
  if (r == nullptr) {
    DeleteDC(dc);
    return nullptr;
  }
  selectByName(r, Slot::Special, from->special.face);
  selectByName(r, Slot::Hangul, from->hangul.face);
  selectByName(r, Slot::Kssm, from->kssm.face);
  selectByName(r, Slot::English, from->english.face);
  selectHanja(r, from->hanjaFile, from->hanjaWidth, from->hanjaHeight);
  return dc;
}
