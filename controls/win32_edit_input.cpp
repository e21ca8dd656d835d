// The edit classes' input: characters through the window's automaton, keys,
// the mouse, the clipboard, and the messages both classes share.
#include <algorithm>
#include <cstring>
#include <string>

#include "controls/edit_block.h"
#include "controls/win32_edit_window.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

namespace hctl {

using kesta::controls::EditOutcome;

namespace {

bool readOnly(HWND window, const EditWindow& e) {
  return !e.lineEdit && (GetWindowLongA(window, GWL_STYLE) & ES_READONLY) != 0;
}

bool down(int key) { return GetKeyState(key) < 0; }

// A syllable being composed is completed where it stands (the caret stays before it).
void completeForMove(HWND window) {
  if (IsProcessingInput(window)) MakeCompleteCode(window);
}

// A syllable being composed is completed and the caret steps past it.
void completeAndStep(HWND window, EditWindow& e) {
  if (e.buffer.composing()) e.buffer.completeComposition(MakeCompleteCode(window));
  else if (IsProcessingInput(window)) MakeCompleteCode(window);
}

std::string convertText(const std::string& text, int fromType, int toType) {
  if (fromType == 0 || toType == 0) return text;
  return kesta::xlat::convertThroughDll(fromType, toType, text);
}

// The multi-line edit after End: a line wider than the window is scrolled so
// that the caret stands at its last pixel column; after Ctrl+End the last
// line is the first one shown.
void showLineEnd(HWND window, EditWindow& e, bool textEnd) {
  const auto& b = e.buffer;
  const int lineWidth = b.xOf(b.caret());
  e.scroll = lineWidth > e.clientWidth ? lineWidth - e.clientWidth + 1 : 0;
  if (textEnd) e.firstLine = b.lineCount() - 1;
  showCaret(window, e, true, false);
}

size_t hitAt(const EditWindow& e, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const auto& b = e.buffer;
  if (e.lineEdit) return b.hit(0, std::max(0, x - 2) + e.scroll);
  size_t line = e.firstLine + static_cast<size_t>(std::max(0, y) / std::max(1, e.lineHeight));
  line = std::min(line, b.lineCount() - 1);
  return b.hit(b.lineIndex(line), std::max(0, x) + e.scroll);
}

}  // namespace

void onChar(HWND window, EditWindow& e, WPARAM ch) {
  if (readOnly(window, e)) return;
  ch &= 0xFF;
  if (ch == VK_BACK) {
    if (!IsProcessingInput(window)) return;  // WM_KEYDOWN took it
  } else if (ch < 0x20) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if (e.lineEdit || !(style & ES_MULTILINE)) return;
    const bool wantReturn = (style & ES_WANTRETURN) != 0;
    if ((ch == '\r' && wantReturn) || (ch == '\n' && !wantReturn && down(VK_CONTROL))) {
      completeAndStep(window, e);
      afterEdit(window, e, e.buffer.insertLineBreak(), true);
    }
    return;
  }
  if (e.lineEdit && !syncBlock(window, e, 4)) return;  // EN_ERRSPACE sent; nothing else happens
  WORD key = static_cast<WORD>(ch);
  const short result = GetKey(window, &key);
  const EditOutcome out = e.buffer.applyKey(result, key, GetCompletedCode(window));
  if (out.dropComposition) ClearCodes(window);
  if (result == -5 && key != 0) MakeCompleteCode(window);
  afterEdit(window, e, out, result != -6 && result != -5);
}

