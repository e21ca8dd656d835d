// QUILF32.DLL: the store of built-in and added bitmap fonts. Exports are
// stdcall and listed with their ordinals in quilf32.def (1 and 11 unused).
#pragma once

#include <windows.h>

#include "fonts/font_header.h"

#ifdef QUILF32_BUILD
#define QUILF32_API extern "C" __declspec(dllexport)
#else
#define QUILF32_API extern "C" __declspec(dllimport)
#endif

using QuilFontHeader = kesta::fonts::FontHeader;
// HEnumFonts callback: non-zero to go on, 0 to stop.
using QuilFontEnumProc = int(WINAPI*)(void* context, QuilFontHeader* header, LPARAM value, void* data);

QUILF32_API WORD WINAPI GetQuilFontVersion(void);
QUILF32_API QuilFontHeader* WINAPI SelectQuilFont(LPSTR face, QuilFontHeader* current, int kind);
QUILF32_API int WINAPI HAddFontResource(LPCSTR file);
QUILF32_API int WINAPI HRemoveFontResource(LPCSTR file);
QUILF32_API int WINAPI HEnumFonts(void* context, QuilFontEnumProc callback, LPARAM value, void* data);
QUILF32_API QuilFontHeader* WINAPI CreateQuilFont(LPSTR face, int flags);
QUILF32_API int WINAPI DeleteQuilFont(QuilFontHeader* header);
QUILF32_API UINT WINAPI GetHwmFontChange(void);
QUILF32_API void WINAPI UnloadFonts(void);
QUILF32_API int WINAPI WriteFontNameProc(void* context, QuilFontHeader* header, LPARAM value, HANDLE file);
QUILF32_API void WINAPI ReadFontLists(void);
QUILF32_API void WINAPI WriteFontLists(void);
