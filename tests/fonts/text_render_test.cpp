#include "fonts/text_render.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fonts/builtin_fonts.h"
#include "fonts/png_writer.h"
#include "fonts/composer.h"

namespace kesta::fonts {
namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

TEST(GlyphIndex, KssmRowsFollowTheLeadBases) {
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x31), 0);
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x7E), 77);
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x91), 78);
  EXPECT_EQ(kssmGlyphIndex(0xDA, 0x31), 163);
  EXPECT_EQ(kssmGlyphIndex(0xDE, 0x31), 878);
  EXPECT_EQ(kssmGlyphIndex(0xDE, 0xFE), -1);  // beyond the block's 1,053 glyphs
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x80), -1);
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x30), -1);
  EXPECT_EQ(kssmGlyphIndex(0xD8, 0x31), -1);
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0x20), -1);
  EXPECT_EQ(kssmGlyphIndex(0xD9, 0xFE), -1);  // beyond the 163 glyphs of 0xD9
}

TEST(GlyphIndex, HanjaFollowsTheFileLayout) {
  EXPECT_EQ(hanjaGlyphIndex(0xE0, 0x31), 0);
  EXPECT_EQ(hanjaGlyphIndex(0xE0, 0x91), 78);
  EXPECT_EQ(hanjaGlyphIndex(0xE0, 0xFE), 187);
  EXPECT_EQ(hanjaGlyphIndex(0xE1, 0x31), 188);
  EXPECT_EQ(hanjaGlyphIndex(0xF9, 0xFE), 4887);
  EXPECT_EQ(hanjaGlyphIndex(0xE0, 0x85), -1);
  EXPECT_EQ(hanjaGlyphIndex(0xE0, 0x80), -1);
  EXPECT_EQ(hanjaGlyphIndex(0xFA, 0x31), -1);
}

TEST(Utf8ToCombination, HangulAsciiAndJamo) {
  std::vector<uint8_t> out;
  std::string error;
  ASSERT_TRUE(utf8ToCombination("가a각", out, error));
  EXPECT_EQ(out, bytes({0x88, 0x61, 'a', 0x88, 0x62}));
  ASSERT_TRUE(utf8ToCombination("ㄱㅏㄳ", out, error));
  EXPECT_EQ(out, bytes({0x88, 0x41, 0x84, 0x61, 0x84, 0x44}));
}

TEST(Utf8ToCombination, SymbolsAndHanjaInKsOrder) {
  std::vector<uint8_t> out;
  std::string error;
  ASSERT_TRUE(utf8ToCombination("\u3000", out, error));  // KS row 1 column 1
  EXPECT_EQ(out, bytes({0xD9, 0x31}));
  ASSERT_TRUE(utf8ToCombination("\u4f3d", out, error));  // 伽, the first Hanja
  EXPECT_EQ(out, bytes({0xE0, 0x31}));
  ASSERT_TRUE(utf8ToCombination("\uff01", out, error));  // fullwidth !, row 3 column 1
  EXPECT_EQ(out, bytes({0xDA, 0x31}));
  EXPECT_EQ(kssmGlyphIndex(out[0], out[1]), 163);
}

TEST(Utf8ToCombination, RejectsBrokenTextAndUnknownCharacters) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_FALSE(utf8ToCombination("a\xEA\xB0", out, error));
  EXPECT_NE(error.find("UTF-8"), std::string::npos);
  EXPECT_FALSE(utf8ToCombination("\xF0\x9F\x98\x80", out, error));
  EXPECT_NE(error.find("U+1F600"), std::string::npos);
}

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() {
    makeBuiltinHeaders(headers);
    fonts.hangul = &headers[1];
    fonts.english = &headers[6];
    fonts.special = &headers[4];
    fonts.kssm = &headers[10];
  }
  FontHeader headers[kBuiltinFontCount];
  TextFonts fonts;
};

TEST_F(DrawTextTest, AdvancesByClass) {
  EXPECT_EQ(textWidth(bytes({'a', 0x88, 0x61, 0xD4, 0x81, 0xD9, 0x31, 0xE0, 0x31}), fonts), 8 + 16 * 4);
  EXPECT_EQ(textWidth(bytes({'a', 0, 'b'}), fonts), 8);
  EXPECT_EQ(textWidth(bytes({'a', 0x88}), fonts), 8);  // a lead byte without its second byte ends the text
}

