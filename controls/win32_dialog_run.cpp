#include "controls/win32_library.h"
#include "controls/win32_templates.h"

namespace hctl {

int runTemplate(HINSTANCE module, const void* dialogTemplate, HWND owner, DLGPROC procedure, LPARAM value) {
  const INT_PTR result = DialogBoxIndirectParamA(module, static_cast<LPCDLGTEMPLATEA>(dialogTemplate), owner,
                                                 procedure, value);
  return result == -1 ? 0 : static_cast<int>(result);
}

HINSTANCE moduleOf(HWND owner) {
  if (owner != nullptr && IsWindow(owner)) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    if (module != nullptr) return module;
  }
  return g_module;
}

void placeDialog(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 3;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace hctl
