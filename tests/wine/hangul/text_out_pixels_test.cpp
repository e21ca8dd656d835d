// HTextOut and the calls built on it, over a table of targets, modes,
// colours, clip regions, alignments and texts: each case's pixels (read back
// byte for byte) and the current position afterwards against a checksum
// recorded from the drawing as it was when the table was made. The checksums
// pin the output down where no prediction reaches (16 and 8-bit targets,
// device bitmaps, complex clip regions, the fourth byte of 32-bit pixels), so
// a faster way of drawing must leave every one of them as it is.
//
// After a deliberate change of the drawing, print the new table with
//   KESTA_PRINT_PIXEL_SUMS=1 wine wine_hangul_test.exe --gtest_filter=TextOutPixels.*
// and check the change with the prediction tests of text_out_test.cpp.
// KESTA_DUMP=prefix writes each case's bytes to prefix0, prefix1, ... (a
// Windows path), so that two builds' pictures can be compared byte by byte.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fonts/composer.h"
#include "test_support.h"

namespace {

enum class Target { Dib24, Dib32, Dib32BottomUp, Dib16, Dib8, Dib1, Mono, Device };
enum class Call { TextOut, TextOut2, Tabbed, ExtAdvances, ExtOpaqueClipped, DrawText };
enum class Clip { None, ThroughGlyphs, TwoRects, Empty };

const char* nameOf(Target t) {
  switch (t) {
    case Target::Dib24: return "dib24";
    case Target::Dib32: return "dib32";
    case Target::Dib32BottomUp: return "dib32up";
    case Target::Dib16: return "dib16";
    case Target::Dib8: return "dib8";
    case Target::Dib1: return "dib1";
    case Target::Mono: return "mono";
    case Target::Device: return "ddb";
  }
  return "?";
}

const char* nameOf(Call c) {
  switch (c) {
    case Call::TextOut: return "HTextOut";
    case Call::TextOut2: return "HTextOut2";
    case Call::Tabbed: return "HTabbedTextOut";
    case Call::ExtAdvances: return "HExtTextOut+dx";
    case Call::ExtOpaqueClipped: return "HExtTextOut+rect";
    case Call::DrawText: return "HDrawText";
  }
  return "?";
}

const char* nameOf(Clip c) {
  switch (c) {
    case Clip::None: return "noclip";
    case Clip::ThroughGlyphs: return "cliprect";
    case Clip::TwoRects: return "clip2";
    case Clip::Empty: return "clipempty";
  }
  return "?";
}

struct Case {
  Target target;
  bool opaque;
  COLORREF text, paper;  // as GDI takes them
  Clip clip;
  int text_kind;  // index into texts()
  Call call;
  UINT align;
  POINT viewport;  // viewport origin
  int x, y;
};

// 0: mixed classes; 1: a Hangul run wider than one copy; 2: Hangul and
// English alternating; 3: empty; 4: tabs and line ends; 5: one syllable.
const std::vector<std::string>& texts() {
  static const std::vector<std::string> all = [] {
    std::string run;
    for (int i = 0; i < 90; ++i) {
      const uint16_t code = kesta::hangul::syllableCodeOfUnicodeIndex((i * 397) % 11172);
      run.push_back(static_cast<char>(code >> 8));
      run.push_back(static_cast<char>(code & 0xFF));
    }
    return std::vector<std::string>{
        qtest::combination("Ab 한글 漢字 ※") + "\xD4\x81" + qtest::combination("z각"),
        run,
        qtest::combination("가a나b다c라d마e바 f사"),
        "",
        qtest::combination("탭\t글\r\n자 x\ty"),
        qtest::combination("한"),
    };
  }();
  return all;
}

std::string nameOf(const Case& k) {
  char s[200];
  std::snprintf(s, sizeof s, "%s %s %s colorref %06lx/%06lx %s text%d align%u vp%ld,%ld at%d,%d", nameOf(k.target),
                nameOf(k.call), k.opaque ? "opaque" : "transparent", static_cast<unsigned long>(k.text),
                static_cast<unsigned long>(k.paper), nameOf(k.clip), k.text_kind, k.align, k.viewport.x, k.viewport.y,
                k.x, k.y);
  return s;
}

// A registered memory DC with a bitmap of one kind, painted with a pattern.
class Canvas {
 public:
  Canvas(Target target, int width, int height) : width_(width), height_(height) {
    display_ = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = HCreateCompatibleDC(display_);
    if (target == Target::Mono) {
      bitmap_ = CreateBitmap(width, height, 1, 1, nullptr);
    } else if (target == Target::Device) {
      bitmap_ = CreateCompatibleBitmap(display_, width, height);
    } else {
      struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
      } info{};
      int bits = 24;
      switch (target) {
        case Target::Dib32:
        case Target::Dib32BottomUp: bits = 32; break;
        case Target::Dib16: bits = 16; break;
        case Target::Dib8: bits = 8; break;
        case Target::Dib1: bits = 1; break;
        default: break;
      }
      info.header = {sizeof info.header, width, target == Target::Dib32BottomUp ? height : -height, 1,
                     static_cast<WORD>(bits), BI_RGB};
      if (bits == 1) {
        info.colors[1] = {255, 255, 255, 0};
      } else if (bits == 8) {
        for (int i = 0; i < 256; ++i)  // 3-3-2 levels
          info.colors[i] = {static_cast<BYTE>((i & 3) * 85), static_cast<BYTE>((i >> 2 & 7) * 36),
                            static_cast<BYTE>((i >> 5 & 7) * 36), 0};
      }
      void* p = nullptr;
      bitmap_ = CreateDIBSection(display_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &p, nullptr, 0);
    }
    old_ = SelectObject(dc_, bitmap_);
    // A pattern that differs from pixel to pixel, laid in one copy.
    std::vector<uint32_t> pattern(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pattern[static_cast<size_t>(y) * width + x] =
            static_cast<uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 11) & 0xFF) << 8 | ((x * y + x) & 0xFF));
    BITMAPINFO pi{};
    pi.bmiHeader = {sizeof pi.bmiHeader, width, -height, 1, 32, BI_RGB};
    SetDIBitsToDevice(dc_, 0, 0, width, height, 0, 0, 0, height, pattern.data(), &pi, DIB_RGB_COLORS);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    HDeleteDC(dc_);
    HDeleteDC(display_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }

  // FNV-1a over the bitmap's own bytes (a section's bits as they lie, a
  // device bitmap's as GetBitmapBits gives them).
  uint64_t checksum() const {
    GdiFlush();
    std::vector<uint8_t> bytes;
    DIBSECTION section{};
    if (GetObjectA(bitmap_, sizeof section, &section) == sizeof section && section.dsBm.bmBits != nullptr) {
      const auto* p = static_cast<const uint8_t*>(section.dsBm.bmBits);
      bytes.assign(p, p + static_cast<size_t>(section.dsBm.bmWidthBytes) * section.dsBm.bmHeight);
    } else {
      BITMAP bm{};
      GetObjectA(bitmap_, sizeof bm, &bm);
      bytes.resize(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
      GetBitmapBits(bitmap_, static_cast<LONG>(bytes.size()), bytes.data());
    }
    if (const char* d = std::getenv("KESTA_DUMP")) {
      static int n = 0;
      FILE* f = std::fopen((std::string(d) + std::to_string(n++)).c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
  }

 private:
  HDC display_ = nullptr, dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_, height_;
};

// Draws one case and returns the checksum of the bitmap mixed with the
// current position and the call's result.
uint64_t drawCase(const Case& k) {
  const int width = k.text_kind == 1 ? 1500 : 260, height = 40;
  Canvas c(k.target, width, height);
  HDC dc = c.dc();
  SetTextColor(dc, k.text);
  SetBkColor(dc, k.paper);
  SetBkMode(dc, k.opaque ? OPAQUE : TRANSPARENT);
  SetTextAlign(dc, k.align);
  MoveToEx(dc, 11, 13, nullptr);
  SetViewportOrgEx(dc, k.viewport.x, k.viewport.y, nullptr);
  HRGN region = nullptr;
  switch (k.clip) {
    case Clip::None: break;
    case Clip::ThroughGlyphs: region = CreateRectRgn(13, 6, 161, 15); break;
    case Clip::TwoRects: {
      region = CreateRectRgn(0, 0, 37, 40);
      HRGN second = CreateRectRgn(60, 9, 1200, 30);
      CombineRgn(region, region, second, RGN_OR);
      DeleteObject(second);
      break;
    }
    case Clip::Empty: region = CreateRectRgn(0, 0, 0, 0); break;
  }
  if (region != nullptr) {
    SelectClipRgn(dc, region);
    DeleteObject(region);
  }
  const std::string& text = texts()[static_cast<size_t>(k.text_kind)];
  const int n = static_cast<int>(text.size());
  int64_t result = 0;
  switch (k.call) {
    case Call::TextOut: result = HTextOut(dc, k.x, k.y, text.c_str(), n); break;
    case Call::TextOut2: result = HTextOut2(dc, k.x, k.y, text.c_str(), n); break;
    case Call::Tabbed: {
      const int stops[] = {30, 70, 150};
      result = HTabbedTextOut(dc, k.x, k.y, text.c_str(), n, 3, stops, 5);
      break;
    }
    case Call::ExtAdvances: {
      std::vector<int> advances(static_cast<size_t>(n) + 1);
      for (size_t i = 0; i < advances.size(); ++i) advances[i] = 5 + static_cast<int>(i * 7 % 13);
      result = HExtTextOut(dc, k.x, k.y, 0, nullptr, text.c_str(), n, advances.data());
      break;
    }
    case Call::ExtOpaqueClipped: {
      const RECT r{k.x + 4, k.y + 2, k.x + 120, k.y + 30};
      result = HExtTextOut(dc, k.x, k.y, ETO_OPAQUE | ETO_CLIPPED, &r, text.c_str(), n, nullptr);
      break;
    }
    case Call::DrawText: {
      RECT r{k.x, k.y, k.x + 100, k.y + 38};
      result = HDrawText(dc, text.c_str(), n, &r, DT_WORDBREAK | DT_CENTER | DT_EXPANDTABS);
      break;
    }
  }
  POINT p{};
  GetCurrentPositionEx(dc, &p);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectClipRgn(dc, nullptr);
  uint64_t h = c.checksum();
  for (int64_t v : {result, static_cast<int64_t>(p.x), static_cast<int64_t>(p.y)})
    h = (h ^ static_cast<uint64_t>(v)) * 1099511628211ull;
  return h;
}

std::vector<Case> allCases() {
  std::vector<Case> cases;
  const COLORREF red = RGB(200, 10, 20), blue = RGB(5, 60, 250), black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  const struct {
    COLORREF text, paper;
  } colors[] = {{red, blue}, {white, black}, {black, white}};
  const Target targets[] = {Target::Dib24, Target::Dib32,  Target::Dib32BottomUp, Target::Dib16,
                            Target::Dib8,  Target::Dib1,   Target::Mono,          Target::Device};
  // Every target, mode, colour pair and clip with the mixed text and the long run.
  for (Target t : targets)
    for (bool opaque : {true, false})
      for (const auto& c : colors)
        for (Clip clip : {Clip::None, Clip::ThroughGlyphs, Clip::TwoRects})
          for (int text : {0, 1}) cases.push_back({t, opaque, c.text, c.paper, clip, text, Call::TextOut, 0, {0, 0}, 3, 4});
  // Positions half off the bitmap, an empty clip, the other texts, a moved viewport.
  for (Target t : {Target::Dib24, Target::Dib32, Target::Mono, Target::Device, Target::Dib16})
    for (bool opaque : {true, false}) {
      for (POINT at : {POINT{-7, -5}, POINT{-9, 30}, POINT{250, 11}, POINT{-20, 0}})
        cases.push_back({t, opaque, red, blue, Clip::None, 0, Call::TextOut, 0, {0, 0}, at.x, at.y});
      cases.push_back({t, opaque, red, blue, Clip::Empty, 0, Call::TextOut, 0, {0, 0}, 3, 4});
      for (int text : {2, 3, 4, 5})
        cases.push_back({t, opaque, red, blue, Clip::None, text, Call::TextOut, 0, {0, 0}, 3, 4});
      cases.push_back({t, opaque, red, blue, Clip::ThroughGlyphs, 2, Call::TextOut, 0, {17, -3}, 3, 4});
      cases.push_back({t, opaque, red, blue, Clip::None, 0, Call::TextOut, 0, {40, 20}, -16, -10});
    }
  // Alignments and the current position.
  for (Target t : {Target::Dib24, Target::Dib32, Target::Mono, Target::Device})
    for (bool opaque : {true, false})
      for (UINT align : {static_cast<UINT>(TA_RIGHT), static_cast<UINT>(TA_CENTER), static_cast<UINT>(TA_BASELINE),
                         static_cast<UINT>(TA_UPDATECP), static_cast<UINT>(TA_UPDATECP | TA_RIGHT),
                         static_cast<UINT>(TA_BASELINE | TA_CENTER)})
        cases.push_back({t, opaque, red, blue, Clip::None, 2, Call::TextOut, align, {0, 0}, 130, 20});
  // The forms built on HTextOut.
  for (Target t : {Target::Dib24, Target::Dib32, Target::Mono, Target::Device, Target::Dib8})
    for (bool opaque : {true, false})
      for (Call call : {Call::TextOut2, Call::Tabbed, Call::ExtAdvances, Call::ExtOpaqueClipped, Call::DrawText})
        for (int text : {0, 4}) {
          cases.push_back({t, opaque, red, blue, Clip::None, text, call, 0, {0, 0}, 6, 1});
          if (call != Call::DrawText)
            cases.push_back({t, opaque, white, black, Clip::None, text, call, TA_UPDATECP, {0, 0}, 6, 1});
        }
  return cases;
}

struct Expected {
  const char* name;
  uint64_t sum;
};

// Recorded from the drawing before its run bitmap went straight to the target.
const std::vector<Expected> kExpected = {
#include "text_out_pixels_sums.inc"
};

TEST(TextOutPixels, EveryCaseAsRecorded) {
  const std::vector<Case> cases = allCases();
  const bool print = std::getenv("KESTA_PRINT_PIXEL_SUMS") != nullptr;
  if (!print) ASSERT_EQ(cases.size(), kExpected.size()) << "the table and the cases differ in number";
  int wrong = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    const std::string name = nameOf(cases[i]);
    const uint64_t sum = drawCase(cases[i]);
    if (print) {
      std::printf("    {\"%s\", 0x%016" PRIx64 "ull},\n", name.c_str(), sum);
      continue;
    }
    EXPECT_EQ(name, kExpected[i].name) << "case " << i;
    if (sum != kExpected[i].sum && wrong++ < 20) ADD_FAILURE() << "pixels differ: " << name;
  }
  EXPECT_EQ(wrong, 0);
}

// The checksums see a change: one pixel moved in any case of the table is a different sum.
TEST(TextOutPixels, AChangedPixelChangesTheSum) {
  const Case k{Target::Dib24, true, RGB(200, 10, 20), RGB(5, 60, 250), Clip::None, 5, Call::TextOut, 0, {0, 0}, 3, 4};
  const uint64_t drawn = drawCase(k);
  EXPECT_EQ(drawCase(k), drawn) << "drawing is repeatable";
  Case moved = k;
  moved.x = 4;
  EXPECT_NE(drawCase(moved), drawn);
}

}  // namespace