void onKeyDown(HWND window, EditWindow& e, WPARAM key) {
  if (IsToggleKeyPressed(window, static_cast<int>(key))) return;
  const bool shift = down(VK_SHIFT), ctrl = down(VK_CONTROL);
  auto& b = e.buffer;
  const bool beep = e.lineEdit;
  EditOutcome out;
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      completeForMove(window);
      if (!(key == VK_UP && !e.lineEdit ? b.moveUp(shift) : b.moveLeft(shift)) && beep) MessageBeep(0);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      completeForMove(window);
      if (!(key == VK_DOWN && !e.lineEdit ? b.moveDown(shift) : b.moveRight(shift)) && beep) MessageBeep(0);
      break;
    case VK_HOME:
      completeForMove(window);
      if (e.lineEdit || ctrl) {
        b.textStart(shift);
        e.firstLine = 0;
      } else {
        b.home(shift);
      }
      e.scroll = 0;
      break;
    case VK_END:
      completeForMove(window);
      if (e.lineEdit) {
        b.textEnd(shift);
        break;
      }
      if (ctrl) b.textEnd(shift);
      else b.end(shift);
      showLineEnd(window, e, ctrl);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (e.lineEdit) return;
      completeForMove(window);
      if (key == VK_PRIOR) e.firstLine -= std::min(e.firstLine, b.pageUp(static_cast<size_t>(e.visibleLines), shift));
      else e.firstLine += b.pageDown(static_cast<size_t>(e.visibleLines), shift);
      break;
    case VK_INSERT:
      if (shift && ctrl && !e.lineEdit) return;
      if (ctrl) SendMessageA(window, WM_COPY, 0, 0);
      else if (shift) SendMessageA(window, WM_PASTE, 0, 0);
      else {
        completeAndStep(window, e);
        b.setInsertMode(!b.insertMode());
      }
      return;
    case VK_DELETE:
      if (e.lineEdit && ctrl) {
        SendMessageA(window, WM_CLEAR, 0, 0);
        return;
      }
      if (e.lineEdit && shift) {
        SendMessageA(window, WM_CUT, 0, 0);
        return;
      }
      if (readOnly(window, e)) return;
      if (IsProcessingInput(window)) ClearCodes(window);
      out = b.deleteForward();
      if (!out.changed && beep) MessageBeep(0);
      afterEdit(window, e, out, true);
      return;
    case VK_BACK:
      if (readOnly(window, e) || IsProcessingInput(window)) return;  // a composition: WM_CHAR takes it
      out = b.backspace();
      if (!out.changed && beep) MessageBeep(0);
      afterEdit(window, e, out, true);
      return;
    default:
      return;
  }
  showCaret(window, e);
}

void onMouse(HWND window, EditWindow& e, UINT message, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      completeForMove(window);
      const size_t at = hitAt(e, lParam);
      e.buffer.setSelection(at, at);
      e.mouseDown = true;
      SetCapture(window);
      SetFocus(window);
      break;
    }
    case WM_MOUSEMOVE:
      if (!e.mouseDown) return;
      e.buffer.setSelection(e.buffer.anchor(), hitAt(e, lParam));
      break;
    case WM_LBUTTONUP:
      if (!e.mouseDown) return;
      e.buffer.setSelection(e.buffer.anchor(), hitAt(e, lParam));
      e.mouseDown = false;
      ReleaseCapture();
      break;
    default:
      return;
  }
  showCaret(window, e);
}

namespace {
constexpr int kUtf8Type = 9;  // the converter's code for UTF-8

void putClipboardBlock(UINT format, const void* data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 2);  // room for either terminator
  if (h == nullptr) return;
  void* p = GlobalLock(h);
  if (p == nullptr) {
    GlobalFree(h);
    return;
  }
  std::memcpy(p, data, size);
  GlobalUnlock(h);
  if (SetClipboardData(format, h) == nullptr) GlobalFree(h);
}

// Internal-code text as UTF-16, through UTF-8.
std::wstring internalToWide(const std::string& internal) {
  const std::string utf8 = convertText(internal, 1, kUtf8Type);
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

// Windows makes CF_UNICODETEXT from CF_TEXT (and back) for a program that
// gives one of them; the one given comes first in the clipboard's list.
bool unicodeGiven() {
  for (UINT f = EnumClipboardFormats(0); f != 0 && f != CF_TEXT; f = EnumClipboardFormats(f))
    if (f == CF_UNICODETEXT) return true;
  return false;
}

// The clipboard's Unicode text in the internal code; false when it has none
// of its own.
bool clipboardUnicodeAsInternal(std::string* internal) {
  if (!unicodeGiven()) return false;
  HANDLE h = GetClipboardData(CF_UNICODETEXT);
  if (h == nullptr) return false;
  const auto* wide = static_cast<const wchar_t*>(GlobalLock(h));
  if (wide == nullptr) return false;
  const int length = static_cast<int>(wcsnlen(wide, GlobalSize(h) / sizeof(wchar_t)));
  std::string utf8;
  const int n = length > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr) : 0;
  if (n > 0) {
    utf8.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
  }
  GlobalUnlock(h);
  *internal = convertText(utf8, kUtf8Type, 1);
  return true;
}
}  // namespace

