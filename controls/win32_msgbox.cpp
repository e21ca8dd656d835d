// HMessageBox, WMessageBox and MsgBoxDlgFn: the Hangul message box, built as
// an in-memory template of the library's classes and run modally.
#include <algorithm>
#include <cstdint>
#include <string>

#include "controls/hctl.h"
#include "controls/msgbox_layout.h"
#include "controls/win32_faces.h"
#include "controls/win32_library.h"
#include "controls/win32_templates.h"
#include "hangul/text_layout.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

using namespace hctl;
using kesta::controls::MsgBoxLayout;

namespace {

// Handed to the dialog: its text is set after creation, in the library's own
// code, because the template's texts pass through the ANSI code page.
struct MsgBoxParams {
  const char* text;
};

// The text's extent wrapped at the measuring width. DrawText's calculation
// gives the height but keeps the right edge, so the width is the widest of
// the same lines, measured in the combination code.
SIZE measure(const std::string& text) {
  SIZE size = {0, 0};
  HDC dc = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  if (dc == nullptr) return size;
  HSelectEnglishObject(dc, "InternalMokraGothic", nullptr);
  RECT r = {0, 0, kesta::controls::kMeasureWidth, kesta::controls::kMeasureHeight};
  drawText(dc, text, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
#ifdef HCTL_WIDE
  const std::string johab = kesta::xlat::convertThroughDll(8, 1, text);
#else
  const std::string& johab = text;
#endif
  const auto* bytes = reinterpret_cast<const uint8_t*>(johab.data());
  const auto width = [dc](const uint8_t* p, int n) {
    SIZE s = {0, 0};
    HGetTextExtentPoint32(dc, reinterpret_cast<LPCSTR>(p), n, &s);
    return static_cast<int>(s.cx);
  };
  int widest = 0;
  for (const auto& line : kesta::hangul::layoutLines(bytes, static_cast<int>(johab.size()),
                                                     kesta::controls::kMeasureWidth, true, width)) {
    int n = line.length;
    while (n > 0 && (bytes[line.offset + n - 1] == ' ' || bytes[line.offset + n - 1] == '\r')) --n;
    widest = std::max(widest, width(bytes + line.offset, n));
  }
  HDeleteDC(dc);
  size.cx = std::min(widest, static_cast<int>(kesta::controls::kMeasureWidth));
  size.cy = r.bottom - r.top;
  return size;
}

// Appends one item; false (and the template freed) when the block cannot grow.
bool addItem(void*& block, DWORD& size, WORD id, DWORD style, const char* cls, const kesta::controls::PixelRect& r,
             const char* text) {
  void* grown = CreateDialogItem(block, &size, id, style, 0, cls, r.x, r.y, r.cx, r.cy, text);
  if (grown == nullptr) {
    GlobalFree(block);
    block = nullptr;
    return false;
  }
  block = grown;
  return true;
}

// The box itself, text in this build's own code.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  const std::string body = text != nullptr ? text : "";
  const SIZE measured = measure(body);
  const MsgBoxLayout m = kesta::controls::layoutMessageBox(measured.cx, measured.cy, type);
  DWORD size = 0;
  void* block = CreateDialogHeader(m.style, 0, &size, 0, 0, m.templateWidth(), m.templateHeight(), nullptr,
                                   HCTL_PREFIX "MsgBoxDlg", caption != nullptr ? caption : "Error");
  if (block == nullptr) return 0;
  const char* staticClass = HCTL_PREFIX "Static";
  if (!addItem(block, size, 0xFFFF, kesta::controls::kPanelStyle, staticClass, m.panel, "")) return 0;
  if (m.hasIcon && !addItem(block, size, 0xFFFF, kesta::controls::kIconStyle, staticClass, m.icon, m.iconName))
    return 0;
  if (!addItem(block, size, 0xFFFF, kesta::controls::kSeparatorStyle, staticClass, m.separator, "")) return 0;
  if (!addItem(block, size, kesta::controls::kTextId, kesta::controls::kTextStyle, staticClass, m.text, ""))
    return 0;
  for (int i = 0; i < m.buttonCount; ++i) {
    const DWORD style = kesta::controls::kButtonStyle | (m.buttons[i].isDefault ? BS_DEFPUSHBUTTON : 0);
    if (!addItem(block, size, m.buttons[i].id, style, HCTL_PREFIX "BitmapButton", m.buttons[i].rect,
                 m.buttons[i].label))
      return 0;
  }
  MsgBoxParams params{body.c_str()};
  const int result = runTemplate(moduleOf(owner), block, owner, MsgBoxDlgFn, reinterpret_cast<LPARAM>(&params));
  GlobalFree(block);
  return result;
}

std::string convertText(const char* text, int fromType, int toType) {
  if (text == nullptr) return {};
  return kesta::xlat::convertThroughDll(fromType, toType, text);
}

}  // namespace

// HCTL32 builds the box from the combination code; HCTLW32 from code page 949.
HCTL_API int WINAPI HMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
#ifdef HCTL_WIDE
  if (text == nullptr) return WMessageBox(owner, text, caption, type);
  const std::string converted = convertText(text, 1, 8);
  return WMessageBox(owner, converted.c_str(), caption, type);
#else
  return showMessageBox(owner, text, caption, type);
#endif
}

HCTL_API int WINAPI WMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
#ifdef HCTL_WIDE
  return showMessageBox(owner, text, caption, type);
#else
  if (text == nullptr) return HMessageBox(owner, text, caption, type);
  const std::string converted = convertText(text, 8, 1);
  return HMessageBox(owner, converted.c_str(), caption, type);
#endif
}

HCTL_API INT_PTR WINAPI MsgBoxDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* params = reinterpret_cast<const MsgBoxParams*>(lParam);
      if (params != nullptr) SetDlgItemTextA(dialog, kesta::controls::kTextId, params->text);
      SendDlgItemMessageA(dialog, kesta::controls::kTextId, g_messages.hangul, 2,
                          reinterpret_cast<LPARAM>("InternalGothic"));
      SendDlgItemMessageA(dialog, kesta::controls::kTextId, g_messages.english, 2,
                          reinterpret_cast<LPARAM>("InternalMokraGothic"));
      placeDialog(dialog);
      return 1;
    }
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return 1;
    default:
      return 0;
  }
}
