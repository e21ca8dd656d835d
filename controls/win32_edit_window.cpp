// The edit classes' state, fonts, caret, painting and window text.
#include "controls/win32_edit_window.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "controls/edit_block.h"
#include "controls/win32_library.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

namespace hctl {

using kesta::controls::capacityFor;
using kesta::controls::wholeCharacters;

EditWindow* editOf(HWND window, int slotIndex) {
  return reinterpret_cast<EditWindow*>(GetWindowLongPtrA(window, slot(slotIndex)));
}

namespace {

// The text library's DC with the control's faces; the defaults go back after.
struct FacedDC {
  FacedDC(HWND window, const EditWindow& e) : window(window), dc(HGetDC(window)) {
    if (dc != nullptr) selectFaces(dc, e.faces);
  }
  ~FacedDC() {
    if (dc == nullptr) return;
    HSelectHangulObject(dc, "InternalMyungjo", nullptr);
    HSelectEnglishObject(dc, "InternalMokraGothic", nullptr);
    HReleaseDC(window, dc);
  }
  HWND window;
  HDC dc;
};

std::string fromWindowCode(const char* text) {
  std::string s = text != nullptr ? text : "";
#ifdef HCTL_WIDE
  s = kesta::xlat::convertThroughDll(8, 1, s);
#endif
  return s;
}

std::string toWindowCode(const std::string& text) {
#ifdef HCTL_WIDE
  return kesta::xlat::convertThroughDll(1, 8, text);
#else
  return text;
#endif
}

}  // namespace

bool createEdit(HWND window, int slotIndex, const CREATESTRUCTA* create, bool lineEdit) {
  InitHangulLib();
  RegisterWindow(window);
  InitAutomata(window, 2);
  const DWORD style = create != nullptr ? static_cast<DWORD>(create->style) : 0;
  EditWindow* e = new (std::nothrow) EditWindow(lineEdit, !lineEdit && (style & ES_MULTILINE) != 0);
  if (e == nullptr) return false;
  e->style = style;
  if (!lineEdit && (style & WS_VSCROLL)) e->style |= ES_AUTOVSCROLL;
  if (!lineEdit && (style & WS_HSCROLL)) {
    e->style |= ES_AUTOHSCROLL;
    SetScrollRange(window, SB_HORZ, 0, 300, FALSE);
  }
  if (!lineEdit && (style & WS_VSCROLL)) SetScrollRange(window, SB_VERT, 0, 0, FALSE);
  SetWindowLongPtrA(window, slot(slotIndex), reinterpret_cast<LONG_PTR>(e));
  if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName))
    e->buffer.setText(fromWindowCode(create->lpszName));
  if (lineEdit && !syncBlock(window, *e)) {
    SetWindowLongPtrA(window, slot(slotIndex), 0);
    delete e;
    return false;
  }
  measure(window, *e);
  resize(window, *e);
  return true;
}

void destroyEdit(HWND window, int slotIndex) {
  EditWindow* e = editOf(window, slotIndex);
  SetWindowLongPtrA(window, slot(slotIndex), 0);
  if (e != nullptr && e->block != nullptr) GlobalFree(e->block);
  delete e;
  UnregisterWindow(window);
  DestroyHangulLib();
}

void measure(HWND window, EditWindow& e) {
  FacedDC d(window, e);
  if (d.dc == nullptr) return;
  HTextMetric m{};
  if (HGetTextMetrics(d.dc, &m) == 0) return;
  e.lineHeight = std::max<int>(1, m.height + m.internalLeading);
  e.buffer.setWidths({std::max<int>(1, m.englishWidth), std::max<int>(1, m.hangulWidth)});
}

void resize(HWND window, EditWindow& e) {
  RECT r{};
  GetClientRect(window, &r);
  e.clientWidth = r.right - r.left;
  e.clientHeight = r.bottom - r.top;
  const int gap = (e.clientHeight - e.lineHeight) / 2;
  e.caretY = gap < 2 ? 0 : gap;
  e.visibleLines = std::max(1, e.clientHeight / std::max(1, e.lineHeight));
  showCaret(window, e, false);
}

void notify(HWND window, WORD code) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  const WORD id = static_cast<WORD>(GetWindowLongPtrA(window, GWLP_ID));
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window));
}

void showCaret(HWND window, EditWindow& e, bool repaint, bool follow) {
  const auto& b = e.buffer;
  const int caretX = b.xOf(b.caret());
  int x, y;
  if (e.lineEdit) {
    const int width = std::max(1, e.clientWidth - 2);
    e.scroll = kesta::controls::followCaret(caretX, e.scroll, width);
    x = std::max(2, 2 + caretX - e.scroll);
    y = e.caretY;
  } else {
    const int oldScroll = e.scroll;
    const size_t oldFirst = e.firstLine;
    const size_t line = b.lineFromChar(b.caret());
    // The view follows the caret only along the directions the style lets
    // scroll by itself (set at creation from the scroll bars).
    if (follow && (e.style & ES_AUTOHSCROLL))
      e.scroll = kesta::controls::followCaret(caretX, e.scroll, std::max(1, e.clientWidth));
    if (follow && (e.style & ES_AUTOVSCROLL))
      e.firstLine = kesta::controls::followLine(line, e.firstLine, static_cast<size_t>(e.visibleLines));
    x = caretX - e.scroll;
    y = (static_cast<int>(line) - static_cast<int>(e.firstLine)) * e.lineHeight;
    // The creation style: a range of 0 to 0 hides the bar and clears WS_VSCROLL.
    if (e.style & WS_VSCROLL) {
      SetScrollRange(window, SB_VERT, 0, static_cast<int>(b.lineCount() - 1), FALSE);
      SetScrollPos(window, SB_VERT, static_cast<int>(e.firstLine), TRUE);
    }
    if (e.firstLine != oldFirst) notify(window, kEnVScroll);
    if (e.scroll != oldScroll) notify(window, kEnHScroll);
  }
  if (e.focused) SetCaretPos(x, y);
  if (repaint) InvalidateRect(window, nullptr, FALSE);
}

