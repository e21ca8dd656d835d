// "HCTLEdit": the multi-line Hangul editor with scroll bars. Word 0 holds the
// colour bits, word 1 the state.
#include <algorithm>
#include <cstring>

#include "controls/edit_block.h"
#include "controls/hctl.h"
#include "controls/win32_edit_window.h"
#include "hangul/quilh32.h"

using namespace hctl;

namespace {

constexpr int kStateSlot = 1;

bool multiline(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & ES_MULTILINE) != 0; }

// Scrolls by whole lines (stopping at the text's ends) and English cells.
void scrollBy(HWND window, EditWindow& e, long lines, long cells) {
  const auto& b = e.buffer;
  if (lines != 0) {
    const long last = static_cast<long>(b.lineCount()) - 1;
    const long first = std::clamp(static_cast<long>(e.firstLine) + lines, 0L, std::max(0L, last));
    if (static_cast<size_t>(first) != e.firstLine) {
      e.firstLine = static_cast<size_t>(first);
      notify(window, kEnVScroll);
      notify(window, kEnUpdate);
    }
  }
  if (cells != 0) {
    const int cell = b.widths().english;
    const int position = std::clamp(e.scroll / cell + static_cast<int>(cells), 0, 300);
    if (position * cell != e.scroll) {
      e.scroll = position * cell;
      SetScrollPos(window, SB_HORZ, position, TRUE);
      notify(window, kEnHScroll);
      notify(window, kEnUpdate);
    }
  }
  showCaret(window, e, true, false);
}

long scrollTarget(WPARAM code, long position, long page, long thumb) {
  switch (LOWORD(code)) {
    case SB_LINEUP: return position - 1;
    case SB_LINEDOWN: return position + 1;
    case SB_PAGEUP: return position - page;
    case SB_PAGEDOWN: return position + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return thumb;
    case SB_TOP: return 0;
    default: return position;
  }
}

LRESULT lineMessage(HWND window, EditWindow& e, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto& b = e.buffer;
  const long arg = static_cast<long>(static_cast<LONG>(wParam));
  switch (message) {
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(b.lineCount());
    case EM_LINEINDEX: {
      const size_t line = arg == -1 ? b.lineFromChar(b.caret()) : static_cast<size_t>(wParam);
      const size_t index = b.lineIndex(line);
      return index > b.length() ? -1 : static_cast<LRESULT>(index);
    }
    case EM_LINELENGTH:
      return static_cast<LRESULT>(b.lineLength(arg == -1 ? b.caret() : static_cast<size_t>(wParam)));
    case EM_LINEFROMCHAR:
      return static_cast<LRESULT>(b.lineFromChar(arg == -1 ? b.caret() : static_cast<size_t>(wParam)));
    case EM_GETLINE: {
      char* out = reinterpret_cast<char*>(lParam);
      if (out == nullptr) return 0;
      WORD size = 0;
      std::memcpy(&size, out, sizeof size);
      const size_t start = b.lineIndex(static_cast<size_t>(wParam));
      if (start > b.length()) return 0;
      const std::string line = b.text().substr(start, b.lineLength(start));
      return static_cast<LRESULT>(kesta::controls::copyLine(line, out, size));
    }
    case EM_LINESCROLL:
      scrollBy(window, e, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 1;
    default:
      return 0;
  }
}

}  // namespace

namespace {

LRESULT editMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    if (createEdit(window, kStateSlot, reinterpret_cast<CREATESTRUCTA*>(lParam), false)) return 0;
    notify(window, kEnErrSpace);
    return -1;
  }
  EditWindow* e = editOf(window, kStateSlot);
  if (e == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  if (handleFontMessage(window, &e->faces, message, wParam, lParam, true, &result)) {
    measure(window, *e);
    resize(window, *e);
    return result;
  }
  auto& b = e->buffer;
  switch (message) {
    case WM_DESTROY:
      destroyEdit(window, kStateSlot);
      return 0;
    case WM_KILLFOCUS:  // the composition stays open
      e->focused = false;
      DestroyCaret();
      notify(window, kEnKillFocus);
      return 0;
    case WM_MOVE:
      resize(window, *e);
      return 0;
    case WM_SETTEXT:
      result = setWindowText(window, *e, reinterpret_cast<const char*>(lParam));
      notify(window, kEnChange);
      return result;
    case EM_GETSEL:
      if (DWORD* start = reinterpret_cast<DWORD*>(wParam)) *start = static_cast<DWORD>(b.selectionStart());
      if (DWORD* end = reinterpret_cast<DWORD*>(lParam)) *end = static_cast<DWORD>(b.selectionEnd());
      return b.hasSelection() ? MAKELONG(static_cast<WORD>(b.selectionEnd()), static_cast<WORD>(b.selectionStart()))
                              : 0;
    case EM_SETSEL: {
      const size_t start = LOWORD(lParam), end = std::min<size_t>(HIWORD(lParam), b.length());
      if (start < end) {
        if (IsProcessingInput(window)) MakeCompleteCode(window);
        b.setSelection(start, end);
        showCaret(window, *e);
      }
      return 0;
    }
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINESCROLL:
      if (!multiline(window)) return 0;
      return lineMessage(window, *e, message, wParam, lParam);
    case EM_LINELENGTH:
    case EM_LINEFROMCHAR:
    case EM_GETLINE:
      return lineMessage(window, *e, message, wParam, lParam);
    case EM_REPLACESEL:
      if (b.hasSelection() && !(GetWindowLongA(window, GWL_STYLE) & ES_READONLY))
        afterEdit(window, *e, b.paste(reinterpret_cast<const char*>(lParam) ? reinterpret_cast<const char*>(lParam) : ""),
                  true);
      return 0;
    case EM_CANUNDO:
      return 0;
    case EM_SETREADONLY: {
      const LONG style = GetWindowLongA(window, GWL_STYLE);
      SetWindowLongA(window, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      return 1;
    }
    case WM_VSCROLL:
      scrollBy(window, *e,
               scrollTarget(wParam, static_cast<long>(e->firstLine), e->visibleLines, HIWORD(wParam)) -
                   static_cast<long>(e->firstLine),
               0);
      return 0;
    case WM_HSCROLL: {
      const long position = e->scroll / std::max(1, b.widths().english);
      scrollBy(window, *e, 0, scrollTarget(wParam, position, 8, HIWORD(wParam)) - position);
      return 0;
    }
    case kMsgCaretPlace: {
      const size_t line = b.lineFromChar(b.caret());
      return MAKELONG(static_cast<WORD>(b.caret() - b.lineStartOf(b.caret())), static_cast<WORD>(line));
    }
    case kMsgCopy8:
      copySelection(window, *e, 8, false);
      return 0;
    case kMsgCut8:
      cutSelection(window, *e, 8);
      return 0;
    case kMsgPaste8:
      pasteClipboard(window, *e, 8);
      return 0;
    default:
      break;
  }
  if (commonMessage(window, *e, message, wParam, lParam, &result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HCTL_API LRESULT WINAPI HCTL_FN(EditWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guarded(window, [&] { return editMessage(window, message, wParam, lParam); });
}
