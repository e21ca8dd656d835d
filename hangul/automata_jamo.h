// Jamo numbers of the combination code, by the letter's name.
#pragma once

#include <cstdint>

namespace kesta::hangul::jamo {

// Initial consonants.
namespace ini {
inline constexpr uint16_t Fill = 1;
inline constexpr uint16_t G = 2;    // ㄱ
inline constexpr uint16_t GG = 3;   // ㄲ
inline constexpr uint16_t N = 4;    // ㄴ
inline constexpr uint16_t D = 5;    // ㄷ
inline constexpr uint16_t DD = 6;   // ㄸ
inline constexpr uint16_t R = 7;    // ㄹ
inline constexpr uint16_t M = 8;    // ㅁ
inline constexpr uint16_t B = 9;    // ㅂ
inline constexpr uint16_t BB = 10;  // ㅃ
inline constexpr uint16_t S = 11;   // ㅅ
inline constexpr uint16_t SS = 12;  // ㅆ
inline constexpr uint16_t NG = 13;  // ㅇ
inline constexpr uint16_t J = 14;   // ㅈ
inline constexpr uint16_t JJ = 15;  // ㅉ
inline constexpr uint16_t CH = 16;  // ㅊ
inline constexpr uint16_t K = 17;   // ㅋ
inline constexpr uint16_t T = 18;   // ㅌ
inline constexpr uint16_t P = 19;   // ㅍ
inline constexpr uint16_t H = 20;   // ㅎ
}  // namespace ini

// Medial vowels.
namespace med {
inline constexpr uint16_t Fill = 2;
inline constexpr uint16_t A = 3;     // ㅏ
inline constexpr uint16_t AE = 4;    // ㅐ
inline constexpr uint16_t YA = 5;    // ㅑ
inline constexpr uint16_t YAE = 6;   // ㅒ
inline constexpr uint16_t EO = 7;    // ㅓ
inline constexpr uint16_t E = 10;    // ㅔ
inline constexpr uint16_t YEO = 11;  // ㅕ
inline constexpr uint16_t YE = 12;   // ㅖ
inline constexpr uint16_t O = 13;    // ㅗ
inline constexpr uint16_t WA = 14;   // ㅘ
inline constexpr uint16_t WAE = 15;  // ㅙ
inline constexpr uint16_t OE = 18;   // ㅚ
inline constexpr uint16_t YO = 19;   // ㅛ
inline constexpr uint16_t U = 20;    // ㅜ
inline constexpr uint16_t WO = 21;   // ㅝ
inline constexpr uint16_t WE = 22;   // ㅞ
inline constexpr uint16_t WI = 23;   // ㅟ
inline constexpr uint16_t YU = 26;   // ㅠ
inline constexpr uint16_t EU = 27;   // ㅡ
inline constexpr uint16_t UI = 28;   // ㅢ
inline constexpr uint16_t I = 29;    // ㅣ
}  // namespace med

// Final consonants.
namespace fin {
inline constexpr uint16_t Fill = 1;
inline constexpr uint16_t G = 2;    // ㄱ
inline constexpr uint16_t GG = 3;   // ㄲ
inline constexpr uint16_t GS = 4;   // ㄳ
inline constexpr uint16_t N = 5;    // ㄴ
inline constexpr uint16_t NJ = 6;   // ㄵ
inline constexpr uint16_t NH = 7;   // ㄶ
inline constexpr uint16_t D = 8;    // ㄷ
inline constexpr uint16_t L = 9;    // ㄹ
inline constexpr uint16_t LG = 10;  // ㄺ
inline constexpr uint16_t LM = 11;  // ㄻ
inline constexpr uint16_t LB = 12;  // ㄼ
inline constexpr uint16_t LS = 13;  // ㄽ
inline constexpr uint16_t LT = 14;  // ㄾ
inline constexpr uint16_t LP = 15;  // ㄿ
inline constexpr uint16_t LH = 16;  // ㅀ
inline constexpr uint16_t M = 17;   // ㅁ
inline constexpr uint16_t B = 19;   // ㅂ
inline constexpr uint16_t BS = 20;  // ㅄ
inline constexpr uint16_t S = 21;   // ㅅ
inline constexpr uint16_t SS = 22;  // ㅆ
inline constexpr uint16_t NG = 23;  // ㅇ
inline constexpr uint16_t J = 24;   // ㅈ
inline constexpr uint16_t CH = 25;  // ㅊ
inline constexpr uint16_t K = 26;   // ㅋ
inline constexpr uint16_t T = 27;   // ㅌ
inline constexpr uint16_t P = 28;   // ㅍ
inline constexpr uint16_t H = 29;   // ㅎ
}  // namespace fin

}  // namespace kesta::hangul::jamo
