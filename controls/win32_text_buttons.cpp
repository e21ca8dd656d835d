// "HCTLButton", "HCTLCheckBox" and "HCTLRadioButton": buttons with Hangul
// text. Words: 0 unused, 1 state bits, 2 face block.
#include <cstring>

#include "controls/button_state.h"
#include "controls/hctl.h"
#include "controls/win32_buttons.h"
#include "controls/win32_draw.h"
#include "controls/win32_faces.h"
#include "controls/win32_library.h"
#include "hangul/quilh32.h"

using namespace hctl;
using kesta::controls::Input;
namespace push = kesta::controls::push;
namespace check = kesta::controls::check;

namespace {

constexpr int kStateSlot = 1, kFaceSlot = 2;
constexpr int kBoxSize = 13;
// Siblings looked at by the radio group walk at most.
constexpr int kMaxSiblings = 1024;

enum class Kind { Push, Check, Radio };

uint32_t styleBits(HWND window) { return static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)) & 0xF; }

void drawLabel(HDC dc, HWND window, const FaceBlock& faces, RECT r, UINT format) {
  selectFaces(dc, faces);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsWindowEnabled(window) ? GetSysColor(COLOR_BTNTEXT) : kDarkGrey);
  const UINT lineFormat = format | DT_SINGLELINE | DT_VCENTER;
  if (faces.combinationText)
    HDrawText(dc, faces.text.c_str(), static_cast<int>(faces.text.size()), &r, lineFormat);
  else
    drawText(dc, faces.text, &r, lineFormat);
  SelectClipRgn(dc, nullptr);
}

void paintPush(HWND window, HDC dc, const FaceBlock& faces, RECT client) {
  const uint32_t state = stateOf(window, kStateSlot);
  fillColour(dc, client, kLightGrey);
  RECT face = client;
  if (state & push::kDefault) {
    drawOutline(dc, face, kBlack);
    InflateRect(&face, -1, -1);
  }
  const bool down = kesta::controls::pushShowsPushed(state);
  if (down) drawFrame(dc, face, kDarkGrey, kLightGrey, 1);
  else {
    drawFrame(dc, face, kWhite, kBlack, 1);
    InflateRect(&face, -1, -1);
    drawFrame(dc, face, kLightGrey, kDarkGrey, 1);
  }
  RECT text = client;
  if (down) OffsetRect(&text, 1, 1);
  drawLabel(dc, window, faces, text, DT_CENTER);
  if (state & push::kFocused) {
    // Just inside the frame, clear of the label's cell (buttons are the cell + 8,
    // a pixel or two less after the trip through dialog units).
    RECT focus = client;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}

void paintCheck(HWND window, HDC dc, const FaceBlock& faces, RECT client, Kind kind) {
  const uint32_t state = stateOf(window, kStateSlot);
  fillColour(dc, client, kLightGrey);
  const int top = (client.bottom - kBoxSize) / 2;
  RECT box = {0, top, kBoxSize, top + kBoxSize};
  const COLORREF paper = (state & check::kPushed) ? kLightGrey : kWhite;
  if (kind == Kind::Check) {
    fillColour(dc, box, (state & check::kThird) ? kLightGrey : paper);
    drawFrame(dc, box, kDarkGrey, kWhite, 1);
    if (state & check::kChecked) {
      // A tick of three short strokes.
      for (int i = 0; i < 7; ++i) {
        const int x = 3 + i, y = top + (i < 3 ? 6 + i : 10 - i);
        fillColour(dc, RECT{x, y, x + 1, y + 3}, kBlack);
      }
    }
  } else {
    HBRUSH brush = CreateSolidBrush(paper);
    HPEN pen = CreatePen(PS_SOLID, 1, kDarkGrey);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    if (state & check::kChecked) Ellipse(dc, 4, top + 4, 9, top + 9);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  RECT text = {kBoxSize + 5, 0, client.right, client.bottom};
  drawLabel(dc, window, faces, text, DT_LEFT);
  if (state & check::kFocused) {
    RECT focus = {kBoxSize + 3, 1, client.right - 1, client.bottom - 1};
    DrawFocusRect(dc, &focus);
  }
}

void paint(HWND window, Kind kind) {
  PAINTSTRUCT ps;
  HDC dc = HBeginPaint(window, &ps);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  if (FaceBlock* faces = facesOf(window, kFaceSlot)) {
    if (kind == Kind::Push) paintPush(window, dc, *faces, client);
    else paintCheck(window, dc, *faces, client, kind);
  }
  HEndPaint(window, &ps);
}

}  // namespace

void hctl::setCodeLabel(HWND button, uint16_t code) {
  FaceBlock* faces = facesOf(button, kFaceSlot);
  if (faces == nullptr) return;
  faces->text = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  faces->combinationText = true;
  InvalidateRect(button, nullptr, TRUE);
}

namespace {

bool isRadioWindow(HWND window) {
  if (classOf(window) == kRadioButton) return true;
  char name[16];
  return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, "Button") == 0;
}

// The other automatic radio buttons of the window's group lose their check.
// The group is found among the parent's children with a bound, stopping at
// WS_GROUP marks, so hidden and disabled members cannot make it loop.
void uncheckGroup(HWND window) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  HWND siblings[kMaxSiblings];
  bool starts[kMaxSiblings];
  int count = 0, self = -1;
  for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr && count < kMaxSiblings; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == window) self = count;
    siblings[count] = w;
    starts[count] = (GetWindowLongPtrA(w, GWL_STYLE) & WS_GROUP) != 0;
    ++count;
  }
  int members[kMaxSiblings];
  const int n = kesta::controls::groupMembers(starts, count, self, members, kMaxSiblings);
  for (int i = 0; i < n; ++i) {
    HWND other = siblings[members[i]];
    if ((GetWindowLongPtrA(other, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON && isRadioWindow(other))
      SendMessageA(other, BM_SETCHECK, 0, 0);
  }
}

LRESULT setCheck(HWND window, Kind kind, WPARAM value) {
  const uint32_t state = stateOf(window, kStateSlot);
  setState(window, kStateSlot, kesta::controls::checkSetCheck(state, styleBits(window), value));
  if (kind == Kind::Radio && value != 0) {
    SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_TABSTOP);
    if (styleBits(window) == BS_AUTORADIOBUTTON) uncheckGroup(window);
  }
  return 0;
}

