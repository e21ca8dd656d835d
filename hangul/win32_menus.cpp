// Hangul menus: every text item of a menu becomes a monochrome bitmap of its
// text drawn with the library's Hangul font; the bitmaps belong to the
// window's record.
#include <cstring>
#include <new>
#include <string>

#include "hangul/win32_registry.h"
#include "xlat/hxlat_import.h"

using namespace quilh32;

namespace {

constexpr UINT kNoBitmapStates = MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK | MF_BITMAP;  // 0x864
constexpr int kItemTextChars = 100;
constexpr char kDefaultMenuFace[] = "InternalGothic";

char g_menuFace[kFaceChars] = "InternalGothic";
int g_nextIndex = 0;  // next entry of the record's array while a menu is converted

int countItems(HMENU menu) {
  int count = 0;
  const int n = GetMenuItemCount(menu);
  for (int pos = 0; pos < n; ++pos) {
    if (HMENU sub = GetSubMenu(menu, pos)) {
      count += 1 + countItems(sub);
    } else if ((GetMenuState(menu, pos, MF_BYPOSITION) & kNoBitmapStates) == 0) {
      ++count;
    }
  }
  return count;
}

std::string itemText(HMENU menu, int pos, bool convert) {
  char text[kItemTextChars * 2 + 2] = {};
  GetMenuStringA(menu, pos, text, kItemTextChars + 1, MF_BYPOSITION);
  text[kItemTextChars] = 0;  // some systems fill the whole size given without room for the terminator
  if (convert) kesta::xlat::convertThroughDll(8, 1, text, sizeof text);
  return text;
}

void convertMenu(HMENU menu, HRegistration* r, bool convert) {
  const int n = GetMenuItemCount(menu);
  for (int pos = 0; pos < n; ++pos) {
    HMENU sub = GetSubMenu(menu, pos);
    const UINT state = GetMenuState(menu, pos, MF_BYPOSITION);
    if (sub == nullptr && (state & kNoBitmapStates) != 0) continue;
    HBITMAP bitmap = MakeHanMenuBitmap(itemText(menu, pos, convert).c_str());
    r->menuBitmaps[g_nextIndex++] = bitmap;
    if (sub != nullptr) {
      ModifyMenuA(menu, pos, MF_BYPOSITION | MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(sub),
                  reinterpret_cast<LPCSTR>(bitmap));
      convertMenu(sub, r, convert);
    } else {
      ModifyMenuA(menu, pos, (state & 0xFF) | MF_BYPOSITION | MF_BITMAP, GetMenuItemID(menu, pos),
                  reinterpret_cast<LPCSTR>(bitmap));
    }
  }
}

HMENU loadMenu(HWND window, HINSTANCE module, LPCSTR name, bool convert, bool draw) {
  HRegistration* r = findWindow(window);
  if (r == nullptr) return nullptr;
  if (module == nullptr) module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  EnterCriticalSection(&menuLock());
  g_nextIndex = r->menuBitmapCount;
  HMENU menu = LoadMenuA(module, name);
  if (menu == nullptr) {
    LeaveCriticalSection(&menuLock());
    return nullptr;
  }
  const int added = countItems(menu);
  auto* grown = new (std::nothrow) HBITMAP[static_cast<size_t>(r->menuBitmapCount) + added + 1];
  if (grown == nullptr) {
    LeaveCriticalSection(&menuLock());
    DestroyMenu(menu);
    return nullptr;
  }
  if (r->menuBitmapCount > 0) std::memcpy(grown, r->menuBitmaps, sizeof(HBITMAP) * r->menuBitmapCount);
  delete[] r->menuBitmaps;
  r->menuBitmaps = grown;
  convertMenu(menu, r, convert);
  r->menuBitmapCount = g_nextIndex;
  LeaveCriticalSection(&menuLock());
  if (draw) {
    SetMenu(window, menu);
    DrawMenuBar(window);
  }
  return menu;
}

// The text with its tabs expanded to the library's tab size.
std::string expanded(const std::string& s) {
  return kesta::hangul::expandTabs(reinterpret_cast<const uint8_t*>(s.data()), static_cast<int>(s.size()), tabSize());
}

// " text " with its tabs expanded: the menu item's margins.
std::string paddedText(LPCSTR text) { return expanded(" " + std::string(text != nullptr ? text : "") + " "); }

// The string bitmap's Hangul font: by face name, else by header, else the menu face.
void selectStringFont(HDC dc, LPCSTR face, QuilFontHeader* header) {
  if (face != nullptr && HSelectHangulObject(dc, face, nullptr)) return;
  if (header != nullptr && HSelectHangulObject(dc, nullptr, header)) return;
  HSelectHangulObject(dc, g_menuFace, nullptr);
}

}  // namespace

