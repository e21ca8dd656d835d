// Process attach and detach: the nine window classes and five font messages,
// the dialog base units; the version and colour-bit exports.
#include "controls/win32_library.h"

#include "controls/hctl.h"

namespace hctl {

HINSTANCE g_module = nullptr;
FontMessages g_messages;
int g_baseX = 8, g_baseY = 16;
ATOM g_classAtoms[kClassCount] = {};

namespace {

LONG g_attachCount = 0;

struct ClassInfo {
  const char* suffix;     // after the prefix HCTL or HCTLW
  WNDPROC procedure;
  UINT style;
  int extraBytes;
  HBRUSH background;
  LPCSTR cursor;
};

constexpr UINT kStyleDbl = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;  // 0x400B
constexpr UINT kStyle = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;                   // 0x4003

// The listed extra bytes hold on win32; on win64 the slots are pointer-wide.
// The dialog classes keep the dialog manager's DLGWINDOWEXTRA (+ one word).
constexpr int kStaticExtra = slot(3), kBitmapButtonExtra = slot(2), kButtonExtra = slot(3);
constexpr int kLineEditExtra = slot(1), kEditExtra = slot(2);
#ifndef _WIN64
static_assert(DLGWINDOWEXTRA == 30 && kStaticExtra == 12 && kBitmapButtonExtra == 8 && kButtonExtra == 12 &&
              kLineEditExtra == 4 && kEditExtra == 8);
#endif

void registerClasses() {
  const ClassInfo classes[kClassCount] = {
      {"Dlg", HCTL_FN(DlgProc), kStyleDbl, DLGWINDOWEXTRA, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)),
       IDC_ARROW},
      {"MsgBoxDlg", HCTL_FN(DlgProc), kStyleDbl, DLGWINDOWEXTRA + 4,
       static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), IDC_ARROW},
      {"Static", HCTL_FN(StaticWndFn), kStyleDbl, kStaticExtra, nullptr, IDC_ARROW},
      {"BitmapButton", HCTL_FN(BitmapButtonWndFn), kStyleDbl, kBitmapButtonExtra, nullptr, IDC_ARROW},
      {"Button", HCTL_FN(ButtonWndFn), kStyleDbl, kButtonExtra, nullptr, IDC_ARROW},
      {"RadioButton", HCTL_FN(RadioButtonWndFn), kStyle, kButtonExtra, nullptr, IDC_ARROW},
      {"CheckBox", HCTL_FN(CheckBoxWndFn), kStyle, kButtonExtra, nullptr, IDC_ARROW},
      {"LineEdit", HCTL_FN(LineEditWndFn), kStyle, kLineEditExtra, reinterpret_cast<HBRUSH>(COLOR_MENU + 1),
       IDC_IBEAM},
      {"Edit", HCTL_FN(EditWndFn), kStyle, kEditExtra, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
       IDC_IBEAM},
  };
  for (int i = 0; i < kClassCount; ++i) {
    char name[32] = HCTL_PREFIX;
    lstrcatA(name, classes[i].suffix);
    WNDCLASSA wc = {};
    wc.style = classes[i].style;
    wc.lpfnWndProc = classes[i].procedure;
    wc.cbWndExtra = classes[i].extraBytes;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursorA(nullptr, classes[i].cursor);
    wc.hbrBackground = classes[i].background;
    wc.lpszClassName = name;
    g_classAtoms[i] = RegisterClassA(&wc);
  }
}

void unregisterClasses() {
  for (ATOM& atom : g_classAtoms) {
    if (atom != 0) UnregisterClassA(MAKEINTATOM(atom), g_module);
    atom = 0;
  }
}

}  // namespace

int classOf(HWND window) {
  if (window == nullptr) return -1;
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  for (int i = 0; i < kClassCount; ++i)
    if (atom != 0 && g_classAtoms[i] == atom) return i;
  return -1;
}

}  // namespace hctl

using namespace hctl;

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    if (g_attachCount++ == 0) {
      const LONG units = GetDialogBaseUnits();
      if (LOWORD(units) != 0) g_baseX = LOWORD(units);
      if (HIWORD(units) != 0) g_baseY = HIWORD(units);
      g_messages.hangul = RegisterWindowMessageA("HWM_SETHANGULFONT");
      g_messages.hanja = RegisterWindowMessageA("HWM_SETHANJAFONT");
      g_messages.special = RegisterWindowMessageA("HWM_SETSPECIALFONT");
      g_messages.english = RegisterWindowMessageA("HWM_SETENGLISHFONT");
      g_messages.kssm = RegisterWindowMessageA("HWM_SETKSSMSPECIALFONT");
      registerClasses();
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    // At process exit (reserved set) the classes go with the process; user32
    // may already be shutting down, so leave them.
    if (g_attachCount > 0 && --g_attachCount == 0 && reserved == nullptr) unregisterClasses();
  }
  return TRUE;
}

// 1.01 for HCTL32, 1.00 for HCTLW32: major version in the high byte.
HCTL_API WORD WINAPI HCTL_FN(GetVersion)(void) {
#ifdef HCTL_WIDE
  return 0x0100;
#else
  return 0x0101;
#endif
}

// Only the static and the multi-line edit keep colour bits (in word 0);
// other windows, the line edit among them, keep other things there.
HCTL_API LONG WINAPI HCTL_FN(SetCtlColorBits)(HWND window, LONG bits) {
  const int kind = classOf(window);
  if (kind != kStatic && kind != kEdit) return 0;
  return static_cast<LONG>(SetWindowLongPtrA(window, slot(0), static_cast<LONG_PTR>(bits & 0xFFFF)));
}

HCTL_API UINT WINAPI GetHwmSetHangulFont(void) { return g_messages.hangul; }
HCTL_API UINT WINAPI GetHwmSetHanjaFont(void) { return g_messages.hanja; }
HCTL_API UINT WINAPI GetHwmSetSpecialFont(void) { return g_messages.special; }
HCTL_API UINT WINAPI GetHwmSetEnglishFont(void) { return g_messages.english; }
HCTL_API UINT WINAPI GetHwmSetKSSMSpecialFont(void) { return g_messages.kssm; }
