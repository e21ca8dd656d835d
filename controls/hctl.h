// HCTL32.DLL and HCTLW32.DLL: the Hangul control library. One source built
// twice; HCTL_WIDE selects the second build, whose class names and the
// exports that begin with HCTL carry the prefix HCTLW and whose controls hold
// their window texts in code page 949 and draw them through the W forms.
// Every export is stdcall; the ordinals are frozen in hctl32.def and hctlw32.def.
#pragma once

#include <windows.h>

#include "fonts/quilf32.h"

#ifdef HCTL_BUILD
#define HCTL_API extern "C" __declspec(dllexport)
#else
#define HCTL_API extern "C" __declspec(dllimport)
#endif

// HCTL_FN(GetVersion) names HCTLGetVersion or HCTLWGetVersion.
#ifdef HCTL_WIDE
#define HCTL_FN(name) HCTLW##name
#define HCTL_PREFIX "HCTLW"
#else
#define HCTL_FN(name) HCTL##name
#define HCTL_PREFIX "HCTL"
#endif

// Start, version, colour bits, registered message numbers.
HCTL_API WORD WINAPI HCTL_FN(GetVersion)(void);
HCTL_API LONG WINAPI HCTL_FN(SetCtlColorBits)(HWND window, LONG bits);
HCTL_API UINT WINAPI GetHwmSetHangulFont(void);
HCTL_API UINT WINAPI GetHwmSetHanjaFont(void);
HCTL_API UINT WINAPI GetHwmSetSpecialFont(void);
HCTL_API UINT WINAPI GetHwmSetEnglishFont(void);
HCTL_API UINT WINAPI GetHwmSetKSSMSpecialFont(void);

// Window procedures of the nine classes.
HCTL_API LRESULT WINAPI HCTL_FN(DlgProc)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(StaticWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(BitmapButtonWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(ButtonWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(RadioButtonWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(CheckBoxWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(LineEditWndFn)(HWND, UINT, WPARAM, LPARAM);
HCTL_API LRESULT WINAPI HCTL_FN(EditWndFn)(HWND, UINT, WPARAM, LPARAM);

// In-memory dialog templates. Positions and sizes in pixels; the result is a
// GlobalAlloc block (free it with GlobalFree), null on failure.
HCTL_API LPVOID WINAPI CreateDialogHeader(DWORD style, DWORD extendedStyle, DWORD* size, int x, int y, int cx,
                                          int cy, LPCSTR menu, LPCSTR className, LPCSTR caption);
HCTL_API LPVOID WINAPI CreateDialogItem(LPVOID dialogTemplate, DWORD* size, WORD id, DWORD style,
                                        DWORD extendedStyle, LPCSTR className, int x, int y, int cx, int cy,
                                        LPCSTR text);

// The Hangul message box: text in the combination code (HMessageBox) or in
// code page 949 (WMessageBox). Returns the identifier of the button pressed.
HCTL_API int WINAPI HMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HCTL_API int WINAPI WMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HCTL_API INT_PTR WINAPI MsgBoxDlgFn(HWND, UINT, WPARAM, LPARAM);

// Hanja and special-character pickers: the code chosen in the low 16 bits.
HCTL_API int WINAPI HanjaInput(HWND owner, WORD syllable);
HCTL_API INT_PTR WINAPI HanjaInputDlgFn(HWND, UINT, WPARAM, LPARAM);
HCTL_API int WINAPI SpecialInput(HWND owner, LPCSTR face);
HCTL_API INT_PTR WINAPI SpecialInputDlgFn(HWND, UINT, WPARAM, LPARAM);
// HEnumFonts callback: keeps the cell size of the face and kind asked for.
HCTL_API int WINAPI GetFontInfo(void* context, QuilFontHeader* header, LPARAM kind, void* face);
