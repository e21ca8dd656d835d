// The neutral half of the text output: classes, cells, extents, tabs, line
// layout and glyph cells.
#include "hangul/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "fonts/builtin_fonts.h"
#include "fonts/font_store.h"
#include "fonts/composer.h"

namespace kesta::hangul {
namespace {

const uint8_t* u(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

TEST(CharClass, ByFirstByte) {
  EXPECT_EQ(classOf(0), CharClass::End);
  EXPECT_EQ(classOf('A'), CharClass::English);
  EXPECT_EQ(classOf(0x7F), CharClass::English);
  EXPECT_EQ(classOf(0x88), CharClass::Hangul);
  EXPECT_EQ(classOf(0xD3), CharClass::Hangul);
  EXPECT_EQ(classOf(0xD4), CharClass::Special);
  EXPECT_EQ(classOf(0xD8), CharClass::Hangul);
  EXPECT_EQ(classOf(0xD9), CharClass::KssmSpecial);
  EXPECT_EQ(classOf(0xDE), CharClass::KssmSpecial);
  EXPECT_EQ(classOf(0xDF), CharClass::Hangul);
  EXPECT_EQ(classOf(0xE0), CharClass::Hanja);
  EXPECT_EQ(classOf(0xF9), CharClass::Hanja);
  EXPECT_EQ(classOf(0xFA), CharClass::Hangul);
}

TEST(LayoutCells, AdvancesByClass) {
  CellWidths w{16, 8, 24, 12, 20};
  const char text[] = "a\x88\x61\xD4\x81\xD9\x31\xE0\x31" "b";
  const auto cells = layoutCells(u(text), sizeof text - 1, w);
  ASSERT_EQ(cells.size(), 6u);
  const int xs[] = {0, 8, 24, 36, 56, 80};
  const CharClass cls[] = {CharClass::English, CharClass::Hangul,      CharClass::Special,
                           CharClass::KssmSpecial, CharClass::Hanja, CharClass::English};
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].x, xs[i]) << i;
    EXPECT_EQ(cells[i].cls, cls[i]) << i;
  }
  EXPECT_EQ(cells[1].lead, 0x88);
  EXPECT_EQ(cells[1].second, 0x61);
}

TEST(LayoutCells, StopsAtZeroAndLength) {
  CellWidths w;
  int end = 0;
  EXPECT_EQ(layoutCells(u("ab\0cd"), 5, w, false, &end).size(), 2u);
  EXPECT_EQ(end, 16);
  EXPECT_EQ(layoutCells(u("abcd"), 3, w).size(), 3u);
  EXPECT_TRUE(layoutCells(u("abc"), 0, w).empty());
  EXPECT_TRUE(layoutCells(nullptr, 5, w).empty());
}

TEST(LayoutCells, LeadByteAtTheEndOfTheLengthEndsTheWalk) {
  CellWidths w;
  int end = 0;
  // The second byte lies beyond the counted length: it is not read.
  const auto cells = layoutCells(u("a\x88\x61"), 2, w, false, &end);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(end, 8);
}

TEST(LayoutCells, SkipLineEndsTakesNoRoom) {
  CellWidths w;
  int end = 0;
  const auto cells = layoutCells(u("a\r\nb"), 4, w, true, &end);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1].x, 8);
  EXPECT_EQ(end, 16);
  EXPECT_EQ(layoutCells(u("a\r\nb"), 4, w, false).size(), 4u);
}

TEST(Extent, LetterTabLetterIsTenEnglishCells) {
  CellWidths w;
  EXPECT_EQ(textExtentWidth(u("a\tb"), 3, w), 10 * 8);
}

TEST(Extent, TwoByteCharactersCountTheHangulWidth) {
  CellWidths w{16, 8, 24, 12, 20};
  EXPECT_EQ(textExtentWidth(u("\xE0\x31\xD4\x81" "a"), 5, w), 16 + 16 + 8);
}

