// The conversion tables behind the per-character functions of xlat.h, built
// once on first use (the code page 949 and Unicode tables come from the
// KS X 1001 table and the syllable arithmetic; nothing else is stored).
#pragma once

#include <cstdint>

namespace kesta::xlat::detail {

struct Tables {
  std::uint16_t johabToCp949[65536];     // 0: none
  std::uint16_t cp949ToJohab[65536];     // 0: none
  std::uint16_t unicodeToKs[65536];      // BMP to a KS X 1001 code (0xA1A1..0xFEFE), 0: none
};

// The tables, built on the first call (thread-safe).
const Tables& tables();

// Johab jamo fields of a code with bit 15 set.
inline unsigned initialOf(std::uint16_t c) { return (c >> 10) & 0x1F; }
inline unsigned medialOf(std::uint16_t c) { return (c >> 5) & 0x1F; }
inline unsigned finalOf(std::uint16_t c) { return c & 0x1F; }

// True when the code lies in johab's Hangul area with valid jamo fields
// (fills included, so partial syllables count).
bool isJohabHangul(std::uint16_t c);
// True when the code is a two-byte johab code of the symbol and Hanja areas
// (leads 0xD8..0xDE and 0xE0..0xF9, trails 0x31..0x7E and 0x91..0xFE).
bool isJohabSymbolArea(std::uint16_t c);

// KS X 1001 (wansung) rows 0xA1..0xAC and 0xCA..0xFD to and from johab's
// symbol and Hanja areas, by the standard arithmetic; 0 outside them.
std::uint16_t ksSymbolToJohab(std::uint16_t ks);
std::uint16_t johabSymbolToKs(std::uint16_t johab);

}  // namespace kesta::xlat::detail
