// State shared by the control library's Win32 files: the module, the
// registered classes and messages, the dialog base units and the layout of
// the controls' window words.
#pragma once

#include <windows.h>

namespace hctl {

// The library's module (resources, templates run without an owner).
extern HINSTANCE g_module;

// Registered message numbers, 0 until the first attach.
struct FontMessages {
  UINT hangul = 0, hanja = 0, special = 0, english = 0, kssm = 0;
};
extern FontMessages g_messages;

// GetDialogBaseUnits at attach: pixels to dialog units.
extern int g_baseX, g_baseY;

// The nine classes, by the order of kClassNames.
enum ClassIndex { kDlg, kMsgBoxDlg, kStatic, kBitmapButton, kButton, kRadioButton, kCheckBox, kLineEdit, kEdit,
                  kClassCount };
extern ATOM g_classAtoms[kClassCount];
// The window's class among ours, or -1.
int classOf(HWND window);

// Window words are pointer-sized slots: slot i at i * sizeof(LONG_PTR).
// On win32 the slots are the listed 4-byte words (offsets 0, 4, 8); on win64
// each is 8 bytes wide because several hold handles or pointers.
constexpr int slot(int i) { return i * static_cast<int>(sizeof(LONG_PTR)); }

// The colour bit (word 0 of the static and the multi-line edit) that asks
// for the parent's WM_CTLCOLOR* brush.
constexpr LONG_PTR kUseParentBrush = 4;

}  // namespace hctl
