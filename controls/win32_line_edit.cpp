// "HCTLLineEdit": the one-line Hangul field. Its state is in window word 0.
#include <cstring>

#include "controls/edit_block.h"
#include "controls/hctl.h"
#include "controls/win32_edit_window.h"
#include "hangul/quilh32.h"

using namespace hctl;

namespace {

constexpr int kStateSlot = 0;

// EM_SETHANDLE: the caller's block becomes the text (up to a NUL within its size).
void adoptBlock(HWND window, EditWindow& e, HGLOBAL block) {
  const size_t size = block != nullptr ? GlobalSize(block) : 0;
  char* p = size != 0 ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (p == nullptr) return;
  const size_t length = kesta::controls::textInBlock(p, size);
  p[length] = 0;
  const std::string text(p, length);
  GlobalUnlock(block);
  if (e.block != nullptr && e.block != block) GlobalFree(e.block);
  e.block = block;
  e.capacity = size;
  ClearCodes(window);
  e.buffer.setText(text);
  e.modified = false;
  syncBlock(window, e);
  showCaret(window, e);
}

LRESULT getSelection(const EditWindow& e, WPARAM wParam, LPARAM lParam) {
  const auto& b = e.buffer;
  if (DWORD* start = reinterpret_cast<DWORD*>(wParam)) *start = static_cast<DWORD>(b.selectionStart());
  if (DWORD* end = reinterpret_cast<DWORD*>(lParam)) *end = static_cast<DWORD>(b.selectionEnd());
  if (!b.hasSelection()) return 0;
  return MAKELONG(static_cast<WORD>(b.caret()), static_cast<WORD>(b.anchor()));
}

}  // namespace

namespace {

LRESULT lineEditMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE)
    return createEdit(window, kStateSlot, reinterpret_cast<CREATESTRUCTA*>(lParam), true) ? 0 : -1;
  EditWindow* e = editOf(window, kStateSlot);
  if (e == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  switch (message) {
    case WM_DESTROY:
      destroyEdit(window, kStateSlot);
      return 0;
    case WM_SETTEXT:
      return setWindowText(window, *e, reinterpret_cast<const char*>(lParam));
    case EM_GETSEL:
      return getSelection(*e, wParam, lParam);
    case EM_SETSEL:
      if (IsProcessingInput(window)) MakeCompleteCode(window);
      e->buffer.setSelection(LOWORD(lParam), HIWORD(lParam));
      showCaret(window, *e);
      return 0;
    case EM_SETHANDLE:
      adoptBlock(window, *e, reinterpret_cast<HGLOBAL>(wParam));
      return 0;
    case EM_GETHANDLE:
      syncBlock(window, *e);
      return reinterpret_cast<LRESULT>(e->block);
    case EM_GETLINE: {
      char* out = reinterpret_cast<char*>(lParam);
      if (out == nullptr) return 0;
      WORD size = 0;
      std::memcpy(&size, out, sizeof size);
      return static_cast<LRESULT>(kesta::controls::copyLine(e->buffer.text(), out, size));
    }
    case kMsgCopy8:
    case kMsgCut8:
    case kMsgPaste8:
    case kMsgCaretPlace:
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      break;
  }
  if (commonMessage(window, *e, message, wParam, lParam, &result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HCTL_API LRESULT WINAPI HCTL_FN(LineEditWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return guarded(window, [&] { return lineEditMessage(window, message, wParam, lParam); });
}
