// QUILH32.DLL: the Hangul text library. Keyboard automata per registered
// window, the registry of windows and device contexts with their fonts, the
// DC wrappers, Hangul text output and Hangul menus. Every export is stdcall;
// the ordinals are frozen in quilh32.def and callers link by ordinal.
#pragma once

#include <windows.h>

#include "fonts/quilf32.h"
#include "hangul/automata.h"

#ifdef QUILH32_BUILD
#define QUILH32_API extern "C" __declspec(dllexport)
#else
#define QUILH32_API extern "C" __declspec(dllimport)
#endif

using HAutomataState = kesta::hangul::AutomataState;
using HStepRoutine = kesta::hangul::StepRoutine;
using HJamoToKeyRoutine = kesta::hangul::JamoToKeyRoutine;

// Filled by HGetTextMetrics: ten 32-bit fields.
struct HTextMetric {
  LONG height;
  LONG ascent;
  LONG descent;
  LONG internalLeading;
  LONG externalLeading;
  LONG hangulWidth;
  LONG englishWidth;
  LONG hanjaWidth;
  LONG specialWidth;
  LONG kssmSpecialWidth;
};

// Start and end.
QUILH32_API int WINAPI InitHangulLib(void);
QUILH32_API void WINAPI DestroyHangulLib(void);

// Registration.
QUILH32_API int WINAPI RegisterWindow(HWND window);
QUILH32_API int WINAPI RegisterDC(HDC dc);
QUILH32_API int WINAPI RegisterDCWithWindow(HWND window, HDC dc);
QUILH32_API int WINAPI UnregisterWindow(HWND window);
QUILH32_API int WINAPI UnregisterDC(HDC dc);
QUILH32_API int WINAPI UnregisterDCWithWindow(HWND window, HDC dc);

