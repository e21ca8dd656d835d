#include <gtest/gtest.h>

#include <string>

#include "controls/hanja_table.h"
#include "fonts/glyph_index.h"
#include "xlat/xlat.h"

namespace kesta::controls {
namespace {

TEST(HanjaTable, RowsAreSortedAndCoverEveryHanjaOnceInOrder) {
  const auto rows = readingRows();
  ASSERT_EQ(rows.size(), 473u);
  int next = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(rows[i - 1].syllable, rows[i].syllable) << i;
    }
    EXPECT_EQ(rows[i].first, next) << i;
    EXPECT_GT(rows[i].count, 0) << i;
    next += rows[i].count;
  }
  EXPECT_EQ(next, kHanjaCount);
}

TEST(HanjaTable, AnchorRows) {
  struct Row {
    uint16_t syllable, count, first;
  };
  const Row anchors[] = {{0x8861, 29, 0},      {0x8862, 11, 29},    {0x8865, 24, 40},  {0x8869, 10, 64},
                         {0x8871, 20, 74},     {0xD377, 1, 4866},   {0xD381, 20, 4867}, {0xD3A9, 1, 4887}};
  for (const Row& a : anchors) {
    const auto row = findReading(a.syllable);
    ASSERT_TRUE(row) << std::hex << a.syllable;
    EXPECT_EQ(row->count, a.count) << std::hex << a.syllable;
    EXPECT_EQ(row->first, a.first) << std::hex << a.syllable;
  }
}

TEST(HanjaTable, EveryReadingIsACompleteSyllableAndFoundByItsCode) {
  for (const ReadingRow& row : readingRows()) {
    const char bytes[2] = {static_cast<char>(row.syllable >> 8), static_cast<char>(row.syllable)};
    const std::string utf8 = xlat::convert(xlat::Code::Johab, xlat::Code::Utf8, std::string(bytes, 2));
    ASSERT_EQ(utf8.size(), 3u) << std::hex << row.syllable;
    const char32_t c = (utf8[0] & 0x0F) << 12 | (utf8[1] & 0x3F) << 6 | (utf8[2] & 0x3F);
    EXPECT_TRUE(c >= 0xAC00 && c <= 0xD7A3) << std::hex << row.syllable;
    const auto found = findReading(row.syllable);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->first, row.first);
  }
}

TEST(HanjaTable, SyllablesWithoutHanjaAreNotFound) {
  for (uint16_t code : {0x8841, 0x0000, 0xFFFF, 0x8860, 0x8863, 0xD3AA, 0xE031, 0x8442})
    EXPECT_FALSE(findReading(code)) << std::hex << code;
}

// The code rule is the inverse of the glyph numbering the text library draws
// with, and lands on the KS X 1001 cell of the same number.
TEST(HanjaTable, CodeOfEveryNumberInvertsTheGlyphNumberingAndMatchesKsX1001) {
  for (int n = 0; n < kHanjaCount; ++n) {
    const uint16_t code = hanjaCode(n);
    ASSERT_GE(code >> 8, 0xE0) << n;
    ASSERT_LE(code >> 8, 0xF9) << n;
    ASSERT_EQ(fonts::hanjaGlyphIndex(static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)), n) << n;
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code)};
    const std::string ks = xlat::convert(xlat::Code::Johab, xlat::Code::Cp949, std::string(bytes, 2));
    ASSERT_EQ(ks.size(), 2u) << n;
    EXPECT_EQ(static_cast<uint8_t>(ks[0]), 0xCA + n / 94) << n;
    EXPECT_EQ(static_cast<uint8_t>(ks[1]), 0xA1 + n % 94) << n;
  }
  EXPECT_EQ(hanjaCode(0), 0xE031);
  EXPECT_EQ(hanjaCode(77), 0xE07E);
  EXPECT_EQ(hanjaCode(78), 0xE091);
  EXPECT_EQ(hanjaCode(4887) >> 8, 0xF9);
  EXPECT_EQ(hanjaCode(-1), 0);
  EXPECT_EQ(hanjaCode(kHanjaCount), 0);
}

}  // namespace
}  // namespace kesta::controls