TEST(TabbedExtent, TabStopRules) {
  CellWidths w;
  const int one[] = {40};
  EXPECT_EQ(tabbedExtentWidth(u("a\t\tb"), 4, w, TabStops(1, one, 8)), 8 + 40 + 40 + 8);
  const int several[] = {10, 20, 30};
  EXPECT_EQ(tabbedExtentWidth(u("\t\t\t"), 3, w, TabStops(3, several, 8)), 60);
  EXPECT_EQ(tabbedExtentWidth(u("\t"), 1, w, TabStops(0, nullptr, 8)), 64);
}

TEST(TabbedExtent, TabsBeyondTheListCountOneEnglishCell) {
  CellWidths w;
  const int two[] = {10, 20};
  EXPECT_EQ(tabbedExtentWidth(u("\t\t\t\t"), 4, w, TabStops(2, two, 8)), 10 + 20 + 8 + 8);
}

TEST(TabbedCells, TabMovesToOriginPlusStop) {
  CellWidths w;
  const int stops[] = {100};
  int end = 0;
  const auto cells = layoutTabbedCells(u("a\tb"), 3, w, TabStops(1, stops, 8), -20, &end);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1].x, 80);
  EXPECT_EQ(end, 88);
}

TEST(ExpandTabs, ToMultiplesOfTheTabSize) {
  EXPECT_EQ(expandTabs(u("a\tb"), 3, 4), "a   b");
  EXPECT_EQ(expandTabs(u("abcd\tb"), 6, 4), "abcd    b");
  EXPECT_EQ(expandTabs(u("\x88\x61\tx"), 4, 8), "\x88\x61      x");
  EXPECT_EQ(expandTabs(u("\t"), 1, 0), " ");
}

int measure8(const uint8_t* p, int n) { return textExtentWidth(p, n, CellWidths{}); }

std::vector<std::string> lineTexts(const char* text, int width, bool wordBreak) {
  std::vector<std::string> out;
  const int n = static_cast<int>(std::string(text).size());
  int expectedY = 0;
  for (const auto& l : layoutLines(u(text), n, width, wordBreak, measure8)) {
    EXPECT_EQ(l.y, expectedY++);
    out.emplace_back(text + l.offset, l.length);
  }
  return out;
}

