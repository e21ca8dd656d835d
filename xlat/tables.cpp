#include "xlat/tables.h"

#include <memory>

#include "xlat/xlat.h"

namespace kesta::xlat::detail {

namespace {

const std::uint16_t kKsx1001ToUnicode[94 * 94] = {
#include "xlat/ksx1001_unicode.inc"
};

// Johab jamo numbers by the Unicode jamo order (initial 0..18, medial
// 0..20, final 0..27 with 0 for none). Johab leaves gaps in the medials and
// one in the finals.
constexpr std::uint8_t kJohabMedial[21] = {3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 18, 19, 20, 21, 22, 23, 26, 27, 28, 29};
constexpr std::uint8_t kJohabFinal[28] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
// The reverse, -1 where a johab number means nothing.
constexpr std::int8_t kMedialIndex[32] = {-1, -1, -2, 0, 1, 2, 3, 4, -1, -1, 5, 6, 7, 8, 9, 10,
                                          -1, -1, 11, 12, 13, 14, 15, 16, -1, -1, 17, 18, 19, 20, -1, -1};  // -2: fill
constexpr std::int8_t kFinalIndex[32] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                                         15, 16, -1, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, -1, -1};

// The 1987 KS combination code: initial fill 9 and ㄱ..ㅎ 10..28; medial fill 1
// and the vowels below (a gap before every fourth); final fill 1 and ㄱ..ㅎ
// 2..28 without gaps.
constexpr std::uint8_t kKs1987Medial[21] = {2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 17, 18, 19, 21, 22, 23, 25, 26, 27, 29};

// The compatibility jamo U+3131..U+314E as johab partial syllables: an
// initial where the letter can begin a syllable, else a final.
constexpr std::uint16_t partial(unsigned i, unsigned m, unsigned f) { return 0x8000 | i << 10 | m << 5 | f; }
constexpr std::uint16_t kCompatConsonant[30] = {
    partial(2, 2, 1),  partial(3, 2, 1),  partial(1, 2, 4),  partial(4, 2, 1),  partial(1, 2, 6),  partial(1, 2, 7),
    partial(5, 2, 1),  partial(6, 2, 1),  partial(7, 2, 1),  partial(1, 2, 10), partial(1, 2, 11), partial(1, 2, 12),
    partial(1, 2, 13), partial(1, 2, 14), partial(1, 2, 15), partial(1, 2, 16), partial(8, 2, 1),  partial(9, 2, 1),
    partial(10, 2, 1), partial(1, 2, 20), partial(11, 2, 1), partial(12, 2, 1), partial(13, 2, 1), partial(14, 2, 1),
    partial(15, 2, 1), partial(16, 2, 1), partial(17, 2, 1), partial(18, 2, 1), partial(19, 2, 1), partial(20, 2, 1)};

std::uint16_t syllableToJohab(unsigned index) {  // index 0..11171 from U+AC00
  unsigned i = index / 588, m = index / 28 % 21, f = index % 28;
  return partial(i + 2, kJohabMedial[m], kJohabFinal[f]);
}

std::uint16_t compatJamoToJohab(char32_t c) {  // U+3131..U+3163
  if (c >= 0x3131 && c <= 0x314E) return kCompatConsonant[c - 0x3131];
  if (c >= 0x314F && c <= 0x3163) return partial(1, kJohabMedial[c - 0x314F], 1);
  return 0;
}

void build(Tables& t) {
  // KS X 1001: Hangul and jamo by arithmetic, symbols and Hanja by rows.
  bool inKs[11172] = {};
  for (unsigned r = 0; r < 94; ++r) {
    for (unsigned c = 0; c < 94; ++c) {
      char32_t u = kKsx1001ToUnicode[r * 94 + c];
      if (u == 0) continue;
      std::uint16_t ks = static_cast<std::uint16_t>((0xA1 + r) << 8 | (0xA1 + c));
      std::uint16_t johab;
      if (u >= 0xAC00 && u <= 0xD7A3) {
        johab = syllableToJohab(u - 0xAC00);
        inKs[u - 0xAC00] = true;
      } else if (u >= 0x3131 && u <= 0x3163) {
        johab = compatJamoToJohab(u);
      } else {
        johab = ksSymbolToJohab(ks);
      }
      t.unicodeToKs[u] = ks;
      if (johab == 0) continue;
      t.cp949ToJohab[ks] = johab;
      t.johabToCp949[johab] = ks;
    }
  }
  // The code page's further syllables fill 0x8141.. in syllable order:
  // leads 0x81..0xA0 take trails A-Z, a-z and 0x81..0xFE; leads 0xA1..0xC6
  // take A-Z, a-z and 0x81..0xA0.
  unsigned lead = 0x81, trail = 0x41;
  for (unsigned s = 0; s < 11172; ++s) {
    if (inKs[s]) continue;
    std::uint16_t code = static_cast<std::uint16_t>(lead << 8 | trail);
    std::uint16_t johab = syllableToJohab(s);
    t.cp949ToJohab[code] = johab;
    t.johabToCp949[johab] = code;
    unsigned lastTrail = lead < 0xA1 ? 0xFE : 0xA0;
    if (trail == 0x5A) trail = 0x61;
    else if (trail == 0x7A) trail = 0x81;
    else if (trail == lastTrail) { ++lead; trail = 0x41; }
    else ++trail;
  }
  // Johab spellings with no code of their own in KS X 1001: the all-fill
  // syllable is the Hangul filler, and the symbol-area cells of the modern
  // jamo stand for the jamo.
  t.johabToCp949[partial(1, 2, 1)] = 0xA4D4;
  for (unsigned c = 0xA1; c <= 0xD3; ++c) t.johabToCp949[ksSymbolToJohab(0xA400 | c)] = static_cast<std::uint16_t>(0xA400 | c);
}

}  // namespace

