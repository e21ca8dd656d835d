// HTextOut and its relatives on memory bitmaps: every pixel against the
// picture the neutral composer and font store predict.
#include <cstring>

#include "fonts/composer.h"
#include "test_support.h"

using qtest::MemoryCanvas;

namespace {

// Mixed text: English, Hangul, Hanja, KS symbols and KSSM symbols.
std::string mixedText() {
  return qtest::combination("Ab 한글 漢字 ※") + "\xD4\x81" + qtest::combination("z각");
}

struct Colors {
  COLORREF text;  // 0xRRGGBB
  COLORREF paper;
};

COLORREF toRef(COLORREF rrggbb) { return RGB(rrggbb >> 16 & 0xFF, rrggbb >> 8 & 0xFF, rrggbb & 0xFF); }

// Expects the canvas to show `text` at (x, y) as predicted: ink in the text
// colour, paper of the drawn cells in the paper colour (opaque) or as the
// pattern was (transparent), everything else (and all outside `clip`) as the
// pattern was.
void expectDrawn(MemoryCanvas& c, const std::string& text, int x, int y, const kesta::fonts::TextFonts& fonts,
                 const Colors& colors, bool opaque, int cellHeight = 16, const RECT* clip = nullptr) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  kesta::fonts::InkBitmap ink(c.width(), c.height());
  const int end = kesta::fonts::drawText(ink, x, y, {bytes, text.size()}, fonts);
  int inked = 0;
  for (uint8_t v : ink.ink) inked += v;
  EXPECT_GT(inked, 4 * static_cast<int>(text.size())) << "the prediction shows the text";
  c.capture();
  int wrong = 0, firstX = -1, firstY = -1;
  for (int py = 0; py < c.height(); ++py)
    for (int px = 0; px < c.width(); ++px) {
      const bool inCells = px >= x && px < end && py >= y && py < y + cellHeight;
      COLORREF expected = c.patternAt(px, py);
      const bool clipped = clip != nullptr && (px < clip->left || px >= clip->right || py < clip->top || py >= clip->bottom);
      if (clipped) {
      } else if (ink.ink[static_cast<size_t>(py) * c.width() + px]) expected = colors.text;
      else if (inCells && opaque) expected = colors.paper;
      if (c.pixel(px, py) != expected && wrong++ == 0) firstX = px, firstY = py;
    }
  EXPECT_EQ(wrong, 0) << "first wrong pixel at " << firstX << "," << firstY;
}

class MixedTextTest : public ::testing::TestWithParam<int> {};

TEST_P(MixedTextTest, OpaqueMixedTextIsPixelExact) {
  MemoryCanvas c(240, 24, GetParam());
  c.paintPattern();
  const Colors colors = GetParam() == 1 ? Colors{0, 0xFFFFFF} : Colors{qtest::rgb(200, 10, 20), qtest::rgb(5, 60, 250)};
  SetTextColor(c.dc(), toRef(colors.text));
  SetBkColor(c.dc(), toRef(colors.paper));
  SetBkMode(c.dc(), OPAQUE);
  const std::string text = mixedText();
  ASSERT_EQ(HTextOut(c.dc(), 3, 4, text.c_str(), static_cast<int>(text.size())), 1);
  expectDrawn(c, text, 3, 4, qtest::defaultFonts(), colors, true);
}