void checkInput(HWND window, Input input, LPARAM point) {
  const uint32_t state = stateOf(window, kStateSlot);
  const bool inside = input == Input::SpaceDown || input == Input::SpaceUp || insideClient(window, point);
  const kesta::controls::Outcome o = kesta::controls::checkInput(state, styleBits(window), input, inside);
  if (o.takeFocus && GetFocus() != window) SetFocus(window);
  if (o.capture) SetCapture(window);
  if (o.release && GetCapture() == window) ReleaseCapture();
  // Focus changes above may have changed the bits; keep theirs.
  const uint32_t now = stateOf(window, kStateSlot);
  const uint32_t moving = check::kTracking | check::kPushed | check::kInside;
  setState(window, kStateSlot, (now & ~moving) | (o.state & moving));
  if (o.setCheck >= 0) SendMessageA(window, BM_SETCHECK, static_cast<WPARAM>(o.setCheck), 0);
  if (o.click) reportClick(window);
}

bool handleCheckMessage(HWND window, Kind kind, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const uint32_t state = stateOf(window, kStateSlot);
  *result = 0;
  switch (message) {
    case WM_GETDLGCODE:
      *result = kind == Kind::Radio ? DLGC_RADIOBUTTON : DLGC_BUTTON;
      return true;
    case BM_GETCHECK:
      *result = kesta::controls::checkGetCheck(state);
      return true;
    case BM_SETCHECK:
      *result = setCheck(window, kind, wParam);
      return true;
    case BM_GETSTATE:
      *result = (state & check::kPushed) ? BST_PUSHED : 0;
      return true;
    case BM_SETSTATE:
      setState(window, kStateSlot, wParam ? state | check::kPushed : state & ~check::kPushed);
      return true;
    case WM_SETFOCUS:
      setState(window, kStateSlot, state | check::kFocused);
      return true;
    case WM_KILLFOCUS:
      setState(window, kStateSlot, state & ~check::kFocused);
      return true;
    case WM_ENABLE:
      InvalidateRect(window, nullptr, FALSE);
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam != VK_SPACE) return false;
      checkInput(window, message == WM_KEYDOWN ? Input::SpaceDown : Input::SpaceUp, lParam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      checkInput(window, Input::MouseDown, lParam);
      return true;
    case WM_MOUSEMOVE:
      checkInput(window, Input::MouseMove, lParam);
      return true;
    case WM_LBUTTONUP:
      checkInput(window, Input::MouseUp, lParam);
      return true;
    default:
      return false;
  }
}

LRESULT buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Kind kind) {
  FaceBlock* faces = facesOf(window, kFaceSlot);
  LRESULT result = 0;
  if (handleFontMessage(window, faces, message, wParam, lParam, false, &result)) return result;
  switch (message) {
    case WM_CREATE: {
      const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (createFaces(window, kFaceSlot, cs) == nullptr) return -1;
      uint32_t state = 0;
      if (kind == Kind::Push) {
        if ((cs->style & 0xF) == BS_DEFPUSHBUTTON) state |= push::kDefault;
        if (cs->style & WS_DISABLED) state |= push::kDisabled;
      }
      SetWindowLongPtrA(window, slot(kStateSlot), static_cast<LONG_PTR>(state));
      notifyParent(window, WM_CREATE);
      return 0;
    }
    case WM_DESTROY:
      notifyParent(window, WM_DESTROY);
      if (GetCapture() == window) ReleaseCapture();
      destroyFaces(window, kFaceSlot);
      return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (handleTextMessage(window, faces, message, wParam, lParam, &result)) return result;
      break;
    case WM_PAINT:
      paint(window, kind);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      if (kind == Kind::Push ? handlePushMessage(window, kStateSlot, message, wParam, lParam, &result)
                             : handleCheckMessage(window, kind, message, wParam, lParam, &result))
        return result;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HCTL_API LRESULT WINAPI HCTL_FN(ButtonWndFn)(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return buttonProc(w, m, wp, lp, Kind::Push);
}
HCTL_API LRESULT WINAPI HCTL_FN(CheckBoxWndFn)(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return buttonProc(w, m, wp, lp, Kind::Check);
}
HCTL_API LRESULT WINAPI HCTL_FN(RadioButtonWndFn)(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return buttonProc(w, m, wp, lp, Kind::Radio);
}
