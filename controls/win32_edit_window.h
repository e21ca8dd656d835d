// The Win32 face of the two edit classes: the per-window state around the
// neutral EditBuffer, and the pieces both window procedures share (fonts and
// measuring, caret, painting, typing, keys, mouse, clipboard, notifications).
#pragma once

#include <windows.h>

#include <new>

#include "controls/edit_buffer.h"
#include "controls/win32_faces.h"

namespace hctl {

// Notifications to the parent (WM_COMMAND, code in the high word).
inline constexpr WORD kEnSetFocus = 0x100, kEnKillFocus = 0x200, kEnChange = 0x300, kEnUpdate = 0x400,
                      kEnErrSpace = 0x500, kEnMaxText = 0x501, kEnHScroll = 0x601, kEnVScroll = 0x602;
// The library's own messages.
inline constexpr UINT kMsgCaretPlace = WM_USER + 36, kMsgHangulMode = WM_USER + 37, kMsgCopy6 = WM_USER + 38,
                      kMsgCut6 = WM_USER + 39, kMsgPaste6 = WM_USER + 40, kMsgCopy8 = WM_USER + 41,
                      kMsgCut8 = WM_USER + 42, kMsgPaste8 = WM_USER + 43;

struct EditWindow {
  EditWindow(bool lineEdit, bool multiline) : buffer(multiline), lineEdit(lineEdit) {}
  kesta::controls::EditBuffer buffer;
  FaceBlock faces;      // face names (its text field is unused)
  bool lineEdit;        // "HCTLLineEdit"; else "HCTLEdit"
  DWORD style = 0;
  bool modified = false;
  bool mouseDown = false;
  bool focused = false;
  HGLOBAL block = nullptr;  // the line edit's text block (EM_GETHANDLE, EM_SETHANDLE)
  size_t capacity = 0;
  int lineHeight = 16;
  int caretY = 0;       // line edit: the centred line's top
  int scroll = 0;       // horizontal scroll in pixels
  size_t firstLine = 0; // multi-line: first visible line
  int visibleLines = 1;
  int clientWidth = 0, clientHeight = 0;
};

EditWindow* editOf(HWND window, int slotIndex);
// WM_CREATE: library start, registration, the automaton, the state and the text.
bool createEdit(HWND window, int slotIndex, const CREATESTRUCTA* create, bool lineEdit);
void destroyEdit(HWND window, int slotIndex);
// Cell widths and line height from the text library with the control's faces.
void measure(HWND window, EditWindow& e);
void resize(HWND window, EditWindow& e);

// Scroll to show the caret (when `follow`), move the system caret, repaint when `repaint`.
void showCaret(HWND window, EditWindow& e, bool repaint = true, bool follow = true);
void paint(HWND window, EditWindow& e);
void notify(HWND window, WORD code);

// Text in and out of the window (code page 949 in HCTLW32, the internal code otherwise).
LRESULT setWindowText(HWND window, EditWindow& e, const char* text);
LRESULT getWindowText(const EditWindow& e, char* out, WPARAM size);
LRESULT getWindowTextLength(const EditWindow& e);

// After an edit: modified flag, EN_MAXTEXT, EN_CHANGE (the line edit only for
// its first change), the line edit's block, caret and repaint.
void afterEdit(HWND window, EditWindow& e, const kesta::controls::EditOutcome& out, bool sendChange);
// The line edit's block holds the text (grown as needed); false when it cannot grow.
bool syncBlock(HWND window, EditWindow& e, size_t extra = 0);

void onChar(HWND window, EditWindow& e, WPARAM ch);
void onKeyDown(HWND window, EditWindow& e, WPARAM key);
void onMouse(HWND window, EditWindow& e, UINT message, LPARAM lParam);

// Clipboard: `from`/`to` code types (0: none).
void copySelection(HWND window, EditWindow& e, int toType, bool keepSelection);
void cutSelection(HWND window, EditWindow& e, int toType);
void pasteClipboard(HWND window, EditWindow& e, int fromType);

// One message of an edit class. The text lives in growing strings: a growth
// that fails is EN_ERRSPACE to the parent, never an exception out of the
// window procedure.
template <class Handler>
LRESULT guarded(HWND window, Handler&& handler) {
  try {
    return handler();
  } catch (const std::bad_alloc&) {
    notify(window, kEnErrSpace);
    return 0;
  }
}

// The edit messages both classes answer the same way; true when handled.
bool commonMessage(HWND window, EditWindow& e, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace hctl