TEST_P(MixedTextTest, TransparentKeepsWhatWasAroundTheInk) {
  MemoryCanvas c(240, 24, GetParam());
  c.paintPattern();
  const Colors colors = GetParam() == 1 ? Colors{0, 0xFFFFFF} : Colors{qtest::rgb(200, 10, 20), 0};
  SetTextColor(c.dc(), toRef(colors.text));
  SetBkColor(c.dc(), RGB(1, 2, 3));
  SetBkMode(c.dc(), TRANSPARENT);
  const std::string text = mixedText();
  ASSERT_EQ(HTextOut(c.dc(), 5, 2, text.c_str(), static_cast<int>(text.size())), 1);
  expectDrawn(c, text, 5, 2, qtest::defaultFonts(), colors, false);
  // The DC's colours are as they were.
  EXPECT_EQ(GetTextColor(c.dc()), toRef(colors.text));
  EXPECT_EQ(GetBkColor(c.dc()), RGB(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(Depths, MixedTextTest, ::testing::Values(1, 24, 32));

// Every target depth and mode, with colours, positions half off the bitmap,
// clip rectangles through the glyphs and a run longer than any one copy.
TEST(HTextOutTable, EveryCaseAsPredicted) {
  struct Case {
    int bits;
    bool opaque;
    Colors colors;
    int x, y;
    RECT clip;  // empty: none
    int hangulRun;  // syllables appended to the mixed text
  };
  const Colors red{qtest::rgb(200, 10, 20), qtest::rgb(5, 60, 250)}, mono{0, 0xFFFFFF}, white{0xFFFFFF, 0};
  const Case cases[] = {
      {24, true, red, 3, 4, {}, 0},        {24, false, red, 3, 4, {}, 0},
      {32, true, red, 3, 4, {}, 0},        {32, false, red, 3, 4, {}, 0},
      {1, true, mono, 3, 4, {}, 0},        {1, false, mono, 3, 4, {}, 0},
      {24, true, white, -7, -5, {}, 0},    {24, false, white, -7, -5, {}, 0},
      {32, true, red, -9, 11, {}, 0},      {1, true, mono, -9, 11, {}, 0},
      {24, true, red, 2, 3, {13, 6, 61, 15}, 0},  {24, false, red, 2, 3, {13, 6, 61, 15}, 0},
      {32, false, red, 2, 3, {40, 0, 300, 9}, 0}, {1, false, mono, 2, 3, {13, 6, 61, 15}, 0},
      {24, true, red, 1, 2, {}, 90},       {24, false, red, 1, 2, {}, 90},
      {32, true, white, 1, 2, {100, 4, 1400, 12}, 90},
  };
  std::string run;
  for (int i = 0; i < 90; ++i) {
    const uint16_t code = kesta::hangul::syllableCodeOfUnicodeIndex((i * 397) % 11172);
    run.push_back(static_cast<char>(code >> 8));
    run.push_back(static_cast<char>(code & 0xFF));
  }
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.bits << " bits, " << (k.opaque ? "opaque" : "transparent") << " at " << k.x
                                      << "," << k.y << ", clip " << k.clip.left << "," << k.clip.top << ", run "
                                      << k.hangulRun);
    const std::string text = mixedText() + run.substr(0, static_cast<size_t>(k.hangulRun) * 2);
    MemoryCanvas c(k.hangulRun > 0 ? 1700 : 240, 24, k.bits);
    c.paintPattern();
    SetTextColor(c.dc(), toRef(k.colors.text));
    SetBkColor(c.dc(), toRef(k.colors.paper));
    SetBkMode(c.dc(), k.opaque ? OPAQUE : TRANSPARENT);
    const bool clipped = k.clip.right > k.clip.left;
    if (clipped) {
      HRGN region = CreateRectRgnIndirect(&k.clip);
      SelectClipRgn(c.dc(), region);
      DeleteObject(region);
    }
    ASSERT_EQ(HTextOut(c.dc(), k.x, k.y, text.c_str(), static_cast<int>(text.size())), 1);
    SelectClipRgn(c.dc(), nullptr);
    expectDrawn(c, text, k.x, k.y, qtest::defaultFonts(), k.colors, k.opaque, 16, clipped ? &k.clip : nullptr);
    EXPECT_EQ(GetTextColor(c.dc()), toRef(k.colors.text));
    EXPECT_EQ(GetBkColor(c.dc()), toRef(k.colors.paper));
  }
}

class AlignTest : public ::testing::Test {
 protected:
  AlignTest() : c(200, 40, 24) {
    c.paintPattern();
    SetTextColor(c.dc(), RGB(0, 0, 0));
    SetBkColor(c.dc(), RGB(255, 255, 255));
  }
  MemoryCanvas c;
  const std::string text = qtest::combination("가a한");
  int width() const { return 16 + 8 + 16; }
  void draw(int x, int y) { ASSERT_EQ(HTextOut(c.dc(), x, y, text.c_str(), static_cast<int>(text.size())), 1); }
  void expectAt(int x, int y) { expectDrawn(c, text, x, y, qtest::defaultFonts(), {0, 0xFFFFFF}, true); }
};

TEST_F(AlignTest, RightEndsAtX) {
  SetTextAlign(c.dc(), TA_RIGHT);
  draw(100, 5);
  expectAt(100 - width(), 5);
  EXPECT_EQ(GetTextAlign(c.dc()), static_cast<UINT>(TA_RIGHT));  // restored
}

TEST_F(AlignTest, CenterIsHalfTheExtentLeft) {
  SetTextAlign(c.dc(), TA_CENTER);
  draw(100, 5);
  expectAt(100 - width() / 2, 5);
}

TEST_F(AlignTest, BaselineMovesUpByTheHangulAscent) {
  SetTextAlign(c.dc(), TA_BASELINE);
  draw(10, 30);
  const auto& myungjo = qtest::builtin("InternalMyungjo");
  expectAt(10, 30 - (myungjo.cellHeight - myungjo.underlineRise));
}

TEST_F(AlignTest, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
  SetTextAlign(c.dc(), TA_UPDATECP);
  MoveToEx(c.dc(), 7, 9, nullptr);
  draw(150, 20);  // x and y are not used
  expectAt(7, 9);
  POINT p;
  GetCurrentPositionEx(c.dc(), &p);
  EXPECT_EQ(p.x, 7 + width());
  EXPECT_EQ(p.y, 9);
}

TEST(HTextOutTest, WithoutRecordReturnsZero) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(HTextOut(dc, 0, 0, "a", 1), 0);
  DeleteDC(dc);
}

