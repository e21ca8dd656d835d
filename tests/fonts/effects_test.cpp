#include "fonts/effects.h"

#include <gtest/gtest.h>

#include <vector>

namespace kesta::fonts {
namespace {

// A 16x16 glyph (32 bytes, set bit = paper) with ink at the given pixels.
std::vector<uint8_t> glyphWithInk(std::initializer_list<std::pair<int, int>> pixels) {
  std::vector<uint8_t> g(32, 0xFF);
  for (auto [x, y] : pixels) g[y * 2 + x / 8] &= static_cast<uint8_t>(~(0x80 >> (x % 8)));
  return g;
}

bool ink(const std::vector<uint8_t>& g, int x, int y) { return !(g[y * 2 + x / 8] & (0x80 >> (x % 8))); }

int inkCount(const std::vector<uint8_t>& g) {
  int n = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) n += ink(g, x, y);
  return n;
}

TEST(Effects, WidenSpreadsInkRightWithinTheByte) {
  auto g = glyphWithInk({{3, 0}, {7, 1}});
  applyEffects(g, 32, 2, kEffectWiden);
  EXPECT_TRUE(ink(g, 3, 0));
  EXPECT_TRUE(ink(g, 4, 0));
  EXPECT_TRUE(ink(g, 7, 1));
  EXPECT_FALSE(ink(g, 8, 1));  // the next byte's leftmost pixel keeps its own value
  EXPECT_EQ(inkCount(g), 3);
}

TEST(Effects, UnderlineInksRowFourteenOfAWideGlyph) {
  std::vector<uint8_t> block(64, 0xFF);  // two glyphs
  applyEffects(block, 32, 2, kEffectUnderline);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], (i % 32 == 28 || i % 32 == 29) ? 0 : 0xFF) << i;
}

TEST(Effects, UnderlineInksRowsTwelveAndThirteenOfANarrowGlyph) {
  std::vector<uint8_t> block(16, 0xFF);
  applyEffects(block, 16, 2, kEffectUnderline);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], (i == 12 || i == 13) ? 0 : 0xFF) << i;
}

TEST(Effects, ShadowKeepsOnlyTheNewInkRightAndBelow) {
  auto g = glyphWithInk({{3, 4}});
  applyEffects(g, 32, 2, kEffectShadow);
  EXPECT_FALSE(ink(g, 3, 4));
  EXPECT_TRUE(ink(g, 4, 4));
  EXPECT_TRUE(ink(g, 3, 5));
  EXPECT_EQ(inkCount(g), 2);
}

TEST(Effects, ScreenMasksGroupsOfFourBytes) {
  std::vector<uint8_t> block(8, 0xFF);
  applyEffects(block, 32, 2, kEffectScreen);  // a partial glyph is still screened byte by byte
  EXPECT_EQ(block, (std::vector<uint8_t>{0x55, 0x55, 0xAA, 0xAA, 0x55, 0x55, 0xAA, 0xAA}));
}

TEST(Effects, OutlineSurroundsTheInkOnFourSides) {
  auto g = glyphWithInk({{3, 4}});
  applyEffects(g, 32, 2, kEffectOutline);
  EXPECT_FALSE(ink(g, 3, 4));
  EXPECT_TRUE(ink(g, 2, 4));
  EXPECT_TRUE(ink(g, 4, 4));
  EXPECT_TRUE(ink(g, 3, 3));
  EXPECT_TRUE(ink(g, 3, 5));
  EXPECT_EQ(inkCount(g), 4);
}

TEST(Effects, OutlineDoesNotReachOutsideTheGlyph) {
  std::vector<uint8_t> block(64, 0xFF);
  block[0] = 0x7F;  // top-left pixel of glyph 0
  applyEffects(block, 32, 2, kEffectOutline);
  for (int i = 32; i < 64; ++i) EXPECT_EQ(block[i], 0xFF) << i;
}

TEST(Effects, ApplyInOrderWidenThenUnderline) {
  std::vector<uint8_t> block(32, 0xFF);
  block[0] = 0x7F;
  applyEffects(block, 32, 2, kEffectWiden | kEffectUnderline);
  EXPECT_EQ(block[0], 0x3F);
  EXPECT_EQ(block[28], 0);
  EXPECT_EQ(block[29], 0);
}

}  // namespace
}  // namespace kesta::fonts