QUILH32_API HMENU WINAPI LoadHangulMenu(HWND w, LPCSTR name) { return loadMenu(w, nullptr, name, false, false); }
QUILH32_API HMENU WINAPI LoadAndDrawMenu(HWND w, LPCSTR name) { return loadMenu(w, nullptr, name, false, true); }
QUILH32_API HMENU WINAPI LoadHangulMenuFromDLL(HWND w, HINSTANCE m, LPCSTR name) {
  return loadMenu(w, m, name, false, false);
}
QUILH32_API HMENU WINAPI LoadAndDrawMenuFromDLL(HWND w, HINSTANCE m, LPCSTR name) {
  return loadMenu(w, m, name, false, true);
}
QUILH32_API HMENU WINAPI WLoadHangulMenu(HWND w, LPCSTR name) { return loadMenu(w, nullptr, name, true, false); }
QUILH32_API HMENU WINAPI WLoadAndDrawMenu(HWND w, LPCSTR name) { return loadMenu(w, nullptr, name, true, true); }
QUILH32_API HMENU WINAPI WLoadHangulMenuFromDLL(HWND w, HINSTANCE m, LPCSTR name) {
  return loadMenu(w, m, name, true, false);
}
QUILH32_API HMENU WINAPI WLoadAndDrawMenuFromDLL(HWND w, HINSTANCE m, LPCSTR name) {
  return loadMenu(w, m, name, true, true);
}

QUILH32_API void WINAPI HDestroyMenuBitmaps(HWND window) {
  HRegistration* r = findWindow(window);
  if (r == nullptr) return;
  for (int i = 0; i < r->menuBitmapCount; ++i) DeleteObject(r->menuBitmaps[i]);
  delete[] r->menuBitmaps;
  r->menuBitmaps = nullptr;
  r->menuBitmapCount = 0;
}

QUILH32_API HBITMAP WINAPI MakeHanMenuBitmap(LPCSTR text) {
  const std::string s = paddedText(text);
  HDC display = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return nullptr;
  HSelectHangulObject(display, g_menuFace, nullptr);
  const DWORD extent = HGetTextExtent(display, s.c_str(), static_cast<int>(s.size()));
  const int w = LOWORD(extent), h = HIWORD(extent);
  HBITMAP bitmap = CreateBitmap(w > 0 ? w : 1, h > 0 ? h : 1, 1, 1, nullptr);
  HDC memory = HCreateCompatibleDC(display);
  if (bitmap == nullptr || memory == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) HDeleteDC(memory);
    HDeleteDC(display);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  const COLORREF oldText = SetTextColor(memory, GetSysColor(COLOR_MENUTEXT));
  const COLORREF oldBk = SetBkColor(memory, GetSysColor(COLOR_MENU));
  RECT rect{0, 0, w, h};
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_MENU));
  FillRect(memory, &rect, brush);
  HDrawText(memory, s.c_str(), -1, &rect, DT_CENTER | DT_EXPANDTABS);
  SetTextColor(memory, oldText);
  SetBkColor(memory, oldBk);
  SelectObject(memory, old);
  DeleteObject(brush);
  HDeleteDC(memory);
  HDeleteDC(display);
  return bitmap;
}

QUILH32_API HBITMAP WINAPI MakeHanStrBitmap(LPCSTR text, LPCSTR face, QuilFontHeader* header) {
  const std::string body = expanded(text != nullptr ? text : "");
  HDC display = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return nullptr;
  selectStringFont(display, face, header);
  const DWORD extent = HGetTextExtent(display, body.c_str(), static_cast<int>(body.size()));
  const int w = LOWORD(extent), h = HIWORD(extent);
  HBITMAP bitmap = CreateBitmap(w > 0 ? w : 1, h > 0 ? h : 1, 1, 1, nullptr);
  HDC memory = HCreateCompatibleDC(display);
  if (bitmap != nullptr && memory != nullptr) {
    selectStringFont(memory, face, header);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HTextOut(memory, 0, 0, body.c_str(), static_cast<int>(body.size()));
    SelectObject(memory, old);
  }
  if (memory != nullptr) HDeleteDC(memory);
  HDeleteDC(display);
  return bitmap;
}

QUILH32_API LPSTR WINAPI SetMenuHangulFont(LPCSTR face) {
  if (face != nullptr) {
    std::strncpy(g_menuFace, face, kFaceChars - 1);
    g_menuFace[kFaceChars - 1] = 0;
  }
  return g_menuFace;
}

QUILH32_API LPSTR WINAPI RestoreMenuHangulFont(void) {
  std::strcpy(g_menuFace, kDefaultMenuFace);
  return g_menuFace;
}