TEST(LayoutLines, LineFeedsEndLines) {
  EXPECT_EQ(lineTexts("ab\ncd", 1000, false), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(lineTexts("ab\n\ncd", 1000, false), (std::vector<std::string>{"ab", "", "cd"}));
  EXPECT_EQ(lineTexts("ab\n", 1000, false), (std::vector<std::string>{"ab"}));
  EXPECT_EQ(lineTexts("abc", 1000, false), (std::vector<std::string>{"abc"}));
}

TEST(LayoutLines, WordBreakFillsLines) {
  // 8 pixels a character, 7 characters a line.
  EXPECT_EQ(lineTexts("aa bb cc dd", 56, true), (std::vector<std::string>{"aa bb ", "cc dd"}));
  EXPECT_EQ(lineTexts("aa bb\ncc", 56, true), (std::vector<std::string>{"aa bb", "cc"}));
}

TEST(LayoutLines, WordWiderThanTheLineStandsAlone) {
  // The long word neither loops nor joins its neighbours.
  EXPECT_EQ(lineTexts("abcdefghij kl", 40, true), (std::vector<std::string>{"abcdefghij ", "kl"}));
  EXPECT_EQ(lineTexts("ab abcdefghij kl", 40, true),
            (std::vector<std::string>{"ab ", "abcdefghij ", "kl"}));
  EXPECT_EQ(lineTexts("abcdefghij\nkl", 40, true), (std::vector<std::string>{"abcdefghij", "kl"}));
  EXPECT_EQ(lineTexts("abcdefghij", 40, true), (std::vector<std::string>{"abcdefghij"}));
}

TEST(LayoutLines, NoBytesNoLines) { EXPECT_TRUE(lineTexts("", 40, true).empty()); }

TEST(GlyphNumbers, Blocks) {
  EXPECT_EQ(specialGlyph(0x81), 1);
  EXPECT_EQ(specialGlyph(0x41), -1);
}

TEST(GlyphCell, FontGlyphIsWidenedTo16Bits) {
  fonts::FontHeader h{};
  uint8_t glyphs[2 * 16];
  for (int i = 0; i < 32; ++i) glyphs[i] = static_cast<uint8_t>(i);
  h.cellWidth = 8;
  h.cellHeight = 16;
  h.glyphBytes = 16;
  h.glyphs = glyphs;
  GlyphCell cell;
  cell.reset(8, 16);
  ASSERT_EQ(cell.rowBytes, 2);
  ASSERT_TRUE(fontGlyphCell(h, 1, 2, cell));
  for (int r = 0; r < 16; ++r) EXPECT_EQ(cell.rows[r * 2], 16 + r);
  EXPECT_FALSE(fontGlyphCell(h, 2, 2, cell));
  for (uint8_t b : cell.rows) EXPECT_EQ(b, 0xFF);  // outside the block: all paper
  EXPECT_FALSE(fontGlyphCell(h, -1, 2, cell));
}

TEST(GlyphCell, HanjaGlyphIsInverted) {
  GlyphCell cell;
  cell.reset(16, 16);
  std::vector<uint8_t> glyph(32, 0);
  glyph[0] = 0x80;
  ASSERT_TRUE(hanjaGlyphCell(glyph, cell));
  EXPECT_EQ(cell.rows[0], 0x7F);
  EXPECT_EQ(cell.rows[1], 0xFF);
  EXPECT_FALSE(hanjaGlyphCell(std::span<const uint8_t>(glyph.data(), 31), cell));
}

TEST(GlyphCell, ComposedSyllableMatchesTheComposer) {
  fonts::FontHeader headers[fonts::kBuiltinFontCount];
  fonts::makeBuiltinHeaders(headers);
  const fonts::FontHeader& myungjo = headers[fonts::builtinIndexOfFace("InternalMyungjo")];
  GlyphCell cell;
  cell.reset(16, 16);
  ASSERT_TRUE(composeSyllable(0x8861, myungjo, cell.rows));
  int ink = 0;
  for (uint8_t b : cell.rows) ink += 8 - __builtin_popcount(b);
  EXPECT_GT(ink, 10);
}

}  // namespace
}  // namespace kesta::hangul

