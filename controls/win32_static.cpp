// "HCTLStatic": icons, bitmaps, frames, filled rectangles and Hangul text.
// Words: 0 colour bits, 1 face block, 2 image handle.
#include "controls/hctl.h"
#include "controls/static_style.h"
#include "controls/win32_draw.h"
#include "controls/win32_faces.h"
#include "controls/win32_images.h"
#include "controls/win32_library.h"
#include "hangul/quilh32.h"

using namespace hctl;
using kesta::controls::StaticKind;
using kesta::controls::StaticLook;

namespace {

constexpr int kColourSlot = 0, kFaceSlot = 1, kImageSlot = 2;
constexpr UINT kSetImageOld = 0xFFE;  // sets the image like STM_SETICON; redraws on any non-zero argument

StaticLook lookOf(HWND window) {
  return kesta::controls::decodeStaticStyle(static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)));
}

HANDLE imageOf(HWND window) { return reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, slot(kImageSlot))); }

void deleteImage(HANDLE image, StaticKind kind) {
  if (image == nullptr) return;
  if (kind == StaticKind::Icon) DestroyIcon(static_cast<HICON>(image));
  else DeleteObject(image);
}

// The image the window text names, for the icon and bitmap kinds.
void loadImage(HWND window, const FaceBlock& faces) {
  const StaticLook look = lookOf(window);
  if (look.kind != StaticKind::Icon && look.kind != StaticKind::Bitmap) return;
  HINSTANCE owner = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  HANDLE image = look.kind == StaticKind::Icon ? static_cast<HANDLE>(loadNamedIcon(owner, faces.text.c_str()))
                                               : static_cast<HANDLE>(loadNamedBitmap(owner, faces.text.c_str()));
  deleteImage(reinterpret_cast<HANDLE>(SetWindowLongPtrA(window, slot(kImageSlot), reinterpret_cast<LONG_PTR>(image))),
              look.kind);
}

HBRUSH backgroundBrush(HWND window, HDC dc, HBRUSH fallback) {
  if (GetWindowLongPtrA(window, slot(kColourSlot)) & kUseParentBrush) {
    HWND parent = GetParent(window);
    HBRUSH brush = parent != nullptr ? reinterpret_cast<HBRUSH>(SendMessageA(
                                           parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(window)))
                                     : nullptr;
    if (brush != nullptr) return brush;
  }
  return fallback;
}

COLORREF fillColour(kesta::controls::FillColour fill) {
  switch (fill) {
    case kesta::controls::FillColour::WindowFrame: return GetSysColor(COLOR_WINDOWFRAME);
    case kesta::controls::FillColour::Desktop: return GetSysColor(COLOR_DESKTOP);
    case kesta::controls::FillColour::Window: return GetSysColor(COLOR_WINDOW);
    default: return kLightGrey;
  }
}

void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = HBeginPaint(window, &ps);
  if (dc == nullptr) return;
  FaceBlock* faces = facesOf(window, kFaceSlot);
  RECT client;
  GetClientRect(window, &client);
  const StaticLook look = lookOf(window);
  switch (look.kind) {
    case StaticKind::Icon:
      if (HANDLE icon = imageOf(window)) DrawIcon(dc, 0, 0, static_cast<HICON>(icon));
      break;
    case StaticKind::Bitmap:
      if (HANDLE bitmap = imageOf(window)) drawBitmap(dc, 0, 0, static_cast<HBITMAP>(bitmap), SRCCOPY);
      break;
    case StaticKind::PlainText:
      if (faces != nullptr) {
        selectFaces(dc, *faces);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetBkMode(dc, OPAQUE);
        if (look.clipped) extTextOut(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &client, faces->text);
        else textOut(dc, 0, 0, faces->text);
      }
      break;
    case StaticKind::EtchedFrame: {
      RECT inner = {client.left + 1, client.top + 1, client.right, client.bottom};
      drawOutline(dc, inner, kWhite);
      RECT outer = {client.left, client.top, client.right - 1, client.bottom - 1};
      drawOutline(dc, outer, kBlack);
      break;
    }
    case StaticKind::FilledRect:
      hctl::fillColour(dc, client, fillColour(look.fill));
      if (look.sunkenFrame) drawFrame(dc, client, kDarkGrey, kWhite, 1);
      else drawFrame(dc, client, kWhite, kDarkGrey, 1);
      break;
    case StaticKind::Text: {
      if (faces == nullptr) break;
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      HBRUSH brush = backgroundBrush(window, dc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
      FillRect(dc, &client, brush);
      selectFaces(dc, *faces);
      SetBkMode(dc, TRANSPARENT);
      const COLORREF ink = GetTextColor(dc);
      RECT r = client;
      if (look.relief == kesta::controls::TextRelief::Flat) {
        drawText(dc, faces->text, &r, look.format);
        break;
      }
      // Raised: white one pixel down and right under the text; sunken: the reverse order.
      RECT shifted = {client.left + 1, client.top + 1, client.right + 1, client.bottom + 1};
      const bool raised = look.relief == kesta::controls::TextRelief::Raised;
      SetTextColor(dc, raised ? kWhite : ink);
      drawText(dc, faces->text, raised ? &shifted : &r, look.format);
      SetTextColor(dc, raised ? ink : kWhite);
      drawText(dc, faces->text, raised ? &r : &shifted, look.format);
      break;
    }
  }
  SelectClipRgn(dc, nullptr);
  HEndPaint(window, &ps);
}

LRESULT setImage(HWND window, HANDLE image, bool redraw) {
  const LONG_PTR old = SetWindowLongPtrA(window, slot(kImageSlot), reinterpret_cast<LONG_PTR>(image));
  if (redraw) InvalidateRect(window, nullptr, TRUE);
  return old;
}

}  // namespace

HCTL_API LRESULT WINAPI HCTL_FN(StaticWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FaceBlock* faces = facesOf(window, kFaceSlot);
  LRESULT result = 0;
  if (handleFontMessage(window, faces, message, wParam, lParam, false, &result)) return result;
  switch (message) {
    case WM_CREATE:
      faces = createFaces(window, kFaceSlot, reinterpret_cast<const CREATESTRUCTA*>(lParam));
      if (faces == nullptr) return -1;
      loadImage(window, *faces);
      notifyParent(window, WM_CREATE);
      return 0;
    case WM_DESTROY:
      notifyParent(window, WM_DESTROY);
      deleteImage(reinterpret_cast<HANDLE>(SetWindowLongPtrA(window, slot(kImageSlot), 0)), lookOf(window).kind);
      destroyFaces(window, kFaceSlot);
      return 0;
    case WM_SETTEXT:
      handleTextMessage(window, faces, message, wParam, lParam, &result);
      if (faces != nullptr) loadImage(window, *faces);
      UpdateWindow(window);
      return 1;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (handleTextMessage(window, faces, message, wParam, lParam, &result)) return result;
      break;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case STM_SETICON:
      return setImage(window, reinterpret_cast<HANDLE>(wParam), LOWORD(lParam) != 0);
    case kSetImageOld:
      return setImage(window, reinterpret_cast<HANDLE>(wParam), lParam != 0);
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(imageOf(window));
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
