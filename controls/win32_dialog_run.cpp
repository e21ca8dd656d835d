#include "controls/win32_library.h"
#include "controls/win32_templates.h"
#include "xlat/xlat.h"

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

std::string ownCodeText(uint16_t code) {
  const std::string bytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
#ifdef HCTL_WIDE
  return kesta::xlat::convert(kesta::xlat::Code::Johab, kesta::xlat::Code::Cp949, bytes);
#else
  return bytes;
#endif
}

}  // namespace hctl