namespace kesta::hangul {
namespace {

TEST(GlyphStripTest, JoinsNeighbouringCellsOfOneHeight) {
  GlyphCell a, b;
  a.reset(8, 2);
  b.reset(16, 2);
  a.rows[0] = 0x0F;  // row 0 of the 8-wide cell
  b.rows[b.rowBytes + 1] = 0xF0;  // row 1, second byte of the 16-wide cell
  GlyphStrip strip;
  ASSERT_TRUE(strip.append(a, 10));
  ASSERT_TRUE(strip.append(b, 18));
  EXPECT_FALSE(strip.append(a, 40));  // a gap
  GlyphCell tall;
  tall.reset(8, 3);
  EXPECT_FALSE(strip.append(tall, 34));  // another height
  EXPECT_EQ(strip.x(), 10);
  EXPECT_EQ(strip.width(), 24);
  const uint8_t* rows = strip.rows();
  ASSERT_EQ(strip.rowBytes(), 4);
  const uint8_t want[8] = {0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(rows[i], want[i]) << i;
  strip.clear();
  EXPECT_TRUE(strip.empty());
  EXPECT_TRUE(strip.append(tall, 0));
}

TEST(PaintRowsTest, InkAndPaperColours) {
  const uint8_t rows[2] = {0x7F, 0xFF};  // first pixel ink
  uint8_t px[3 * 3];
  std::fill(std::begin(px), std::end(px), 0x11);
  paintRows(rows, 2, 3, 1, px, 9, 3, 0x102030, 0xA0B0C0, false);
  const uint8_t want[9] = {0x30, 0x20, 0x10, 0xC0, 0xB0, 0xA0, 0xC0, 0xB0, 0xA0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(px[i], want[i]) << i;
  std::fill(std::begin(px), std::end(px), 0x11);
  paintRows(rows, 2, 2, 1, px, 8, 4, 0x102030, 0xA0B0C0, true);
  const uint8_t kept[9] = {0x30, 0x20, 0x10, 0x00, 0x11, 0x11, 0x11, 0x11, 0x11};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(px[i], kept[i]) << i;
}

}  // namespace
}  // namespace kesta::hangul

namespace kesta::hangul {
namespace {

// Every syllable through the cache, in two fonts taking turns and twice
// over (the second pass finds them kept, or composes them again after the
// cache has started over): always the composer's rows.
TEST(SyllableCacheTest, AlwaysTheComposersRows) {
  fonts::FontHeader headers[fonts::kBuiltinFontCount];
  fonts::makeBuiltinHeaders(headers);
  const fonts::FontHeader* faces[] = {&headers[fonts::builtinIndexOfFace("InternalMyungjo")],
                                      &headers[fonts::builtinIndexOfFace("InternalGothic")]};
  struct Pass {
    int first, count, step;
    bool alternate;  // the two fonts in turn, syllable by syllable
  };
  const Pass passes[] = {{0, 11172, 1, false}, {0, 11172, 1, false}, {5, 3000, 7, true}, {11171, 300, -13, false}};
  SyllableCache cache;
  GlyphCell cell;
  cell.reset(16, 16);
  for (const Pass& p : passes)
    for (const fonts::FontHeader* font : faces)
      for (int i = 0; i < p.count; ++i) {
        const uint16_t code = syllableCodeOfUnicodeIndex(((p.first + i * p.step) % 11172 + 11172) % 11172);
        const fonts::FontHeader& f = p.alternate && (i & 1) ? *faces[font == faces[0]] : *font;
        ASSERT_TRUE(composeSyllable(code, f, cell.rows));
        const uint8_t* rows = cache.rows(code, f, cell.rowBytes, cell.height);
        ASSERT_NE(rows, nullptr) << std::hex << code;
        ASSERT_TRUE(std::equal(cell.rows.begin(), cell.rows.end(), rows)) << std::hex << code;
        ASSERT_LE(cache.size(), SyllableCache::kEntries);
      }
}

TEST(SyllableCacheTest, WhatIsKept) {
  fonts::FontHeader headers[fonts::kBuiltinFontCount];
  fonts::makeBuiltinHeaders(headers);
  const fonts::FontHeader& myungjo = headers[fonts::builtinIndexOfFace("InternalMyungjo")];
  SyllableCache cache;
  struct Row {
    uint16_t code;
    int rowBytes, height;
    bool drawn;
    int sizeAfter;
  };
  const Row rows[] = {
      {0x8861, 2, 16, true, 1},   // composed and kept
      {0x8861, 2, 16, true, 1},   // found
      {0x8862, 2, 16, true, 2},
      {0x0861, 2, 16, true, 2},   // no syllable code: composed each time, not kept
      {0x8863, 1, 16, false, 0},  // a cell too small for the font: another cell size starts over, nothing drawn
      {0x8863, 1, 16, false, 0},
      {0x8863, 2, 16, true, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    EXPECT_EQ(cache.rows(r.code, myungjo, r.rowBytes, r.height) != nullptr, r.drawn);
    EXPECT_EQ(cache.size(), r.sizeAfter);
  }
  cache.clear();
  EXPECT_EQ(cache.size(), 0);
}

}  // namespace
}  // namespace kesta::hangul
