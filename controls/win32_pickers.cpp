// HanjaInput and SpecialInput: a grid of Hangul buttons in a modal dialog,
// returning the code of the one pressed; GetFontInfo finds the cell size.
#include <cstring>
#include <vector>

#include "controls/dialog_template.h"
#include "controls/hanja_table.h"
#include "controls/hctl.h"
#include "controls/win32_buttons.h"
#include "controls/win32_faces.h"
#include "controls/win32_library.h"
#include "controls/win32_templates.h"
#include "hangul/quilh32.h"

using namespace hctl;

namespace {

constexpr DWORD kPickerStyle = 0x80C80080;
constexpr DWORD kHanjaButtonStyle = 0x40010000;   // WS_CHILD | WS_TABSTOP
constexpr DWORD kSpecialButtonStyle = 0x50010000;  // and WS_VISIBLE
constexpr WORD kFirstSpecial = 0xD480;
constexpr int kSpecialCount = 128;

// The cell size GetFontInfo found (the last match of the enumeration).
int g_cellWidth = 0, g_cellHeight = 0;

bool hangulCellSize(HWND owner, int* width, int* height) {
  g_cellWidth = g_cellHeight = 0;
  HDC dc = HGetDC(owner);
  HEnumFonts(dc, GetFontInfo, 1, const_cast<char*>("InternalGothic"));
  if (dc != nullptr) HReleaseDC(owner, dc);
  *width = g_cellWidth;
  *height = g_cellHeight;
  return *width > 0 && *height > 0;
}

// Labels in the combination code, set after creation: the template's texts
// pass through the ANSI code page, and the symbols have no code page 949 form.
void setCodeTexts(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const WORD id = static_cast<WORD>(GetWindowLongPtrA(child, GWLP_ID));
    if (id >= 0x8000) setCodeLabel(child, id);
  }
}

}  // namespace

HCTL_API int WINAPI GetFontInfo(void*, QuilFontHeader* header, LPARAM kind, void* face) {
  if (header == nullptr) return 0;
  const char* name = static_cast<const char*>(face);
  if (name != nullptr && header->kind == kind && strncmp(header->faceName, name, sizeof header->faceName) == 0) {
    g_cellWidth = header->cellWidth;
    g_cellHeight = header->cellHeight;
  }
  return 1;
}

HCTL_API int WINAPI HanjaInput(HWND owner, WORD syllable) {
  const auto row = kesta::controls::findReading(syllable);
  if (!row) return 0;
  int cw = 0, ch = 0;
  if (!hangulCellSize(owner, &cw, &ch)) return 0;
  const int bw = cw + 8, bh = ch + 8;
  DWORD size = 0;
  void* block = CreateDialogHeader(kPickerStyle, 0, &size, 0, 0, cw * 8 + 64, bh * (row->count / 8 + 1), nullptr,
                                   HCTL_PREFIX "DLG", "Hanja Input Dialog");
  if (block == nullptr) return 0;
  for (int i = 0; i < row->count; ++i) {
    const uint16_t code = kesta::controls::hanjaCode(row->first + i);
    const char text[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 0};
    void* grown = CreateDialogItem(block, &size, code, kHanjaButtonStyle, 0, HCTL_PREFIX "Button", (i % 8) * bw,
                                   (i / 8) * bh, bw, bh, text);
    if (grown == nullptr) {
      GlobalFree(block);
      return 0;
    }
    block = grown;
  }
  const int result = runTemplate(moduleOf(owner), block, owner, HanjaInputDlgFn, 0);
  GlobalFree(block);
  return result & 0xFFFF;
}

HCTL_API INT_PTR WINAPI HanjaInputDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      placeDialog(dialog);
      setCodeTexts(dialog);
      return 1;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return 0;
    default:
      return 0;
  }
}

HCTL_API int WINAPI SpecialInput(HWND owner, LPCSTR face) {
  // The face is kept bounded; none means the built-in symbol font.
  char faceCopy[kFaceBytes] = "KSSpecial";
  if (face != nullptr) {
    size_t n = 0;
    while (n < kFaceBytes - 1 && face[n] != 0) ++n;
    std::memcpy(faceCopy, face, n);
    faceCopy[n] = 0;
  }
  int cw = 0, ch = 0;
  if (!hangulCellSize(owner, &cw, &ch)) return 0;
  const int bw = cw + 8, bh = ch + 8;
  const kesta::controls::BaseUnits units = baseUnits();
  // Header and items in one movable block, built whole before it is allocated.
  std::vector<uint8_t> bytes =
      kesta::controls::dialogHeader(kPickerStyle, 0, {0, 0, bw * 16, bh * 8}, units, u"", u"", u"Special Input Dialog");
  kesta::controls::setTemplateItemCount(bytes, kSpecialCount);
  const std::u16string buttonClass = ansiToUtf16(HCTL_PREFIX "Button");
  for (int i = 0; i < kSpecialCount; ++i) {
    const char text[3] = {static_cast<char>(0xD4), static_cast<char>(0x80 + i), 0};
    const auto item = kesta::controls::dialogItem(static_cast<uint16_t>(kFirstSpecial + i), kSpecialButtonStyle, 0,
                                                  {(i % 16) * bw, (i / 16) * bh, bw, bh}, units, buttonClass,
                                                  ansiToUtf16(text));
    bytes.insert(bytes.end(), item.begin(), item.end());
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
  if (block == nullptr) {
    MessageBoxA(nullptr, "GlobalAlloc error in SpecialInput2", "ERROR", MB_OK);
    return 0;
  }
  void* locked = GlobalLock(block);
  if (locked == nullptr) {
    MessageBoxA(nullptr, "GlobalLock error in SpecialInput2", "ERROR", MB_OK);
    GlobalFree(block);
    return 0;
  }
  std::memcpy(locked, bytes.data(), bytes.size());
  const int result = runTemplate(moduleOf(owner), locked, owner, SpecialInputDlgFn, reinterpret_cast<LPARAM>(faceCopy));
  GlobalUnlock(block);
  GlobalFree(block);
  return result & 0xFFFF;
}

HCTL_API INT_PTR WINAPI SpecialInputDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      placeDialog(dialog);
      for (int i = 0; i < kSpecialCount; ++i)
        SendDlgItemMessageA(dialog, kFirstSpecial + i, g_messages.special, 2, lParam);
      setCodeTexts(dialog);
      return 1;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return 0;
    default:
      return 0;
  }
}