TEST(HTextOutTest, HanjaWithoutFileAdvancesAndDrawsNothing) {
  MemoryCanvas c(120, 20, 24);
  c.paintPattern();
  ASSERT_EQ(HSelectHanjaObject(c.dc(), INVALID_HANDLE_VALUE, 16, 16), 1);
  const std::string text = qtest::combination("漢a");
  SetBkMode(c.dc(), TRANSPARENT);
  ASSERT_EQ(HTextOut(c.dc(), 2, 2, text.c_str(), static_cast<int>(text.size())), 1);
  auto fonts = qtest::defaultFonts();
  fonts.hanja = {};
  expectDrawn(c, text, 2, 2, fonts, {0, 0}, false);
  HTextMetric m{};
  ASSERT_EQ(HGetTextMetrics(c.dc(), &m), 1);
  EXPECT_EQ(m.hanjaWidth, 16);
}

TEST(HTextOutTest, CodesOutsideTheirBlockDrawNothingAndAdvance) {
  MemoryCanvas c(120, 20, 24);
  c.paintPattern();
  // A Hanja, a KSSM symbol and a KS symbol whose second bytes name no glyph, then "a".
  const std::string text = std::string("\xE0\x20\xD9\x7F\xD4\x41", 6) + "a";
  SetBkMode(c.dc(), TRANSPARENT);
  ASSERT_EQ(HTextOut(c.dc(), 0, 0, text.c_str(), static_cast<int>(text.size())), 1);
  expectDrawn(c, "a", 48, 0, qtest::defaultFonts(), {0, 0}, false);
}

TEST(HTextOutTest, LeadByteLastInTheLengthIsNotDrawnFromBeyondIt) {
  MemoryCanvas c(60, 20, 24);
  c.paintPattern();
  SetBkMode(c.dc(), TRANSPARENT);
  const std::string text = qtest::combination("a가");
  ASSERT_EQ(HTextOut(c.dc(), 0, 0, text.c_str(), 2), 1);
  expectDrawn(c, "a", 0, 0, qtest::defaultFonts(), {0, 0}, false);
}

TEST(HTextOut2Test, SkipsLineEnds) {
  MemoryCanvas c(80, 20, 24);
  c.paintPattern();
  SetBkMode(c.dc(), OPAQUE);
  ASSERT_EQ(HTextOut2(c.dc(), 1, 1, "a\r\nb", 4), 1);
  expectDrawn(c, "ab", 1, 1, qtest::defaultFonts(), {0, 0xFFFFFF}, true);
}

TEST(WTextOutTest, ConvertsFromTheClipboardCode) {
  MemoryCanvas c(80, 20, 24);
  c.paintPattern();
  const char cp949[] = "\xC7\xD1" "a";  // "한" in code page 949
  ASSERT_EQ(WTextOut(c.dc(), 2, 2, cp949, -1), 1);
  expectDrawn(c, qtest::combination("한a"), 2, 2, qtest::defaultFonts(), {0, 0xFFFFFF}, true);
}

