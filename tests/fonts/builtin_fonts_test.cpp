#include "fonts/builtin_fonts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fonts/glyphs/glyph_blocks.h"
#include "fonts/name_key.h"

namespace kesta::fonts {
namespace {

TEST(BuiltinFonts, TableOrderNamesKindsAndCells) {
  FontHeader h[kBuiltinFontCount];
  makeBuiltinHeaders(h);
  const char* faces[] = {"InternalMyungjo", "InternalGothic", "InternalPilgi", "InternalSammool",
                         "KSSpecial", "VaskeloSpecial", "InternalRoman", "InternalMokraRoman",
                         "InternalMokraGothic", "InternalET4000", "KSSMSpecial"};
  const int kinds[] = {1, 1, 1, 1, 3, 3, 2, 2, 2, 2, 4};
  for (int i = 0; i < kBuiltinFontCount; ++i) {
    EXPECT_STREQ(h[i].faceName, faces[i]);
    EXPECT_STREQ(h[i].fileName, faces[i]);
    EXPECT_EQ(h[i].kind, kinds[i]);
    EXPECT_EQ(h[i].format, 1);
    EXPECT_EQ(h[i].cellHeight, 16);
    EXPECT_EQ(h[i].cellWidth, kinds[i] == 2 ? 8 : 16);
    EXPECT_EQ(h[i].glyphBytes, kinds[i] == 2 ? 16 : 32);
    EXPECT_EQ(h[i].underlineRise, 2);
    EXPECT_EQ(h[i].referenceCount, 1);
    EXPECT_EQ(h[i].module, nullptr);
    EXPECT_EQ(h[i].compositionTable, nullptr);
    EXPECT_EQ(h[i].composedFlag, kinds[i] == 1 ? 1 : 0);
    EXPECT_EQ(h[i].faceNameKey, nameKey(faces[i], 260));
    EXPECT_EQ(setGlyphCount(h[i]), kinds[i] == 1 ? 344 : 0);
    EXPECT_TRUE(isUsableModuleHeader(h[i], faces[i])) << faces[i];
  }
  EXPECT_EQ(h[0].faceNameKey, 0x486);
  EXPECT_STREQ(h[4].description, "Windows Internal KS Speical Font");
  EXPECT_EQ(builtinIndexOfFace("internalet4000"), 9);
  EXPECT_EQ(builtinIndexOfFace("Nothing"), -1);
}

// Every block has ink and paper, and no glyph of a Hangul or English block
// that should show something is blank.
int inkBits(const uint8_t* glyph, int bytes) {
  int n = 0;
  for (int i = 0; i < bytes; ++i) n += __builtin_popcount(static_cast<uint8_t>(~glyph[i]));
  return n;
}

TEST(BuiltinFonts, HangulPiecesAreNeverBlank) {
  FontHeader h[kBuiltinFontCount];
  makeBuiltinHeaders(h);
  for (int f = 0; f < 4; ++f)
    for (int g = 0; g < 344; ++g) EXPECT_GT(inkBits(h[f].glyphs + g * 32, 32), 0) << h[f].faceName << " " << g;
}

TEST(BuiltinFonts, EnglishFacesShowThePcCharacterSet) {
  FontHeader h[kBuiltinFontCount];
  makeBuiltinHeaders(h);
  for (int f = 6; f <= 9; ++f) {
    EXPECT_EQ(inkBits(h[f].glyphs + ' ' * 16, 16), 0) << h[f].faceName;
    for (int c : {int{'A'}, int{'g'}, int{'0'}, 0xC4 /* box drawing */, 0xDB /* full block */, 0x01 /* face */})
      EXPECT_GT(inkBits(h[f].glyphs + c * 16, 16), 0) << h[f].faceName << " " << c;
    EXPECT_EQ(inkBits(h[f].glyphs + 0xDB * 16, 16), 8 * 16) << h[f].faceName;
  }
  // The four faces are visibly different.
  for (int a = 6; a <= 9; ++a)
    for (int b = a + 1; b <= 9; ++b)
      EXPECT_NE(std::memcmp(h[a].glyphs + 'a' * 16, h[b].glyphs + 'a' * 16, 26 * 16), 0) << a << " " << b;
}

TEST(BuiltinFonts, SymbolBlocksHoldGlyphs) {
  FontHeader h[kBuiltinFontCount];
  makeBuiltinHeaders(h);
  int shown = 0;
  for (int g = 0; g < 128; ++g) shown += inkBits(h[5].glyphs + g * 32, 32) > 0;
  EXPECT_EQ(shown, 128);
  shown = 0;
  for (int g = 1; g < 128; ++g) shown += inkBits(h[4].glyphs + g * 32, 32) > 0;
  EXPECT_GT(shown, 110);
  // KSSM: lead 0xDA's first glyph (base 163) is the full-width "!" of KS row 3.
  EXPECT_GT(inkBits(h[10].glyphs + 163 * 32, 32), 0);
  // Hanja: the first glyph of HANJA.FNT (set bit = ink) is drawn.
  int hanjaInk = 0;
  for (int i = 0; i < 32; ++i) hanjaInk += __builtin_popcount(glyphs::kHanjaGlyphs[i]);
  EXPECT_GT(hanjaInk, 0);
}

}  // namespace
}  // namespace kesta::fonts