// Font selection.
QUILH32_API int WINAPI SelectHangul(HWND window, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI HSelectHangulObject(HDC dc, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI SelectEnglish(HWND window, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI HSelectEnglishObject(HDC dc, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI SelectSpecial(HWND window, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI HSelectSpecialObject(HDC dc, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI SelectKSSMSpecial(HWND window, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI HSelectKSSMSpecialObject(HDC dc, LPCSTR face, QuilFontHeader* header);
QUILH32_API int WINAPI SelectHanja(HWND window, HANDLE file, int cellWidth, int cellHeight);
QUILH32_API int WINAPI HSelectHanjaObject(HDC dc, HANDLE file, int cellWidth, int cellHeight);
QUILH32_API int WINAPI HGetTextFace(HDC dc, int size, LPSTR buffer);
QUILH32_API int WINAPI HGetSpecialTextFace(HDC dc, int size, LPSTR buffer);
QUILH32_API int WINAPI HGetKSSMSpecialTextFace(HDC dc, int size, LPSTR buffer);

// DC wrappers.
QUILH32_API HDC WINAPI HGetDC(HWND window);
QUILH32_API HDC WINAPI HGetWindowDC(HWND window);
QUILH32_API HDC WINAPI HBeginPaint(HWND window, PAINTSTRUCT* paint);
QUILH32_API int WINAPI HReleaseDC(HWND window, HDC dc);
QUILH32_API int WINAPI HEndPaint(HWND window, const PAINTSTRUCT* paint);
QUILH32_API HDC WINAPI HCreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode);
QUILH32_API HDC WINAPI HCreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode);
QUILH32_API int WINAPI HDeleteDC(HDC dc);
QUILH32_API HDC WINAPI HCreateCompatibleDC(HDC dc);

// Text output.
QUILH32_API int WINAPI HTextOut(HDC dc, int x, int y, LPCSTR text, int length);
QUILH32_API int WINAPI HTextOut2(HDC dc, int x, int y, LPCSTR text, int length);
QUILH32_API int WINAPI HExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, int length,
                                   const int* advances);
QUILH32_API LONG WINAPI HTabbedTextOut(HDC dc, int x, int y, LPCSTR text, int length, int tabCount,
                                       const int* tabPositions, int tabOrigin);
QUILH32_API int WINAPI HDrawText(HDC dc, LPCSTR text, int length, RECT* rect, UINT flags);
QUILH32_API DWORD WINAPI HGetTextExtent(HDC dc, LPCSTR text, int length);
QUILH32_API BOOL WINAPI HGetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size);
QUILH32_API DWORD WINAPI HGetTabbedTextExtent(HDC dc, LPCSTR text, int length, int tabCount, const int* tabPositions);
QUILH32_API int WINAPI HGetTextMetrics(HDC dc, HTextMetric* metrics);
QUILH32_API int WINAPI IsHangul(LPCSTR text, int index);
QUILH32_API void WINAPI SetTabSize(int tabSize);
QUILH32_API int WINAPI WTextOut(HDC dc, int x, int y, LPCSTR text, int length);
QUILH32_API int WINAPI WTextOut2(HDC dc, int x, int y, LPCSTR text, int length);
QUILH32_API int WINAPI WDrawText(HDC dc, LPCSTR text, int length, RECT* rect, UINT flags);
QUILH32_API int WINAPI WExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, int length,
                                   const int* advances);

// Menus.
QUILH32_API HMENU WINAPI LoadHangulMenu(HWND window, LPCSTR name);
QUILH32_API HMENU WINAPI LoadAndDrawMenu(HWND window, LPCSTR name);
QUILH32_API HMENU WINAPI LoadHangulMenuFromDLL(HWND window, HINSTANCE module, LPCSTR name);
QUILH32_API HMENU WINAPI LoadAndDrawMenuFromDLL(HWND window, HINSTANCE module, LPCSTR name);
QUILH32_API HMENU WINAPI WLoadHangulMenu(HWND window, LPCSTR name);
QUILH32_API HMENU WINAPI WLoadAndDrawMenu(HWND window, LPCSTR name);
QUILH32_API HMENU WINAPI WLoadHangulMenuFromDLL(HWND window, HINSTANCE module, LPCSTR name);
QUILH32_API HMENU WINAPI WLoadAndDrawMenuFromDLL(HWND window, HINSTANCE module, LPCSTR name);
QUILH32_API void WINAPI HDestroyMenuBitmaps(HWND window);
QUILH32_API HBITMAP WINAPI MakeHanMenuBitmap(LPCSTR text);
QUILH32_API HBITMAP WINAPI MakeHanStrBitmap(LPCSTR text, LPCSTR face, QuilFontHeader* header);
QUILH32_API LPSTR WINAPI SetMenuHangulFont(LPCSTR face);
QUILH32_API LPSTR WINAPI RestoreMenuHangulFont(void);

// Keyboard automata of registered windows.
QUILH32_API int WINAPI InitAutomata(HWND window, int keyboardType);
QUILH32_API int WINAPI SetKbdType(HWND window, int keyboardType);
QUILH32_API int WINAPI GetKbdType(HWND window);
QUILH32_API int WINAPI SetUserKbdType(HWND window, HStepRoutine step, HJamoToKeyRoutine initialToKey,
                                      HJamoToKeyRoutine medialToKey, HJamoToKeyRoutine finalToKey);
QUILH32_API int WINAPI SetHangulMode(HWND window, int mode);
QUILH32_API int WINAPI IsInHangulMode(HWND window);
QUILH32_API int WINAPI IsToggleKeyPressed(HWND window, int virtualKey);
QUILH32_API short WINAPI GetKey(HWND window, WORD* key);
QUILH32_API WORD WINAPI GetCompletedCode(HWND window);
QUILH32_API WORD WINAPI GetCurrentCode(HWND window);
QUILH32_API int WINAPI GetCurrentKeys(HWND window, WORD* initialKey, WORD* medialKey, WORD* finalKey);
QUILH32_API WORD WINAPI MakeCompleteCode(HWND window);
QUILH32_API int WINAPI ClearCodes(HWND window);
QUILH32_API int WINAPI IsProcessingInput(HWND window);
QUILH32_API int WINAPI WasProcessingInput(HWND window);
QUILH32_API short WINAPI Automata2(HAutomataState* state, WORD* key);
QUILH32_API short WINAPI Automata3(HAutomataState* state, WORD* key);
QUILH32_API WORD WINAPI Cho2Key(HAutomataState* state, WORD jamo);
QUILH32_API WORD WINAPI Jung2Key(HAutomataState* state, WORD jamo);
QUILH32_API WORD WINAPI Jong2Key(HAutomataState* state, WORD jamo);
QUILH32_API int WINAPI DisableIME(DWORD a);
QUILH32_API int WINAPI EnableIME(DWORD a, DWORD b);