// The other W forms take code 8 (code page 949) and draw as their H forms.
TEST(WTextOutTest, TextOut2AndExtTextOutConvertCode8) {
  const char cp949[] = "\xC7\xD1\r\n" "a";  // "한", a line end, "a"
  struct Row {
    const char* what;
    bool ext;
  };
  for (const Row r : {Row{"WTextOut2", false}, Row{"WExtTextOut", true}}) {
    MemoryCanvas c(80, 20, 24);
    c.paintPattern();
    SetBkMode(c.dc(), OPAQUE);
    ASSERT_EQ(r.ext ? WExtTextOut(c.dc(), 2, 2, 0, nullptr, cp949 + 4, -1, nullptr)
                    : WTextOut2(c.dc(), 2, 2, cp949, -1),
              1)
        << r.what;
    expectDrawn(c, qtest::combination(r.ext ? "a" : "한a"), 2, 2, qtest::defaultFonts(), {0, 0xFFFFFF}, true);
  }
  MemoryCanvas c(80, 20, 24);
  c.paintPattern();
  ASSERT_EQ(WExtTextOut(c.dc(), 2, 2, 0, nullptr, cp949, 2, nullptr), 1);
  expectDrawn(c, qtest::combination("한"), 2, 2, qtest::defaultFonts(), {0, 0xFFFFFF}, true);
}

// Hangul cells wholly left of or above the DC's logical origin are not
// drawn, even where the viewport would show them; English cells are.
TEST(HTextOutTest, HangulCellsBeforeTheOriginAreSkipped) {
  MemoryCanvas c(100, 60, 24);
  c.paintPattern();
  SetBkMode(c.dc(), TRANSPARENT);
  SetViewportOrgEx(c.dc(), 40, 30, nullptr);
  const std::string ga = qtest::combination("가");
  const std::string gaA = ga + "a";
  struct Row {
    int x, y;
    const std::string& text;
  };
  for (const Row& r : {Row{-16, 10, gaA}, Row{0, -16, ga}, Row{-8, -14, ga}, Row{-30, -30, std::string("b")}})
    ASSERT_EQ(HTextOut(c.dc(), r.x, r.y, r.text.c_str(), static_cast<int>(r.text.size())), 1);
  SetViewportOrgEx(c.dc(), 0, 0, nullptr);
  // Drawn: "a" after the skipped 가 at (0, 10), 가 at (-8, -14), "b" at (-30, -30), in device pixels.
  kesta::fonts::InkBitmap ink(c.width(), c.height());
  const auto fonts = qtest::defaultFonts();
  kesta::fonts::drawText(ink, 40, 40, {reinterpret_cast<const uint8_t*>("a"), 1}, fonts);
  kesta::fonts::drawText(ink, 32, 16, {reinterpret_cast<const uint8_t*>(ga.data()), 2}, fonts);
  kesta::fonts::drawText(ink, 10, 0, {reinterpret_cast<const uint8_t*>("b"), 1}, fonts);
  c.capture();
  int wrong = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const bool isInk = ink.ink[static_cast<size_t>(y) * c.width() + x];
      wrong += c.pixel(x, y) != (isInk ? 0 : c.patternAt(x, y));
    }
  EXPECT_EQ(wrong, 0);
}