// Copy puts the text on the clipboard twice: as CF_TEXT (converted when the
// message asks for it) and as Unicode text, which reads right in any program
// whatever the code page.
void copySelection(HWND window, EditWindow& e, int toType, bool keepSelection) {
  const auto& b = e.buffer;
  if (!b.hasSelection()) return;
  const std::string internal = b.text().substr(b.selectionStart(), b.selectionEnd() - b.selectionStart());
  const std::string bytes = convertText(internal, 1, toType);
  if (!OpenClipboard(window)) return;
  EmptyClipboard();
  const std::wstring wide = internalToWide(internal);
  putClipboardBlock(CF_UNICODETEXT, wide.data(), wide.size() * sizeof(wchar_t));
  putClipboardBlock(CF_TEXT, bytes.data(), bytes.size());
  CloseClipboard();
  if (!keepSelection) {
    e.buffer.collapse();
    showCaret(window, e);
  }
}

void cutSelection(HWND window, EditWindow& e, int toType) {
  if (readOnly(window, e) || !e.buffer.hasSelection()) return;
  copySelection(window, e, toType, true);
  afterEdit(window, e, e.buffer.deleteSelection(), true);
}

// Paste takes the Unicode text when a program gave one, else CF_TEXT
// (converted when the message asks for it).
void pasteClipboard(HWND window, EditWindow& e, int fromType) {
  if (readOnly(window, e)) return;
  if (!IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
  if (!OpenClipboard(window)) return;
  std::string bytes;
  const bool unicode = clipboardUnicodeAsInternal(&bytes);
  if (!unicode) {
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        bytes.assign(p, kesta::controls::textInBlock(p, GlobalSize(h)));
        GlobalUnlock(h);
      }
    }
  }
  CloseClipboard();
  if (!unicode) {
    bytes.resize(kesta::controls::wholeCharacters(bytes, bytes.size()));  // no lone lead byte into the converter
    bytes = convertText(bytes, fromType, 1);
  }
  completeAndStep(window, e);
  if (e.lineEdit && !syncBlock(window, e, bytes.size())) return;
  const size_t start = e.buffer.selectionStart();
  const EditOutcome out = e.buffer.paste(bytes);
  if (!e.lineEdit && out.changed) e.buffer.setSelection(start, e.buffer.caret());
  afterEdit(window, e, out, true);
}

bool commonMessage(HWND window, EditWindow& e, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_GETDLGCODE:
      *result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_SIZE:
      resize(window, e);
      return true;
    case WM_SETFOCUS:
      e.focused = true;
      CreateCaret(window, nullptr, 2, e.lineHeight);
      showCaret(window, e, false);
      ShowCaret(window);
      notify(window, kEnSetFocus);
      return true;
    case WM_KILLFOCUS:
      if (e.lineEdit && IsProcessingInput(window)) SendMessageA(window, WM_KEYDOWN, VK_RIGHT, 0);
      e.focused = false;
      DestroyCaret();
      notify(window, kEnKillFocus);
      return true;
    case WM_GETTEXT:
      *result = getWindowText(e, reinterpret_cast<char*>(lParam), wParam);
      return true;
    case WM_GETTEXTLENGTH:
      *result = getWindowTextLength(e);
      return true;
    case WM_PAINT:
      paint(window, e);
      return true;
    case WM_CHAR:
      onChar(window, e, wParam);
      return true;
    case WM_KEYDOWN:
      onKeyDown(window, e, wParam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      onMouse(window, e, message, lParam);
      return true;
    case EM_GETMODIFY:
      *result = e.modified ? 1 : 0;
      return true;
    case EM_SETMODIFY:
      e.modified = wParam != 0;
      return true;
    case EM_LIMITTEXT:
      e.buffer.setLimit(static_cast<size_t>(wParam));
      return true;
    case WM_CLEAR:
      if (!readOnly(window, e)) afterEdit(window, e, e.buffer.deleteSelection(), true);
      return true;
    case WM_COPY:
      copySelection(window, e, 0, false);
      return true;
    case WM_CUT:
      cutSelection(window, e, 0);
      return true;
    case WM_PASTE:
      pasteClipboard(window, e, 0);
      return true;
    case kMsgHangulMode:
      if (SetHangulMode(window, static_cast<int>(wParam)) != 0)
        e.buffer.completeComposition(GetCompletedCode(window));
      showCaret(window, e);
      return true;
    case kMsgCopy6:
      copySelection(window, e, 6, false);
      return true;
    case kMsgCut6:
      cutSelection(window, e, 6);
      return true;
    case kMsgPaste6:
      pasteClipboard(window, e, 6);
      return true;
    default:
      return false;
  }
}

}  // namespace hctl
