// Throughput of HTextOut beside GDI's own TextOutW with a TrueType Korean
// font, onto the same 24-bit memory bitmap, in one run. Run by hand:
//   wine textout_bench.exe [font.ttf] [face name]
// (default: NanumGothic from Debian's fonts-nanum, through Wine's Z: drive).
// HANJA.FNT is not needed: the text is Hangul syllables only.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fonts/composer.h"
#include "hangul/quilh32.h"
#include "xlat/xlat.h"

namespace {

constexpr int kSyllablesPerLine = 60;
constexpr int kLines = 20000;

double seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const char* fontFile = argc > 1 ? argv[1] : "Z:\\usr\\share\\fonts\\truetype\\nanum\\NanumGothic.ttf";
  const char* faceA = argc > 2 ? argv[2] : "NanumGothic";

  // One line of varied syllables, in the combination code and in UTF-16.
  std::string johab;
  std::wstring wide;
  for (int i = 0; i < kSyllablesPerLine; ++i) {
    const int index = (i * 397) % 11172;
    const uint16_t code = kesta::hangul::syllableCodeOfUnicodeIndex(index);
    johab.push_back(static_cast<char>(code >> 8));
    johab.push_back(static_cast<char>(code & 0xFF));
    wide.push_back(static_cast<wchar_t>(0xAC00 + index));
  }

  InitHangulLib();
  HDC display = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  HDC memory = HCreateCompatibleDC(display);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 16 * kSyllablesPerLine + 32, -64, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(memory, bitmap);

  LARGE_INTEGER t0, t1;
  for (int mode : {OPAQUE, TRANSPARENT}) {
    SetBkMode(memory, mode);
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < kLines; ++i) HTextOut(memory, 0, i % 32, johab.data(), static_cast<int>(johab.size()));
    GdiFlush();
    QueryPerformanceCounter(&t1);
    std::printf("HTextOut  %-11s %10.0f syllables/s\n", mode == OPAQUE ? "opaque" : "transparent",
                kSyllablesPerLine * static_cast<double>(kLines) / seconds(t0, t1));
  }

  // What a call costs before any glyph: an empty string.
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < kLines; ++i) HTextOut(memory, 0, i % 32, johab.data(), 0);
  QueryPerformanceCounter(&t1);
  std::printf("HTextOut  empty       %10.2f us a call\n", 1e6 * seconds(t0, t1) / kLines);

  const int added = AddFontResourceExA(fontFile, FR_PRIVATE, nullptr);
  if (added == 0) {
    std::printf("TextOutW   font %s not loaded\n", fontFile);
  } else {
    wchar_t face[64];
    MultiByteToWideChar(CP_ACP, 0, faceA, -1, face, 64);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGUL_CHARSET, OUT_TT_ONLY_PRECIS, 0,
                             NONANTIALIASED_QUALITY, 0, face);
    HGDIOBJ old = SelectObject(memory, font);
    wchar_t used[64] = {};
    GetTextFaceW(memory, 64, used);
    for (int mode : {OPAQUE, TRANSPARENT}) {
      SetBkMode(memory, mode);
      QueryPerformanceCounter(&t0);
      for (int i = 0; i < kLines; ++i) TextOutW(memory, 0, i % 32, wide.data(), static_cast<int>(wide.size()));
      GdiFlush();
      QueryPerformanceCounter(&t1);
      std::printf("TextOutW  %-11s %10.0f syllables/s (%ls, 16 px, not antialiased)\n",
                  mode == OPAQUE ? "opaque" : "transparent",
                  kSyllablesPerLine * static_cast<double>(kLines) / seconds(t0, t1), used);
    }
    SelectObject(memory, old);
    DeleteObject(font);
    RemoveFontResourceExA(fontFile, FR_PRIVATE, nullptr);
  }
  HDeleteDC(memory);
  HDeleteDC(display);
  DeleteObject(bitmap);
  DestroyHangulLib();
  return 0;
}
