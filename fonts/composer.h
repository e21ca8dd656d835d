// Composing a Hangul syllable from the jamo glyphs of a composed font: the
// combination code picks one glyph set per part through a 66-byte
// composition table, and the parts are ANDed into one cell (a set bit is
// paper, so ANDing lays ink over ink).
#pragma once

#include <cstdint>
#include <span>

#include "fonts/font_header.h"

namespace kesta::hangul {

inline constexpr int kInitialCount = 19;
inline constexpr int kMedialCount = 21;
inline constexpr int kFinalCount = 27;
inline constexpr int kCompositionTableBytes = 66;

// 1-based positions of the three parts of a combination code, 0 when absent.
struct JamoPositions {
  int initial = 0;
  int medial = 0;
  int final = 0;
};

int initialPosition(int number);  // 5-bit initial number -> 1..19 or 0
int medialPosition(int number);   // 5-bit medial number  -> 1..21 or 0
int finalPosition(int number);    // 5-bit final number   -> 1..27 or 0
JamoPositions splitSyllable(uint16_t code);

// The reverse: the combination code of three positions (0 = fill).
uint16_t syllableCode(int initial, int medial, int final);
// The combination code of Unicode syllable U+AC00 + index (index < 11172).
uint16_t syllableCodeOfUnicodeIndex(int index);

// Built-in composition tables 0, 1 and 2; null for any other number.
const uint8_t* builtinCompositionTable(int number);

// The glyph sets one syllable uses.
struct GlyphSets {
  int initial = 0;
  int medial = 0;
  int final = 0;
};
GlyphSets chooseSets(const uint8_t* table, const JamoPositions& parts);

// Bytes of one composed row: the cell width padded to 16 bits.
int composedRowBytes(int cellWidth);

// Composes `code` with `font` into `cell` (cellHeight rows of
// composedRowBytes(cellWidth) bytes). Returns false, leaving the cell
// untouched, when the font cannot compose: not a usable cell size, no glyphs,
// an unknown table, or a cell buffer too small. A part whose set is not in
// the font is left out rather than read from beyond the block.
bool composeSyllable(uint16_t code, const fonts::FontHeader& font, std::span<uint8_t> cell);

}  // namespace kesta::hangul
