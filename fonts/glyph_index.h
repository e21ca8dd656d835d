// Glyph numbers of the two-byte blocks that are stored glyph by glyph in
// code order: the KSSM special characters (leads 0xD9-0xDE, 1,053 glyphs)
// and the Hanja (leads 0xE0-0xF9, 188 codes a lead). Second bytes run
// 0x31-0x7E and 0x91-0xFE.
#pragma once

#include <cstdint>

namespace kesta::fonts {

// The glyph number, or -1 when the code is outside the block.
int kssmGlyphIndex(uint8_t lead, uint8_t second);
int hanjaGlyphIndex(uint8_t lead, uint8_t second);

}  // namespace kesta::fonts