namespace {

// One run of bytes at x, in the given colours, on an opaque background.
int drawRun(HDC dc, int x, int y, const std::string& text, size_t from, size_t to, COLORREF ink, COLORREF paper,
            const kesta::controls::EditBuffer& b) {
  if (to <= from) return x;
  SetTextColor(dc, ink);
  SetBkColor(dc, paper);
  HTextOut(dc, x, y, text.data() + from, static_cast<int>(to - from));
  for (size_t p = from; p < to;) {
    const size_t step = b.charLength(p);
    x += static_cast<unsigned char>(text[p]) >= 0x80 ? b.widths().hangul : b.widths().english;
    p += step;
  }
  return x;
}

}  // namespace

void paint(HWND window, EditWindow& e) {
  PAINTSTRUCT ps;
  HDC dc = HBeginPaint(window, &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(window, &client);
  HBRUSH brush = nullptr;
  if (HWND parent = GetParent(window))
    brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
  if (!e.lineEdit && brush != nullptr && (GetWindowLongPtrA(window, slot(0)) & kUseParentBrush) == 0)
    brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));  // colour bits do not ask for the parent's
  if (brush == nullptr)
    brush = e.lineEdit ? GetSysColorBrush(COLOR_WINDOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  FillRect(dc, &client, brush);
  selectFaces(dc, e.faces);
  SetBkMode(dc, OPAQUE);
  const auto& b = e.buffer;
  const std::string& text = b.text();
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), paper = GetSysColor(COLOR_WINDOW);
  // Selection colours: white on blue in the line edit, inverted in the multi-line edit.
  const COLORREF selInk = e.lineEdit ? RGB(255, 255, 255) : paper;
  const COLORREF selPaper = e.lineEdit ? RGB(0, 0, 255) : ink;
  const size_t s0 = b.selectionStart(), s1 = b.selectionEnd();
  const size_t lines = e.lineEdit ? 1 : static_cast<size_t>(e.visibleLines) + 1;
  size_t start = e.lineEdit ? 0 : b.lineIndex(e.firstLine);
  for (size_t n = 0; n < lines && start <= text.size(); ++n) {
    const size_t end = b.lineEndOf(start);
    const int y = e.lineEdit ? e.caretY : static_cast<int>(n) * e.lineHeight;
    int x = (e.lineEdit ? 2 : 0) - e.scroll;
    const size_t a = std::clamp(s0, start, end), z = std::clamp(s1, start, end);
    x = drawRun(dc, x, y, text, start, a, ink, paper, b);
    x = drawRun(dc, x, y, text, a, z, selInk, selPaper, b);
    drawRun(dc, x, y, text, z, end, ink, paper, b);
    if (end >= text.size()) break;
    start = end + 2;
  }
  HSelectHangulObject(dc, "InternalMyungjo", nullptr);
  HSelectEnglishObject(dc, "InternalMokraGothic", nullptr);
  HEndPaint(window, &ps);
}

LRESULT setWindowText(HWND window, EditWindow& e, const char* text) {
  ClearCodes(window);
  e.buffer.setText(fromWindowCode(text));
  if (e.lineEdit && !syncBlock(window, e)) return 0;
  if (!e.lineEdit) e.firstLine = std::min(e.firstLine, e.buffer.lineCount() - 1);
  showCaret(window, e);
  return 1;
}

LRESULT getWindowText(const EditWindow& e, char* out, WPARAM size) {
  if (out == nullptr || size == 0) return 0;
  const std::string text = toWindowCode(e.buffer.text());
  const size_t n = wholeCharacters(text, static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT getWindowTextLength(const EditWindow& e) {
  return static_cast<LRESULT>(toWindowCode(e.buffer.text()).size());
}

bool syncBlock(HWND window, EditWindow& e, size_t extra) {
  if (!e.lineEdit) return true;
  const size_t length = e.buffer.length();
  const size_t wanted = capacityFor(length + extra, std::max(e.capacity, kesta::controls::kMinimumCapacity));
  if (e.block == nullptr || wanted > e.capacity) {
    HGLOBAL grown = e.block == nullptr ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, wanted)
                                       : GlobalReAlloc(e.block, wanted, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (grown == nullptr) {
      notify(window, kEnErrSpace);
      return false;
    }
    e.block = grown;
    e.capacity = GlobalSize(grown);
  }
  char* p = static_cast<char*>(GlobalLock(e.block));
  if (p == nullptr) return false;
  std::memcpy(p, e.buffer.text().data(), length);
  p[length] = 0;
  GlobalUnlock(e.block);
  return true;
}

void afterEdit(HWND window, EditWindow& e, const kesta::controls::EditOutcome& out, bool sendChange) {
  if (out.atLimit) notify(window, kEnMaxText);
  if (out.changed) {
    const bool first = !e.modified;
    e.modified = true;
    syncBlock(window, e);
    if (sendChange && (!e.lineEdit || first)) notify(window, kEnChange);
  }
  showCaret(window, e);
}

}  // namespace hctl
