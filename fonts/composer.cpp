#include "fonts/composer.h"

#include <algorithm>
#include <array>

namespace kesta::hangul {
namespace {

// Each table: bytes 0-21 initial sets by medial position (low nibble without
// final, high nibble with one), 22-43 medial sets by initial position, 44-65
// final sets by medial position.
constexpr std::array<uint8_t, 22> kFinalSetsByMedial = {0, 0, 2, 0, 2, 1, 2, 1, 2, 3, 0, 2, 1, 3, 3, 1, 2, 1, 3, 3, 1, 1};

constexpr uint8_t pair(int without, int with) { return static_cast<uint8_t>(with << 4 | without); }

constexpr std::array<uint8_t, 66> makeTable(const std::array<uint8_t, 22>& initialSets) {
  std::array<uint8_t, 66> t{};
  for (int i = 0; i < 22; ++i) t[i] = initialSets[i];
  for (int i = 0; i < 22; ++i) {
    uint8_t m = pair(1, 3);
    if (i <= 1 || i == 16) m = pair(0, 2);
    if (i >= 20) m = pair(0, 0);
    t[22 + i] = m;
  }
  for (int i = 0; i < 22; ++i) t[44 + i] = kFinalSetsByMedial[i];
  return t;
}

constexpr std::array<uint8_t, 22> kTable0Initial = {
    pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5),
    pair(0, 5), pair(1, 6), pair(3, 8), pair(3, 8), pair(3, 8), pair(1, 6), pair(2, 7), pair(4, 9),
    pair(4, 9), pair(4, 9), pair(2, 7), pair(1, 6), pair(3, 8), pair(0, 5)};
constexpr std::array<uint8_t, 22> kTable1Initial = {
    pair(0, 0), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5), pair(0, 5),
    pair(0, 5), pair(1, 6), pair(3, 7), pair(3, 7), pair(3, 7), pair(1, 6), pair(2, 6), pair(4, 7),
    pair(4, 7), pair(4, 7), pair(2, 6), pair(1, 6), pair(3, 7), pair(0, 5)};

constexpr std::array<uint8_t, 66> makeTable2() {
  std::array<uint8_t, 66> t{};
  for (int m : {9, 13, 14, 18, 19}) {
    t[m] = pair(1, 1);
    t[44 + m] = 1;
  }
  return t;
}

constexpr std::array<uint8_t, 66> kTable0 = makeTable(kTable0Initial);
constexpr std::array<uint8_t, 66> kTable1 = makeTable(kTable1Initial);
constexpr std::array<uint8_t, 66> kTable2 = makeTable2();

}  // namespace

int initialPosition(int n) { return n >= 2 && n <= 20 ? n - 1 : 0; }

int medialPosition(int n) {
  if (n >= 3 && n <= 7) return n - 2;
  if (n >= 10 && n <= 15) return n - 4;
  if (n >= 18 && n <= 23) return n - 6;
  if (n >= 26 && n <= 29) return n - 8;
  return 0;
}

int finalPosition(int n) {
  if (n >= 2 && n <= 17) return n - 1;
  if (n >= 19 && n <= 29) return n - 2;
  return 0;
}

JamoPositions splitSyllable(uint16_t code) {
  return {initialPosition(code >> 10 & 31), medialPosition(code >> 5 & 31), finalPosition(code & 31)};
}

uint16_t syllableCode(int initial, int medial, int final) {
  int i = initial >= 1 && initial <= 19 ? initial + 1 : 1;
  int m = 2;
  if (medial >= 1 && medial <= 5) m = medial + 2;
  else if (medial >= 6 && medial <= 11) m = medial + 4;
  else if (medial >= 12 && medial <= 17) m = medial + 6;
  else if (medial >= 18 && medial <= 21) m = medial + 8;
  int f = 1;
  if (final >= 1 && final <= 16) f = final + 1;
  else if (final >= 17 && final <= 27) f = final + 2;
  return static_cast<uint16_t>(0x8000 | i << 10 | m << 5 | f);
}

uint16_t syllableCodeOfUnicodeIndex(int index) {
  return syllableCode(index / (21 * 28) + 1, index / 28 % 21 + 1, index % 28);
}

const uint8_t* builtinCompositionTable(int number) {
  switch (number) {
    case 0: return kTable0.data();
    case 1: return kTable1.data();
    case 2: return kTable2.data();
    default: return nullptr;
  }
}

GlyphSets chooseSets(const uint8_t* table, const JamoPositions& p) {
  GlyphSets s;
  bool hasFinal = p.final != 0;
  s.final = table[44 + p.medial];
  uint8_t m = table[22 + p.initial];
  s.medial = hasFinal ? m >> 4 : m & 15;
  uint8_t i = table[p.medial];
  s.initial = hasFinal ? i >> 4 : i & 15;
  if (p.medial == 0 && !hasFinal) s.initial = 0;
  return s;
}

int composedRowBytes(int cellWidth) { return (cellWidth + 15) / 16 * 2; }

bool composeSyllable(uint16_t code, const fonts::FontHeader& font, std::span<uint8_t> cell) {
  if (font.cellWidth <= 0 || font.cellWidth % 8 != 0 || font.cellHeight <= 0 || font.cellWidth > 256 ||
      font.cellHeight > 256 || font.glyphs == nullptr)
    return false;
  const int glyphRowBytes = font.cellWidth / 8;
  const int glyphBytes = glyphRowBytes * font.cellHeight;
  if (font.glyphBytes != glyphBytes) return false;
  const int rowBytes = composedRowBytes(font.cellWidth);
  if (cell.size() < static_cast<size_t>(rowBytes) * font.cellHeight) return false;
  const uint8_t* table =
      font.composedFlag == 3 ? font.compositionTable : builtinCompositionTable(font.composedFlag);
  if (table == nullptr) return false;

  const JamoPositions parts = splitSyllable(code);
  const GlyphSets sets = chooseSets(table, parts);
  std::fill(cell.begin(), cell.begin() + rowBytes * font.cellHeight, uint8_t{0xFF});

  auto andGlyph = [&](int glyph) {
    const uint8_t* g = font.glyphs + static_cast<size_t>(glyph) * glyphBytes;
    for (int row = 0; row < font.cellHeight; ++row)
      for (int b = 0; b < glyphRowBytes; ++b) cell[row * rowBytes + b] &= g[row * glyphRowBytes + b];
  };
  const int initialGlyphs = font.initialSets * kInitialCount;
  const int medialGlyphs = font.medialSets * kMedialCount;
  if (parts.initial != 0 && sets.initial < font.initialSets) andGlyph(sets.initial * kInitialCount + parts.initial - 1);
  if (parts.medial != 0 && sets.medial < font.medialSets)
    andGlyph(initialGlyphs + sets.medial * kMedialCount + parts.medial - 1);
  if (parts.final != 0 && sets.final < font.finalSets)
    andGlyph(initialGlyphs + medialGlyphs + sets.final * kFinalCount + parts.final - 1);
  return true;
}

}  // namespace kesta::hangul
