// Throughput of HTextOut beside GDI's own TextOutW with a TrueType Korean
// font, onto the same memory bitmap (a 24-bit DIB section, then a bitmap
// compatible with the display), in one run: rounds of each mode, the two
// calls in turn. Run by hand:
//   wine textout_bench.exe [font.ttf] [face name] [section|compatible]
// (default: NanumGothic from Debian's fonts-nanum, through Wine's Z: drive).
// HANJA.FNT is not needed: the text is Hangul syllables only.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fonts/composer.h"
#include "hangul/quilh32.h"
#include "xlat/xlat.h"

namespace {

constexpr int kSyllablesPerLine = 60;
constexpr int kLines = 40000;  // a phase
constexpr int kRounds = 3;

// Wall-clock seconds and this thread's processor seconds of one phase. On a
// shared machine the processor time is the steadier measure: the wall clock
// also counts the time the thread waited for a processor.
struct Took {
  double wall = 0, cpu = 0;
};

double threadSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto value = [](FILETIME f) { return static_cast<double>(static_cast<uint64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime); };
  return (value(kernel) + value(user)) * 1e-7;
}

template <typename Draw>
Took timed(Draw draw) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  const double cpu0 = threadSeconds();
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kLines; ++i) draw(i);
  GdiFlush();
  QueryPerformanceCounter(&b);
  return {static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart), threadSeconds() - cpu0};
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const char* fontFile = argc > 1 ? argv[1] : "Z:\\usr\\share\\fonts\\truetype\\nanum\\NanumGothic.ttf";
  const char* faceA = argc > 2 ? argv[2] : "NanumGothic";
  const char* only = argc > 3 ? argv[3] : nullptr;  // "section" or "compatible": that bitmap alone

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
  // The bitmaps drawn on: a 24-bit DIB section (the figures quoted), and a
  // bitmap compatible with the display, as the program's window areas use.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 16 * kSyllablesPerLine + 32, -64, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP compatible = CreateCompatibleBitmap(display, 16 * kSyllablesPerLine + 32, 64);
  HGDIOBJ oldBitmap = SelectObject(memory, section);

  // The TrueType font stays selected: HTextOut does not use the DC's font.
  HFONT font = nullptr;
  HGDIOBJ oldFont = nullptr;
  wchar_t used[64] = {};
  const bool added = AddFontResourceExA(fontFile, FR_PRIVATE, nullptr) != 0;
  if (!added) {
    std::printf("TextOutW: font %s not loaded\n", fontFile);
  } else {
    wchar_t face[64];
    MultiByteToWideChar(CP_ACP, 0, faceA, -1, face, 64);
    font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, HANGUL_CHARSET, OUT_TT_ONLY_PRECIS, 0,
                       NONANTIALIASED_QUALITY, 0, face);
    oldFont = SelectObject(memory, font);
    GetTextFaceW(memory, 64, used);
  }

  // Rounds of the four phases side by side; per mode the median rate of
  // each and the median of the rounds' ratios.
  const int syllables = kSyllablesPerLine * kLines;
  for (HBITMAP target : {section, compatible}) {
    if (only != nullptr && std::string(only) != (target == section ? "section" : "compatible")) continue;
    SelectObject(memory, target);
    BITMAP bm{};
    GetObjectA(target, sizeof bm, &bm);
    std::printf("%s, %d bits a pixel:\n", target == section ? "DIB section" : "display-compatible bitmap", bm.bmBitsPixel);
    for (int mode : {OPAQUE, TRANSPARENT}) {
      std::vector<double> quilWall, quilCpu, gdiWall, gdiCpu, ratioWall, ratioCpu;
      SetBkMode(memory, mode);
      for (int round = 0; round < kRounds; ++round) {
        const Took q = timed([&](int i) { HTextOut(memory, 0, i % 32, johab.data(), static_cast<int>(johab.size())); });
        quilWall.push_back(syllables / q.wall), quilCpu.push_back(syllables / q.cpu);
        if (!added) continue;
        const Took g = timed([&](int i) { TextOutW(memory, 0, i % 32, wide.data(), static_cast<int>(wide.size())); });
        gdiWall.push_back(syllables / g.wall), gdiCpu.push_back(syllables / g.cpu);
        ratioWall.push_back(g.wall / q.wall), ratioCpu.push_back(g.cpu / q.cpu);
      }
      const char* name = mode == OPAQUE ? "opaque" : "transparent";
      std::printf("%-11s HTextOut %5.2f M/s (processor time; wall clock %5.2f M/s)\n", name, median(quilCpu) / 1e6,
                  median(quilWall) / 1e6);
      if (added)
        std::printf("%-11s TextOutW %5.2f M/s (processor time; wall clock %5.2f M/s; %ls 16 px, not antialiased)\n"
                    "%-11s HTextOut / TextOutW %.2fx (processor time; wall clock %.2fx)\n",
                    name, median(gdiCpu) / 1e6, median(gdiWall) / 1e6, used, name, median(ratioCpu), median(ratioWall));
    }
  }

  // What a call costs before any glyph: an empty string.
  SelectObject(memory, section);
  const Took empty = timed([&](int i) { HTextOut(memory, 0, i % 32, johab.data(), 0); });
  std::printf("empty call  HTextOut %5.2f us (processor time; wall clock %5.2f us)\n", 1e6 * empty.cpu / kLines,
              1e6 * empty.wall / kLines);

  if (added) {
    SelectObject(memory, oldFont);
    DeleteObject(font);
    RemoveFontResourceExA(fontFile, FR_PRIVATE, nullptr);
  }
  SelectObject(memory, oldBitmap);
  HDeleteDC(memory);
  HDeleteDC(display);
  DeleteObject(section);
  DeleteObject(compatible);
  DestroyHangulLib();
  return 0;
}
