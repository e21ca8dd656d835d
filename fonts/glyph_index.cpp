#include "fonts/glyph_index.h"

namespace kesta::fonts {

namespace {

// Where each KSSM lead's glyphs start, and the block's end.
constexpr int kKssmBases[7] = {0, 163, 351, 513, 701, 878, 1053};

// Offset of a second byte within its lead's 188 codes; -1 outside 0x31-0x7E and 0x91-0xFE.
int secondByteOffset(uint8_t second) {
  if (second >= 0x31 && second <= 0x7E) return second - 0x31;
  if (second >= 0x91 && second <= 0xFE) return second - 0x31 - 18;
  return -1;
}

}  // namespace

int kssmGlyphIndex(uint8_t lead, uint8_t second) {
  const int offset = secondByteOffset(second);
  if (lead < 0xD9 || lead > 0xDE || offset < 0) return -1;
  const int glyph = kKssmBases[lead - 0xD9] + offset;
  return glyph < kKssmBases[lead - 0xD9 + 1] ? glyph : -1;
}

int hanjaGlyphIndex(uint8_t lead, uint8_t second) {
  const int offset = secondByteOffset(second);
  if (lead < 0xE0 || lead > 0xF9 || offset < 0) return -1;
  return 188 * (lead - 0xE0) + offset;
}

}  // namespace kesta::fonts
