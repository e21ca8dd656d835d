#include "controls/win32_buttons.h"

#include "controls/button_state.h"
#include "controls/win32_library.h"

namespace hctl {

using kesta::controls::Input;
using kesta::controls::Outcome;
namespace push = kesta::controls::push;

uint32_t stateOf(HWND window, int slotIndex) {
  return static_cast<uint32_t>(GetWindowLongPtrA(window, slot(slotIndex)));
}

void setState(HWND window, int slotIndex, uint32_t state) {
  if (stateOf(window, slotIndex) == state) return;
  SetWindowLongPtrA(window, slot(slotIndex), static_cast<LONG_PTR>(state));
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

void reportClick(HWND window) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  const WORD id = static_cast<WORD>(GetWindowLongPtrA(window, GWLP_ID));
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(window));
}

bool insideClient(HWND window, LPARAM point) {
  RECT client;
  GetClientRect(window, &client);
  const POINT p = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  return PtInRect(&client, p) != FALSE;
}

namespace {

void apply(HWND window, int slotIndex, const Outcome& o) {
  if (o.takeFocus && GetFocus() != window) SetFocus(window);
  if (o.capture) SetCapture(window);
  if (o.release && GetCapture() == window) ReleaseCapture();
  setState(window, slotIndex, o.state);
  if (o.click) reportClick(window);
}

}  // namespace

bool handlePushMessage(HWND window, int slotIndex, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const uint32_t state = stateOf(window, slotIndex);
  *result = 0;
  switch (message) {
    case WM_GETDLGCODE:
      *result = (state & push::kDefault) ? DLGC_BUTTON | DLGC_DEFPUSHBUTTON : DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return true;
    case BM_GETSTATE:
      *result = (state & push::kPushed) ? BST_PUSHED : 0;
      return true;
    case BM_SETSTATE:
      setState(window, slotIndex, wParam ? state | push::kPushed : state & ~push::kPushed);
      return true;
    case BM_SETSTYLE:
      // The dialog manager moves the default between buttons with this message.
      setState(window, slotIndex, (wParam & 0xF) == BS_DEFPUSHBUTTON ? state | push::kDefault
                                                                      : state & ~push::kDefault);
      return true;
    case WM_SETFOCUS:
      setState(window, slotIndex, state | push::kFocused);
      return true;
    case WM_KILLFOCUS:
      setState(window, slotIndex, state & ~push::kFocused);
      return true;
    case WM_ENABLE:
      setState(window, slotIndex, wParam ? state & ~push::kDisabled : state | push::kDisabled);
      return true;
    case WM_KEYDOWN:
      if (wParam != VK_SPACE) return false;
      apply(window, slotIndex, kesta::controls::pushInput(state, Input::SpaceDown, true));
      return true;
    case WM_KEYUP:
      if (wParam != VK_SPACE) return false;
      apply(window, slotIndex, kesta::controls::pushInput(state, Input::SpaceUp, true));
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      apply(window, slotIndex, kesta::controls::pushInput(state, Input::MouseDown, insideClient(window, lParam)));
      return true;
    case WM_MOUSEMOVE:
      apply(window, slotIndex, kesta::controls::pushInput(state, Input::MouseMove, insideClient(window, lParam)));
      return true;
    case WM_LBUTTONUP:
      apply(window, slotIndex, kesta::controls::pushInput(state, Input::MouseUp, insideClient(window, lParam)));
      return true;
    case WM_CAPTURECHANGED:
      // Capture taken away: stop tracking without a click.
      if (state & push::kTracking && reinterpret_cast<HWND>(lParam) != window)
        setState(window, slotIndex, kesta::controls::pushClicked(state));
      return true;
    default:
      return false;
  }
}

}  // namespace hctl
