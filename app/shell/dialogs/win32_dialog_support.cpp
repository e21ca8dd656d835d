#include "app/shell/dialogs/win32_dialog_support.h"

#include <algorithm>

#include "app/shell/dialogs/text_cut.h"
#include "app/shell/window/win32_text.h"
#include "hangul/quilh32.h"

namespace kesta::shell {

void centreDialog(HWND dialog) {
  RECT area{};
  HWND desktop = GetDesktopWindow();
  HWND around = desktop != nullptr ? desktop : GetParent(dialog);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  int cx = screenW / 2, cy = screenH / 2;
  if (around != nullptr && !IsIconic(around) && GetWindowRect(around, &area)) {
    cx = (area.left + area.right) / 2;
    cy = (area.top + area.bottom) / 2;
  }
  RECT own{};
  GetWindowRect(dialog, &own);
  const int halfW = (own.right - own.left) / 2, halfH = (own.bottom - own.top) / 2;
  // Half the dialog's size from every screen edge keeps it wholly visible.
  if (cx + halfW > screenW) cx = screenW - halfW;
  if (cy + halfH > screenH) cy = screenH - halfH;
  if (cx < halfW) cx = halfW;
  if (cy < halfH) cy = halfH;
  SetWindowPos(dialog, nullptr, cx - halfW, cy - halfH, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR dialogColours(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CTLCOLOREDIT:  // text fields stay white, as the Hangul line edit draws its text on white
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetStockObject(LTGRAY_BRUSH));
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(GetStockObject(LTGRAY_BRUSH));
    default:
      return 0;
  }
}

std::wstring controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return {};
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void setUtf8Text(HWND dialog, int id, std::string_view utf8) { SetDlgItemTextW(dialog, id, widen(utf8).c_str()); }

std::wstring fromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

std::string toAnsi(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ansiText(HWND dialog, int id) { return toAnsi(controlText(dialog, id)); }

void setAnsiText(HWND dialog, int id, std::string_view ansi) { SetDlgItemTextW(dialog, id, fromAnsi(ansi).c_str()); }

std::string internalText(HWND dialog, int id, std::size_t limit) {
  std::string text(limit + 1, '\0');
  const UINT got = GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size()));
  return cutAtCharacter(text, std::min<std::size_t>(got, limit));
}

void setInternalText(HWND dialog, int id, std::string_view internal) {
  SetDlgItemTextA(dialog, id, std::string(internal).c_str());
}

void prepareHangulEdit(HWND dialog, int id, std::size_t limit, int keyboard) {
  HWND edit = GetDlgItem(dialog, id);
  if (edit == nullptr) return;
  SendMessageA(edit, EM_LIMITTEXT, limit, 0);
  SetKbdType(edit, keyboard);
}

void fillList(HWND dialog, int id, const std::vector<std::string>& items, int selected, bool dropDown) {
  const UINT reset = dropDown ? CB_RESETCONTENT : LB_RESETCONTENT;
  const UINT add = dropDown ? CB_ADDSTRING : LB_ADDSTRING;
  const UINT select = dropDown ? CB_SETCURSEL : LB_SETCURSEL;
  SendDlgItemMessageW(dialog, id, reset, 0, 0);
  for (const std::string& item : items)
    SendDlgItemMessageW(dialog, id, add, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
  SendDlgItemMessageW(dialog, id, select, static_cast<WPARAM>(selected), 0);
}

int selectedItem(HWND dialog, int id, bool dropDown) {
  const LRESULT item = SendDlgItemMessageW(dialog, id, dropDown ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  return item < 0 ? -1 : static_cast<int>(item);
}

}  // namespace kesta::shell
