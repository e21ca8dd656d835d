#include "fonts/composer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kesta::hangul {
namespace {

using fonts::FontHeader;

TEST(ComposerPositions, MapTheFiveBitNumbersOfEachPart) {
  EXPECT_EQ(initialPosition(1), 0);
  EXPECT_EQ(initialPosition(2), 1);
  EXPECT_EQ(initialPosition(20), 19);
  EXPECT_EQ(initialPosition(21), 0);
  EXPECT_EQ(medialPosition(2), 0);
  EXPECT_EQ(medialPosition(3), 1);
  EXPECT_EQ(medialPosition(7), 5);
  EXPECT_EQ(medialPosition(8), 0);
  EXPECT_EQ(medialPosition(10), 6);
  EXPECT_EQ(medialPosition(15), 11);
  EXPECT_EQ(medialPosition(18), 12);
  EXPECT_EQ(medialPosition(23), 17);
  EXPECT_EQ(medialPosition(26), 18);
  EXPECT_EQ(medialPosition(29), 21);
  EXPECT_EQ(medialPosition(30), 0);
  EXPECT_EQ(finalPosition(1), 0);
  EXPECT_EQ(finalPosition(2), 1);
  EXPECT_EQ(finalPosition(17), 16);
  EXPECT_EQ(finalPosition(18), 0);
  EXPECT_EQ(finalPosition(19), 17);
  EXPECT_EQ(finalPosition(29), 27);
  EXPECT_EQ(finalPosition(30), 0);
}

TEST(ComposerPositions, UnicodeOrderRoundTripsThroughCombinationCodes) {
  EXPECT_EQ(syllableCodeOfUnicodeIndex(0), 0x8861);  // first syllable: initial 1, medial 1, no final
  EXPECT_EQ(syllableCodeOfUnicodeIndex(11171), syllableCode(19, 21, 27));
  std::vector<bool> seen(65536);
  for (int i = 0; i < 11172; ++i) {
    uint16_t code = syllableCodeOfUnicodeIndex(i);
    ASSERT_FALSE(seen[code]) << i;
    seen[code] = true;
    JamoPositions p = splitSyllable(code);
    EXPECT_EQ(p.initial, i / 588 + 1);
    EXPECT_EQ(p.medial, i / 28 % 21 + 1);
    EXPECT_EQ(p.final, i % 28);
  }
}

TEST(ComposerSets, TableOneGivesTheSetsOfGaAndGak) {
  const uint8_t* t = builtinCompositionTable(1);
  GlyphSets ga = chooseSets(t, splitSyllable(0x8861));
  EXPECT_EQ(ga.initial, 0);
  EXPECT_EQ(ga.medial, 0);
  GlyphSets gak = chooseSets(t, splitSyllable(0x8862));
  EXPECT_EQ(gak.initial, 5);
  EXPECT_EQ(gak.medial, 2);
  EXPECT_EQ(gak.final, 0);
}

TEST(ComposerSets, InitialAloneUsesSetZero) {
  for (int table = 0; table < 3; ++table) {
    GlyphSets s = chooseSets(builtinCompositionTable(table), splitSyllable(0x8841));  // initial ㄱ, fill, no final
    EXPECT_EQ(s.initial, 0) << table;
  }
}

TEST(ComposerSets, TablesDifferWhereTheyShould) {
  const uint8_t* t0 = builtinCompositionTable(0);
  const uint8_t* t1 = builtinCompositionTable(1);
  const uint8_t* t2 = builtinCompositionTable(2);
  EXPECT_EQ(builtinCompositionTable(3), nullptr);
  // Medial ㅗ (position 9) with a final: table 0 set 6, table 1 set 6; medial ㅘ (10): 8 against 7.
  EXPECT_EQ(t0[10] >> 4, 8);
  EXPECT_EQ(t1[10] >> 4, 7);
  EXPECT_EQ(t0[0], 0x50);
  EXPECT_EQ(t1[0], 0x00);
  for (int i = 22; i < 44; ++i) EXPECT_EQ(t0[i], t1[i]) << i;
  for (int i = 44; i < 66; ++i) EXPECT_EQ(t0[i], t1[i]) << i;
  EXPECT_EQ(t0[22 + 16], 0x20);  // initial position 16 (ㅋ) uses medial set 0/2
  EXPECT_EQ(t0[22 + 20], 0x00);
  EXPECT_EQ(t2[9], 0x11);
  EXPECT_EQ(t2[8], 0x00);
  EXPECT_EQ(t2[44 + 19], 1);
  EXPECT_EQ(t2[44 + 20], 0);
}

// A font in which glyph g has ink only at pixel (g % 16, g / 16 % 16) and in
// row 15 the low byte holds g's bits, so a composed cell shows which glyphs went in.
struct MarkedFont {
  std::vector<uint8_t> glyphs;
  FontHeader header{};
  MarkedFont(int initialSets, int medialSets, int finalSets, int flag) {
    int count = initialSets * 19 + medialSets * 21 + finalSets * 27;
    glyphs.assign(count * 32, 0xFF);
    for (int g = 0; g < count; ++g) {
      int x = g % 16, y = g / 16 % 16;
      glyphs[g * 32 + y * 2 + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
    }
    header.cellWidth = 16;
    header.cellHeight = 16;
    header.glyphBytes = 32;
    header.composedFlag = flag;
    header.initialSets = static_cast<uint8_t>(initialSets);
    header.medialSets = static_cast<uint8_t>(medialSets);
    header.finalSets = static_cast<uint8_t>(finalSets);
    header.glyphs = glyphs.data();
  }
};

std::vector<int> inkPixels(const uint8_t* cell) {
  std::vector<int> out;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (!(cell[y * 2 + x / 8] & (0x80 >> (x % 8)))) out.push_back(y * 16 + x);
  return out;
}

TEST(ComposeSyllable, AndsTheThreeChosenGlyphs) {
  MarkedFont font(8, 4, 4, 1);
  uint8_t cell[32];
  // 각: initial ㄱ set 5, medial ㅏ set 2, final ㄱ set 0.
  ASSERT_TRUE(composeSyllable(0x8862, font.header, cell));
  std::vector<int> expected = {5 * 19 + 0, 152 + 2 * 21 + 0, 236 + 0 * 27 + 0};
  EXPECT_EQ(inkPixels(cell), expected);
  // 가 has no final: two glyphs only.
  ASSERT_TRUE(composeSyllable(0x8861, font.header, cell));
  EXPECT_EQ(inkPixels(cell), (std::vector<int>{0, 152}));
  // 힣: initial ㅎ (19) set 0/5 with final, medial ㅣ (21) set 3, final ㅎ (27) set 1.
  ASSERT_TRUE(composeSyllable(syllableCode(19, 21, 27), font.header, cell));
  // Marks wrap every 256 glyphs: glyph 289 marks pixel 33.
  EXPECT_EQ(inkPixels(cell), (std::vector<int>{236 + 27 + 26 - 256, 5 * 19 + 18, 152 + 3 * 21 + 20}));
}

TEST(ComposeSyllable, OwnTableOfFlagThree) {
  MarkedFont font(2, 2, 2, 3);
  uint8_t table[kCompositionTableBytes] = {};
  for (int i = 0; i < 22; ++i) table[i] = 0x10;       // initial set 1 with a final
  for (int i = 22; i < 44; ++i) table[i] = 0x01;      // medial set 1 without a final
  for (int i = 44; i < 66; ++i) table[i] = 1;
  font.header.compositionTable = table;
  uint8_t cell[32];
  ASSERT_TRUE(composeSyllable(0x8861, font.header, cell));  // 가
  EXPECT_EQ(inkPixels(cell), (std::vector<int>{0, 38 + 21}));
  font.header.compositionTable = nullptr;
  EXPECT_FALSE(composeSyllable(0x8861, font.header, cell));
}

TEST(ComposeSyllable, LeavesOutSetsTheFontDoesNotHave) {
  MarkedFont font(2, 1, 2, 0);  // table 0 asks for up to 10 initial sets
  uint8_t cell[32];
  ASSERT_TRUE(composeSyllable(0x8862, font.header, cell));  // 각 wants initial set 5
  EXPECT_EQ(inkPixels(cell), (std::vector<int>{38 + 21}));  // the final only: medial set 2 is missing too
}

TEST(ComposeSyllable, RefusesUnusableFontsAndSmallBuffers) {
  MarkedFont font(8, 4, 4, 1);
  uint8_t cell[32];
  std::memset(cell, 0x5A, sizeof cell);
  EXPECT_FALSE(composeSyllable(0x8861, font.header, std::span<uint8_t>(cell, 31)));
  FontHeader bad = font.header;
  bad.glyphBytes = 16;
  EXPECT_FALSE(composeSyllable(0x8861, bad, cell));
  bad = font.header;
  bad.cellWidth = 12;
  EXPECT_FALSE(composeSyllable(0x8861, bad, cell));
  bad = font.header;
  bad.glyphs = nullptr;
  EXPECT_FALSE(composeSyllable(0x8861, bad, cell));
  bad = font.header;
  bad.composedFlag = 4;
  EXPECT_FALSE(composeSyllable(0x8861, bad, cell));
  EXPECT_EQ(cell[0], 0x5A);  // untouched on refusal
}

TEST(ComposeSyllable, NarrowCellsArePaddedToSixteenBits) {
  std::vector<uint8_t> glyphs(344 * 16, 0xFF);
  glyphs[0] = 0x7F;  // initial ㄱ set 0: top-left pixel
  FontHeader h{};
  h.cellWidth = 8;
  h.cellHeight = 16;
  h.glyphBytes = 16;
  h.composedFlag = 1;
  h.initialSets = 8;
  h.medialSets = 4;
  h.finalSets = 4;
  h.glyphs = glyphs.data();
  EXPECT_EQ(composedRowBytes(8), 2);
  uint8_t cell[32];
  ASSERT_TRUE(composeSyllable(0x8861, h, cell));
  EXPECT_EQ(cell[0], 0x7F);
  EXPECT_EQ(cell[2], 0xFF);  // row 1 starts two bytes on
}

}  // namespace
}  // namespace kesta::hangul