TEST(HExtTextOutTest, AdvancesPlaceEachCharacter) {
  MemoryCanvas c(120, 20, 24);
  c.paintPattern();
  const std::string text = qtest::combination("a가b");
  const int advances[] = {20, 0, 30, 5};
  ASSERT_EQ(HExtTextOut(c.dc(), 2, 1, 0, nullptr, text.c_str(), static_cast<int>(text.size()), advances), 1);
  // Three separate draws: compare each cell.
  kesta::fonts::InkBitmap ink(c.width(), c.height());
  const auto fonts = qtest::defaultFonts();
  const std::string a = "a", ga = qtest::combination("가"), b = "b";
  kesta::fonts::drawText(ink, 2, 1, {reinterpret_cast<const uint8_t*>(a.data()), 1}, fonts);
  kesta::fonts::drawText(ink, 22, 1, {reinterpret_cast<const uint8_t*>(ga.data()), 2}, fonts);
  kesta::fonts::drawText(ink, 52, 1, {reinterpret_cast<const uint8_t*>(b.data()), 1}, fonts);
  c.capture();
  int wrong = 0;
  for (int y = 1; y < 17; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool isInk = ink.ink[static_cast<size_t>(y) * c.width() + x];
      if (isInk != (c.pixel(x, y) == 0)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(HExtTextOutTest, OpaqueFillsTheRectangleAndClippedClips) {
  MemoryCanvas c(100, 30, 24);
  c.paintPattern();
  SetBkColor(c.dc(), RGB(0, 255, 0));
  RECT r{10, 5, 30, 25};
  ASSERT_EQ(HExtTextOut(c.dc(), 10, 5, ETO_OPAQUE | ETO_CLIPPED, &r, "WWWWWWWW", 8, nullptr), 1);
  c.capture();
  EXPECT_EQ(c.pixel(10, 24), qtest::rgb(0, 255, 0));  // below the cells, inside the rectangle
  EXPECT_EQ(c.pixel(50, 10), c.patternAt(50, 10));    // the text beyond the rectangle is clipped
  SelectClipRgn(c.dc(), nullptr);
}

TEST(Extents, LetterTabLetterIsTenEnglishCells) {
  MemoryCanvas c(10, 10, 24);
  const DWORD e = HGetTextExtent(c.dc(), "a\tb", 3);
  EXPECT_EQ(LOWORD(e), 80);
  EXPECT_EQ(HIWORD(e), 16);
  SIZE s{};
  ASSERT_TRUE(HGetTextExtentPoint32(c.dc(), "\x88\x61" "a", 3, &s));
  EXPECT_EQ(s.cx, 24);
  EXPECT_EQ(s.cy, 16);
  EXPECT_FALSE(HGetTextExtentPoint32(c.dc(), "a", 1, nullptr));
}

TEST(Extents, TabbedWithPositions) {
  MemoryCanvas c(10, 10, 24);
  const int one[] = {40};
  EXPECT_EQ(LOWORD(HGetTabbedTextExtent(c.dc(), "a\t\tb", 4, 1, one)), 8 + 40 + 40 + 8);
  const int three[] = {10, 20, 30};
  EXPECT_EQ(LOWORD(HGetTabbedTextExtent(c.dc(), "\t\t\t", 3, 3, three)), 60);
  EXPECT_EQ(LOWORD(HGetTabbedTextExtent(c.dc(), "\t", 1, 0, nullptr)), 64);
}

TEST(HTabbedTextOutTest, TabGoesToOriginPlusPosition) {
  MemoryCanvas c(200, 20, 24);
  c.paintPattern();
  SetBkMode(c.dc(), TRANSPARENT);
  const int stops[] = {50};
  const LONG e = HTabbedTextOut(c.dc(), 10, 2, "a\tb", 3, 1, stops, 20);
  EXPECT_EQ(LOWORD(e), 8 + 50 + 8);
  kesta::fonts::InkBitmap ink(c.width(), c.height());
  const auto fonts = qtest::defaultFonts();
  kesta::fonts::drawText(ink, 10, 2, {reinterpret_cast<const uint8_t*>("a"), 1}, fonts);
  kesta::fonts::drawText(ink, 70, 2, {reinterpret_cast<const uint8_t*>("b"), 1}, fonts);
  c.capture();
  int wrong = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const COLORREF want = ink.ink[static_cast<size_t>(y) * c.width() + x] ? 0 : c.patternAt(x, y);
      if (c.pixel(x, y) != want) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(Metrics, FromTheSelectedFonts) {
  MemoryCanvas c(10, 10, 24);
  HTextMetric m{};
  ASSERT_EQ(HGetTextMetrics(c.dc(), &m), 1);
  const auto& h = qtest::builtin("InternalMyungjo");
  const auto& e = qtest::builtin("InternalRoman");
  const int ascent = std::max(h.cellHeight - h.underlineRise, e.cellHeight - e.underlineRise);
  const int descent = std::max(h.underlineRise, e.underlineRise);
  EXPECT_EQ(m.ascent, ascent);
  EXPECT_EQ(m.descent, descent);
  EXPECT_EQ(m.height, ascent + descent);
  EXPECT_EQ(m.hangulWidth, 16);
  EXPECT_EQ(m.englishWidth, 8);
  EXPECT_EQ(m.hanjaWidth, 16);
  EXPECT_EQ(m.specialWidth, 16);
  EXPECT_EQ(m.kssmSpecialWidth, 16);
  EXPECT_EQ(HGetTextMetrics(c.dc(), nullptr), 0);
}

TEST(IsHangulTest, ByteRoles) {
  const char s[] = "a\x88\x61" "b";
  EXPECT_EQ(IsHangul(s, 0), 0);
  EXPECT_EQ(IsHangul(s, 1), 1);
  EXPECT_EQ(IsHangul(s, 2), 2);
  EXPECT_EQ(IsHangul(s, 3), 0);
}

}  // namespace
