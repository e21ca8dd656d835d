// The dialog classes "HCTLDlg" and "HCTLMsgBoxDlg": the default dialog
// procedure with a background of the class brush and a three-dimensional frame.
#include "controls/hctl.h"
#include "controls/win32_draw.h"

HCTL_API LRESULT WINAPI HCTL_FN(DlgProc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client;
      GetClientRect(window, &client);
      HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
      if (brush == nullptr) brush = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
      // Patterned brushes line up between windows when anchored to the screen.
      POINT origin = {0, 0};
      ClientToScreen(window, &origin);
      POINT old;
      SetBrushOrgEx(dc, origin.x, origin.y, &old);
      FillRect(dc, &client, brush);
      SetBrushOrgEx(dc, old.x, old.y, nullptr);
      hctl::drawFrame(dc, client, hctl::kLightGrey, hctl::kDarkGrey, 2);
      return 1;
    }
    default:
      return DefDlgProcA(window, message, wParam, lParam);
  }
}