const Tables& tables() {
  static const std::unique_ptr<Tables> instance = [] {
    auto t = std::make_unique<Tables>();
    build(*t);
    return t;
  }();
  return *instance;
}

bool isJohabHangul(std::uint16_t c) {
  if (!(c & 0x8000)) return false;
  unsigned i = initialOf(c);
  return i >= 1 && i <= 20 && kMedialIndex[medialOf(c)] != -1 && kFinalIndex[finalOf(c)] != -1;
}

bool isJohabSymbolArea(std::uint16_t c) {
  unsigned lead = c >> 8, trail = c & 0xFF;
  bool leadOk = (lead >= 0xD8 && lead <= 0xDE) || (lead >= 0xE0 && lead <= 0xF9);
  bool trailOk = (trail >= 0x31 && trail <= 0x7E) || (trail >= 0x91 && trail <= 0xFE);
  return leadOk && trailOk;
}

// Each johab lead of the symbol and Hanja areas holds two KS X 1001 rows: the
// first row's 94 cells in trails 0x31..0x7E and 0x91..0xA0, the second's in
// 0xA1..0xFE.
std::uint16_t ksSymbolToJohab(std::uint16_t ks) {
  unsigned r = ks >> 8, c = ks & 0xFF;
  if (c < 0xA1 || c > 0xFE) return 0;
  unsigned lead, first;
  if (r >= 0xA1 && r <= 0xAC) { lead = 0xD9 + (r - 0xA1) / 2; first = 0xA1; }
  else if (r >= 0xCA && r <= 0xFD) { lead = 0xE0 + (r - 0xCA) / 2; first = 0xCA; }
  else return 0;
  bool second = ((r - first) & 1) != 0;
  unsigned trail = second ? c : (c <= 0xEE ? c - 0x70 : c - 0x5E);
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

std::uint16_t johabSymbolToKs(std::uint16_t johab) {
  if (!isJohabSymbolArea(johab)) return 0;
  unsigned lead = johab >> 8, trail = johab & 0xFF;
  unsigned firstRow;
  if (lead >= 0xD9 && lead <= 0xDE) firstRow = 0xA1 + (lead - 0xD9) * 2;
  else if (lead >= 0xE0 && lead <= 0xF9) firstRow = 0xCA + (lead - 0xE0) * 2;
  else return 0;  // 0xD8: user-defined, no KS X 1001 counterpart
  unsigned r, c;
  if (trail >= 0xA1) { r = firstRow + 1; c = trail; }
  else if (trail >= 0x91) { r = firstRow; c = trail + 0x5E; }
  else { r = firstRow; c = trail + 0x70; }
  return static_cast<std::uint16_t>(r << 8 | c);
}

}  // namespace kesta::xlat::detail

