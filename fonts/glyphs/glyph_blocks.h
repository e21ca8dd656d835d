// The generated glyph blocks (tools/fontgen/fontgen.py). Built-in blocks: a
// set bit is paper. Hanja (the bytes of HANJA.FNT): a set bit is ink.
#pragma once

#include <cstdint>

namespace kesta::fonts::glyphs {

inline constexpr int kHangulBlockBytes = 344 * 32;
inline constexpr int kEnglishBlockBytes = 256 * 16;
inline constexpr int kSpecialBlockBytes = 128 * 32;
inline constexpr int kKssmBlockBytes = 1053 * 32;
inline constexpr int kHanjaCount = 4888;
inline constexpr int kHanjaBytes = kHanjaCount * 32;

extern const uint8_t kGlyphsMyungjo[kHangulBlockBytes];
extern const uint8_t kGlyphsGothic[kHangulBlockBytes];
extern const uint8_t kGlyphsPilgi[kHangulBlockBytes];
extern const uint8_t kGlyphsSammool[kHangulBlockBytes];
extern const uint8_t kGlyphsKsSpecial[kSpecialBlockBytes];
extern const uint8_t kGlyphsVaskeloSpecial[kSpecialBlockBytes];
extern const uint8_t kGlyphsRoman[kEnglishBlockBytes];
extern const uint8_t kGlyphsMokraRoman[kEnglishBlockBytes];
extern const uint8_t kGlyphsMokraGothic[kEnglishBlockBytes];
extern const uint8_t kGlyphsEt4000[kEnglishBlockBytes];
extern const uint8_t kGlyphsKssmSpecial[kKssmBlockBytes];

extern const uint8_t kHanjaGlyphs[kHanjaBytes];

}  // namespace kesta::fonts::glyphs