TEST_F(DrawTextTest, HangulCellIsTheComposedSyllable) {
  InkBitmap picture(16, 16);
  EXPECT_EQ(drawText(picture, 0, 0, bytes({0x88, 0x62}), fonts), 16);
  uint8_t cell[32];
  ASSERT_TRUE(hangul::composeSyllable(0x8862, headers[1], cell));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(picture.ink[y * 16 + x], !(cell[y * 2 + x / 8] & (0x80 >> (x % 8))) ? 1 : 0) << x << "," << y;
}

TEST_F(DrawTextTest, HanjaComeFromTheImageAndOutOfRangeCodesDrawNothing) {
  std::vector<uint8_t> hanja(189 * 32, 0);
  hanja[188 * 32] = 0x80;  // glyph 188: top-left pixel is ink
  fonts.hanja = hanja;
  InkBitmap picture(48, 16);
  drawText(picture, 0, 0, bytes({0xE1, 0x31, 0xE1, 0x32, 0xD4, 0x10}), fonts);
  EXPECT_EQ(picture.ink[0], 1);
  int inkCount = 0;
  for (uint8_t v : picture.ink) inkCount += v;
  EXPECT_EQ(inkCount, 1);  // glyph 189 is past the image; 0xD4 0x10 names no special glyph
}

TEST_F(DrawTextTest, DrawingStaysInsideTheBitmap) {
  InkBitmap picture(10, 5);
  drawText(picture, -4, -3, bytes({0x88, 0x62, 'W'}), fonts);
  drawText(picture, 6, 2, bytes({0x88, 0x62}), fonts);
  SUCCEED();  // AddressSanitizer watches the writes
  int inkCount = 0;
  for (uint8_t v : picture.ink) inkCount += v;
  EXPECT_GT(inkCount, 0);
}

uint32_t be32(const std::vector<uint8_t>& v, size_t at) {
  return uint32_t{v[at]} << 24 | uint32_t{v[at + 1]} << 16 | uint32_t{v[at + 2]} << 8 | v[at + 3];
}

TEST(PngWriter, WritesOneBitGreyscaleWithStoredBlocks) {
  std::vector<uint8_t> ink(10 * 3, 0);
  ink[0] = 1;
  ink[10 + 9] = 1;
  std::vector<uint8_t> png = encodeMonochromePng(10, 3, ink);
  ASSERT_GT(png.size(), 8u + 25 + 12);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1A\n", 8), 0);
  EXPECT_EQ(be32(png, 8), 13u);
  EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
  EXPECT_EQ(be32(png, 16), 10u);
  EXPECT_EQ(be32(png, 20), 3u);
  EXPECT_EQ(png[24], 1);  // bit depth
  EXPECT_EQ(png[25], 0);  // greyscale
  // The well-known IEND chunk closes the file, its CRC included.
  const uint8_t iend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  EXPECT_EQ(std::memcmp(png.data() + png.size() - 12, iend, 12), 0);
  // IDAT: zlib header, one final stored block of 3 rows x (1 + 2) bytes.
  const size_t idat = 8 + 25;
  EXPECT_EQ(std::memcmp(png.data() + idat + 4, "IDAT", 4), 0);
  const uint8_t* z = png.data() + idat + 8;
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[2], 1);
  EXPECT_EQ(z[3] | z[4] << 8, 9);
  const uint8_t rows[9] = {0, 0x7F, 0xFF, 0, 0xFF, 0xBF, 0, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(z + 7, rows, 9), 0);
}

TEST(PngWriter, LargePicturesSpanSeveralBlocks) {
  std::vector<uint8_t> ink(2000 * 400, 0);
  std::vector<uint8_t> png = encodeMonochromePng(2000, 400, ink);
  const size_t raw = 400 * (1 + 250);
  EXPECT_GT(png.size(), raw);
  EXPECT_LT(png.size(), raw + 2 * 5 + 100);
}

}  // namespace
}  // namespace kesta::fonts
