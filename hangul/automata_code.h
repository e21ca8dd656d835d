// Combination (johab) syllable codes: 0x8000 | initial << 10 | medial << 5 | final,
// with the jamo numbers of KS C 5601-1992. A part may be its fill value.
#pragma once

#include <cstdint>

namespace kesta::hangul {

inline constexpr uint16_t kInitialFill = 1;
inline constexpr uint16_t kMedialFill = 2;
inline constexpr uint16_t kFinalFill = 1;
// The code of a syllable with nothing in it.
inline constexpr uint16_t kEmptyCode = 0x8441;

constexpr uint16_t makeCombinationCode(uint16_t initial, uint16_t medial, uint16_t final) {
  return static_cast<uint16_t>(0x8000 | (initial & 0x1F) << 10 | (medial & 0x1F) << 5 | (final & 0x1F));
}
constexpr uint16_t initialOf(uint16_t code) { return (code >> 10) & 0x1F; }
constexpr uint16_t medialOf(uint16_t code) { return (code >> 5) & 0x1F; }
constexpr uint16_t finalOf(uint16_t code) { return code & 0x1F; }

// Jamo numbers that stand for a letter (the fill included).
constexpr bool isInitialNumber(uint16_t n) { return n >= 1 && n <= 20; }
constexpr bool isMedialNumber(uint16_t n) {
  return (n >= 2 && n <= 7) || (n >= 10 && n <= 15) || (n >= 18 && n <= 23) || (n >= 26 && n <= 29);
}
constexpr bool isFinalNumber(uint16_t n) { return (n >= 1 && n <= 17) || (n >= 19 && n <= 29); }

// A two-byte combination code whose three parts are letters or fills.
constexpr bool isValidCombinationCode(uint16_t code) {
  return (code & 0x8000) != 0 && isInitialNumber(initialOf(code)) && isMedialNumber(medialOf(code)) &&
         isFinalNumber(finalOf(code));
}

}  // namespace kesta::hangul
