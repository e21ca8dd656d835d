// A font module for the store's tests: one Hangul font whose every glyph
// has ink only in its first byte. Built twice: as testfont.dll, and as
// badfont.dll whose header names a glyph size that does not fit its cell.
#include <windows.h>

#include <cstring>

#include "fonts/font_header.h"
#include "fonts/name_key.h"

namespace {

uint8_t g_glyphs[344 * 32];
kesta::fonts::FontHeader g_header;

void fill() {
  std::memset(g_glyphs, 0xFF, sizeof g_glyphs);
  for (int g = 0; g < 344; ++g) g_glyphs[g * 32] = 0x00;
  auto& h = g_header;
  h.format = 1;
  h.cellWidth = 16;
  h.cellHeight = 16;
  h.composedFlag = 1;
  h.initialSets = 8;
  h.medialSets = 4;
  h.finalSets = 4;
  h.glyphBytes = 32;
  h.underlineRise = 2;
  h.glyphs = g_glyphs;
  h.kind = kesta::fonts::kKindHangul;
#ifdef KESTA_BROKEN_FONT_MODULE
  std::strcpy(h.fileName, "badfont.dll");
  std::strcpy(h.faceName, "BadFace");
  h.glyphBytes = 64;
#else
  std::strcpy(h.fileName, "testfont.dll");
  std::strcpy(h.faceName, "TestFace");
#endif
  std::strcpy(h.description, "Test font module");
  h.fileNameKey = kesta::fonts::nameKey(h.fileName, sizeof h.fileName);
  h.faceNameKey = kesta::fonts::nameKey(h.faceName, sizeof h.faceName);
}

}  // namespace

extern "C" __declspec(dllexport) kesta::fonts::FontHeader* WINAPI GetQuilFontHeader() { return &g_header; }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) fill();
  return TRUE;
}
