// The face block every text-bearing control keeps: its face names, its Hanja
// setting and its own byte copy of the window text (the window manager's copy
// passes through the ANSI code page and would lose johab text).
#pragma once

#include <windows.h>

#include <string>

namespace hctl {

inline constexpr int kFaceBytes = 260;  // 259 characters and a NUL

struct FaceBlock {
  char english[kFaceBytes] = "InternalMokraGothic";
  char hangul[kFaceBytes] = "InternalGothic";
  char special[kFaceBytes] = "KSSpecial";
  char kssm[kFaceBytes] = "KSSMSpecial";
  bool hanjaSet = false;
  HANDLE hanjaFile = nullptr;
  int hanjaWidth = 0, hanjaHeight = 0;
  std::string text;  // internal code (HCTL32) or code page 949 (HCTLW32)
  // The text is in the combination code in either build: the pickers' codes,
  // among them symbols that code page 949 does not have.
  bool combinationText = false;
};

// Copies at most kFaceBytes - 1 bytes of a caller's face name, NUL-terminated.
void copyFace(char (&to)[kFaceBytes], const char* from);

// Creates the block in window slot `slotIndex`, registers the window with the
// text library and keeps the creation text. Null when out of memory.
FaceBlock* createFaces(HWND window, int slotIndex, const CREATESTRUCTA* create);
FaceBlock* facesOf(HWND window, int slotIndex);
void destroyFaces(HWND window, int slotIndex);

// Selects the block's faces (and Hanja setting) into a registered DC.
void selectFaces(HDC dc, const FaceBlock& faces);

// The five font messages. `nameOnlyWithFlag2`: the edits' rule (a name needs
// flag 2); the static and buttons take any flags without bit 1 as a name.
// Returns true when the message was one of them; *result is its result.
bool handleFontMessage(HWND window, FaceBlock* faces, UINT message, WPARAM wParam, LPARAM lParam,
                       bool nameOnlyWithFlag2, LRESULT* result);

// WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH from the block's copy. True when handled.
bool handleTextMessage(HWND window, FaceBlock* faces, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The window text drawn through the text library: the W forms in HCTLW32.
int drawText(HDC dc, const std::string& text, RECT* rect, UINT format);
int textOut(HDC dc, int x, int y, const std::string& text);
int extTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const std::string& text);

// WM_PARENTNOTIFY to the parent for creation and destruction.
void notifyParent(HWND window, UINT event);

}  // namespace hctl
