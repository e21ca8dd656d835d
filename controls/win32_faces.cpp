#include "controls/win32_faces.h"

#include <cstring>
#include <new>

#include "controls/win32_library.h"
#include "hangul/quilh32.h"

namespace hctl {

void copyFace(char (&to)[kFaceBytes], const char* from) {
  if (from == nullptr) return;
  size_t n = 0;
  while (n < kFaceBytes - 1 && from[n] != 0) ++n;
  std::memcpy(to, from, n);
  to[n] = 0;
}

FaceBlock* createFaces(HWND window, int slotIndex, const CREATESTRUCTA* create) {
  FaceBlock* faces = new (std::nothrow) FaceBlock;
  if (faces == nullptr) return nullptr;
  if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName))
    faces->text = create->lpszName;
  SetWindowLongPtrA(window, slot(slotIndex), reinterpret_cast<LONG_PTR>(faces));
  RegisterWindow(window);
  return faces;
}

FaceBlock* facesOf(HWND window, int slotIndex) {
  return reinterpret_cast<FaceBlock*>(GetWindowLongPtrA(window, slot(slotIndex)));
}

void destroyFaces(HWND window, int slotIndex) {
  FaceBlock* faces = facesOf(window, slotIndex);
  SetWindowLongPtrA(window, slot(slotIndex), 0);
  UnregisterWindow(window);
  delete faces;
}

void selectFaces(HDC dc, const FaceBlock& faces) {
  HSelectEnglishObject(dc, faces.english, nullptr);
  HSelectHangulObject(dc, faces.hangul, nullptr);
  HSelectSpecialObject(dc, faces.special, nullptr);
  HSelectKSSMSpecialObject(dc, faces.kssm, nullptr);
  if (faces.hanjaSet) HSelectHanjaObject(dc, faces.hanjaFile, faces.hanjaWidth, faces.hanjaHeight);
}

bool handleFontMessage(HWND window, FaceBlock* faces, UINT message, WPARAM wParam, LPARAM lParam,
                       bool nameOnlyWithFlag2, LRESULT* result) {
  const FontMessages& m = g_messages;
  if (message == 0 || faces == nullptr) return false;
  *result = 0;
  if (message == m.hanja) {
    const DWORD* values = reinterpret_cast<const DWORD*>(lParam);
    if (values != nullptr) {
      faces->hanjaSet = true;
      // Handles carry 32 significant bits and widen sign-extended.
      faces->hanjaFile = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(static_cast<LONG>(values[0])));
      faces->hanjaWidth = static_cast<int>(values[1]);
      faces->hanjaHeight = static_cast<int>(values[2]);
      SelectHanja(window, faces->hanjaFile, faces->hanjaWidth, faces->hanjaHeight);
      *result = 1;
    }
    if (wParam != 0) {
      InvalidateRect(window, nullptr, TRUE);
      UpdateWindow(window);
    }
    return true;
  }
  char* face;
  int(WINAPI * select)(HWND, LPCSTR, QuilFontHeader*);
  if (message == m.hangul) face = faces->hangul, select = SelectHangul;
  else if (message == m.english) face = faces->english, select = SelectEnglish;
  else if (message == m.special) face = faces->special, select = SelectSpecial;
  else if (message == m.kssm) face = faces->kssm, select = SelectKSSMSpecial;
  else return false;
  char(&name)[kFaceBytes] = *reinterpret_cast<char(*)[kFaceBytes]>(face);
  if (wParam & 1) {
    QuilFontHeader* header = reinterpret_cast<QuilFontHeader*>(lParam);
    if (header != nullptr) {
      *result = select(window, nullptr, header);
      // The header's own name field is fixed-width; copy it bounded all the same.
      char headerFace[kFaceBytes];
      std::memcpy(headerFace, header->faceName, kFaceBytes - 1);
      headerFace[kFaceBytes - 1] = 0;
      copyFace(name, headerFace);
    }
  } else if (!nameOnlyWithFlag2 || (wParam & 2)) {
    const char* given = reinterpret_cast<const char*>(lParam);
    if (given != nullptr) {
      copyFace(name, given);
      *result = select(window, name, nullptr);
    }
  }
  if (wParam & 4) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
  return true;
}

bool handleTextMessage(HWND window, FaceBlock* faces, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (faces == nullptr) return false;
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      faces->text = text != nullptr ? text : "";
      faces->combinationText = false;
      InvalidateRect(window, nullptr, TRUE);
      *result = 1;
      return true;
    }
    case WM_GETTEXT: {
      char* out = reinterpret_cast<char*>(lParam);
      if (out == nullptr || wParam == 0) {
        *result = 0;
        return true;
      }
      size_t n = faces->text.size();
      if (n > wParam - 1) n = wParam - 1;
      // Never end inside a two-byte character.
      size_t cut = 0;
      while (cut < n) {
        const size_t step = static_cast<unsigned char>(faces->text[cut]) >= 0x80 ? 2 : 1;
        if (cut + step > n) break;
        cut += step;
      }
      std::memcpy(out, faces->text.data(), cut);
      out[cut] = 0;
      *result = static_cast<LRESULT>(cut);
      return true;
    }
    case WM_GETTEXTLENGTH:
      *result = static_cast<LRESULT>(faces->text.size());
      return true;
    default:
      return false;
  }
}

int drawText(HDC dc, const std::string& text, RECT* rect, UINT format) {
#ifdef HCTL_WIDE
  return WDrawText(dc, text.c_str(), static_cast<int>(text.size()), rect, format);
#else
  return HDrawText(dc, text.c_str(), static_cast<int>(text.size()), rect, format);
#endif
}

int textOut(HDC dc, int x, int y, const std::string& text) {
#ifdef HCTL_WIDE
  return WTextOut(dc, x, y, text.c_str(), static_cast<int>(text.size()));
#else
  return HTextOut(dc, x, y, text.c_str(), static_cast<int>(text.size()));
#endif
}

int extTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const std::string& text) {
#ifdef HCTL_WIDE
  return WExtTextOut(dc, x, y, options, rect, text.c_str(), static_cast<int>(text.size()), nullptr);
#else
  return HExtTextOut(dc, x, y, options, rect, text.c_str(), static_cast<int>(text.size()), nullptr);
#endif
}

void notifyParent(HWND window, UINT event) {
  HWND parent = GetParent(window);
  if (parent == nullptr) return;
  const WORD id = static_cast<WORD>(GetWindowLongPtrA(window, GWLP_ID));
  SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id), reinterpret_cast<LPARAM>(window));
}

}  // namespace hctl