namespace kesta::xlat {

using namespace detail;

std::uint16_t johabToCp949(std::uint16_t johab) { return johab < 0x80 ? johab : tables().johabToCp949[johab]; }
std::uint16_t cp949ToJohab(std::uint16_t cp949) { return cp949 < 0x80 ? cp949 : tables().cp949ToJohab[cp949]; }

char32_t johabToUnicode(std::uint16_t johab) {
  if (johab < 0x80) return johab;
  if (isJohabHangul(johab)) {
    unsigned i = initialOf(johab);
    int m = kMedialIndex[medialOf(johab)];
    int f = kFinalIndex[finalOf(johab)];
    if (i >= 2 && m >= 0) return 0xAC00 + ((i - 2) * 21 + m) * 28 + f;
    // Partial syllables: one letter alone is a compatibility jamo.
    if (i == 1 && m == -2 && f == 0) return 0x3164;
    if (i == 1 && m >= 0 && f == 0) return 0x314F + m;
    for (unsigned k = 0; k < 30; ++k) {
      if (kCompatConsonant[k] == johab) return 0x3131 + k;
    }
    return 0;
  }
  std::uint16_t ks = johabToCp949(johab);
  if (ks < 0xA1A1 || (ks & 0xFF) < 0xA1) return 0;
  return kKsx1001ToUnicode[((ks >> 8) - 0xA1) * 94 + (ks & 0xFF) - 0xA1];
}

int johabToUnicodeLetters(std::uint16_t johab, char32_t letters[3]) {
  // Compatibility letters of the initials (johab 2..20) and finals (index 1..27).
  static constexpr char16_t kInitialLetter[19] = {0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141,
                                                  0x3142, 0x3143, 0x3145, 0x3146, 0x3147, 0x3148, 0x3149,
                                                  0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
  static constexpr char16_t kFinalLetter[28] = {0,      0x3131, 0x3132, 0x3133, 0x3134, 0x3135, 0x3136,
                                                0x3137, 0x3139, 0x313A, 0x313B, 0x313C, 0x313D, 0x313E,
                                                0x313F, 0x3140, 0x3141, 0x3142, 0x3144, 0x3145, 0x3146,
                                                0x3147, 0x3148, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
  if (!isJohabHangul(johab)) return 0;
  if (char32_t whole = johabToUnicode(johab)) {
    letters[0] = whole;
    return 1;
  }
  unsigned i = initialOf(johab);
  int m = kMedialIndex[medialOf(johab)];
  int f = kFinalIndex[finalOf(johab)];
  int n = 0;
  if (i >= 2) letters[n++] = kInitialLetter[i - 2];
  if (m >= 0) letters[n++] = 0x314F + static_cast<char32_t>(m);
  if (f > 0) letters[n++] = kFinalLetter[f];
  return n;
}

std::uint16_t unicodeToJohab(char32_t c) {
  if (c < 0x80) return static_cast<std::uint16_t>(c);
  if (c >= 0xAC00 && c <= 0xD7A3) return syllableToJohab(c - 0xAC00);
  if (c >= 0x3131 && c <= 0x3163) return compatJamoToJohab(c);
  if (c > 0xFFFF) return 0;
  std::uint16_t ks = tables().unicodeToKs[c];
  return ks ? cp949ToJohab(ks) : 0;
}

std::uint16_t johabToKs1987(std::uint16_t johab) {
  if (!isJohabHangul(johab)) return 0;
  unsigned i = initialOf(johab) + 8;
  int m = kMedialIndex[medialOf(johab)];
  unsigned medial = m == -2 ? 1 : kKs1987Medial[m];
  unsigned f = static_cast<unsigned>(kFinalIndex[finalOf(johab)]) + 1;
  return static_cast<std::uint16_t>(0x8000 | i << 10 | medial << 5 | f);
}

std::uint16_t ks1987ToJohab(std::uint16_t code) {
  if (code < 0xA421 || code > 0xF3BC) return 0;
  unsigned i = initialOf(code), medial = medialOf(code), f = finalOf(code);
  if (i < 9 || i > 28 || f < 1 || f > 28) return 0;
  unsigned jm;
  if (medial == 1) {
    jm = 2;
  } else {
    int m = -1;
    for (int k = 0; k < 21; ++k) {
      if (kKs1987Medial[k] == medial) m = k;
    }
    if (m < 0) return 0;
    jm = kJohabMedial[m];
  }
  return partial(i - 8, jm, kJohabFinal[f - 1]);
}

}  // namespace kesta::xlat
