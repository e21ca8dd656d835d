// Decoders (source code to one character of the internal code) and encoders
// (one character to the target code), combined by the conversion loop of
// convert.cpp. Internal to the converter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xlat/tables.h"
#include "xlat/xlat.h"

namespace kesta::xlat::detail {

// One decoded character.
enum class Kind : std::uint8_t {
  Byte,      // a one-byte character (code < 0x80)
  Johab,     // a two-byte character, code in johab
  Bad1,      // input bytes that are no character: a one-byte substitute (code: how many bytes, 0 for one)
  Bad2,      // two input bytes that are no character: a two-byte substitute
  NoMatch,   // a real character with no johab counterpart: a two-byte substitute
  NoMatch1,  // a narrow character with no johab counterpart: a one-byte substitute
  None,      // consumed bytes that carry no character (shifts, designator)
};

struct Char {
  Kind kind;
  std::uint16_t code;
};

inline bool isCp949Trail(unsigned t) { return (t >= 0x41 && t <= 0x5A) || (t >= 0x61 && t <= 0x7A) || (t >= 0x81 && t <= 0xFE); }

// Every decoder: decode(p, n, atEnd, ch) with n >= 1 returns the bytes taken
// for one character, or 0 when the character is incomplete and more input
// may follow (never when atEnd).

struct JohabDecoder {
  static constexpr bool kAsciiPlain = true;
  std::size_t decode(const std::uint8_t* p, std::size_t n, bool atEnd, Char& ch) {
    if (p[0] < 0x80) { ch = {Kind::Byte, p[0]}; return 1; }
    if (n < 2) {
      if (!atEnd) return 0;
      ch = {Kind::Bad1, 0}; return 1;
    }
    std::uint16_t c = static_cast<std::uint16_t>(p[0] << 8 | p[1]);
    if (isJohabHangul(c) || isJohabSymbolArea(c)) { ch = {Kind::Johab, c}; return 2; }
    ch = {Kind::Bad1, 0};
    return 1;
  }
};

struct Ks1987Decoder {
  static constexpr bool kAsciiPlain = true;
  std::size_t decode(const std::uint8_t* p, std::size_t n, bool atEnd, Char& ch) {
    if (p[0] < 0x80) { ch = {Kind::Byte, p[0]}; return 1; }
    if (n < 2) {
      if (!atEnd) return 0;
      ch = {Kind::Bad1, 0}; return 1;
    }
    std::uint16_t j = ks1987ToJohab(static_cast<std::uint16_t>(p[0] << 8 | p[1]));
    if (j) { ch = {Kind::Johab, j}; return 2; }
    ch = {Kind::Bad1, 0};
    return 1;
  }
};

struct Cp949Decoder {
  static constexpr bool kAsciiPlain = true;
  const std::uint16_t* toJohab = tables().cp949ToJohab;
  std::size_t decode(const std::uint8_t* p, std::size_t n, bool atEnd, Char& ch) {
    unsigned b = p[0];
    if (b < 0x80) { ch = {Kind::Byte, static_cast<std::uint16_t>(b)}; return 1; }
    if (b == 0x80 || b == 0xFF) { ch = {Kind::Bad1, 0}; return 1; }
    if (n < 2) {
      if (!atEnd) return 0;
      ch = {Kind::Bad1, 0}; return 1;
    }
    if (!isCp949Trail(p[1])) { ch = {Kind::Bad1, 0}; return 1; }
    std::uint16_t j = toJohab[b << 8 | p[1]];
    ch = j ? Char{Kind::Johab, j} : Char{Kind::Bad2, 0};
    return 2;
  }
};

// Seven bits: SO (0x0E) enters double-byte mode, SI (0x0F) leaves it; the
// designator ESC $ ) C is taken and dropped. A line end also leaves it.
struct SevenBitDecoder {
  static constexpr bool kAsciiPlain = false;
  bool shifted = false;
  std::size_t decode(const std::uint8_t* p, std::size_t n, bool atEnd, Char& ch) {
    static constexpr std::uint8_t kDesignator[4] = {0x1B, '$', ')', 'C'};
    unsigned b = p[0];
    if (b == 0x1B) {
      std::size_t k = 0;
      while (k < 4 && k < n && p[k] == kDesignator[k]) ++k;
      if (k == 4) { ch = {Kind::None, 0}; return 4; }
      if (k == n && !atEnd) return 0;
      ch = {Kind::Byte, 0x1B};
      return 1;
    }
    if (b == 0x0E) { shifted = true; ch = {Kind::None, 0}; return 1; }
    if (b == 0x0F) { shifted = false; ch = {Kind::None, 0}; return 1; }
    if (b >= 0x80) { ch = {Kind::Bad1, 0}; return 1; }
    if (!shifted || b <= 0x20 || b == 0x7F) {
      if (b == '\n' || b == '\r') shifted = false;
      ch = {Kind::Byte, static_cast<std::uint16_t>(b)};
      return 1;
    }
    if (n < 2) {
      if (!atEnd) return 0;
      ch = {Kind::Bad1, 0}; return 1;
    }
    unsigned t = p[1];
    if (t < 0x21 || t > 0x7E) { ch = {Kind::Bad1, 0}; return 1; }
    std::uint16_t j = tables().cp949ToJohab[(b | 0x80) << 8 | (t | 0x80)];
    ch = j ? Char{Kind::Johab, j} : Char{Kind::Bad2, 0};
    return 2;
  }
};

// Narrow characters take one cell on a terminal, wide ones two: a character
// without an internal code is replaced by a substitute of its own width.
inline bool isWideCharacter(char32_t u) {
  if (u < 0x1100) return false;
  if (u >= 0xFF61 && u <= 0xFFDC) return false;  // half-width forms
  if (u >= 0xFFE8 && u <= 0xFFEE) return false;
  return true;
}

// Malformed input (a byte that begins no sequence, a sequence cut short,
// overlong forms, surrogates, values past U+10FFFF) becomes one substitute
// for each maximal part of a sequence that could still have been valid, and
// the byte that broke it is read again as the start of the next character.
struct Utf8Decoder {
  static constexpr bool kAsciiPlain = true;
  std::size_t decode(const std::uint8_t* p, std::size_t n, bool atEnd, Char& ch) {
    unsigned b = p[0];
    if (b < 0x80) { ch = {Kind::Byte, static_cast<std::uint16_t>(b)}; return 1; }
    std::size_t len;
    char32_t u;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) { len = 2; u = b & 0x1F; }
    else if (b >= 0xE0 && b <= 0xEF) {
      len = 3; u = b & 0x0F;
      if (b == 0xE0) low = 0xA0;        // overlong
      else if (b == 0xED) high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4; u = b & 0x07;
      if (b == 0xF0) low = 0x90;        // overlong
      else if (b == 0xF4) high = 0x8F;  // past U+10FFFF
    } else { ch = {Kind::Bad1, 0}; return 1; }
    for (std::size_t k = 1; k < len; ++k) {
      if (k >= n) {
        if (!atEnd) return 0;
        ch = {Kind::Bad1, static_cast<std::uint16_t>(k)}; return k;
      }
      unsigned c = p[k];
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) {
        ch = {Kind::Bad1, static_cast<std::uint16_t>(k)};
        return k;
      }
      u = u << 6 | (c & 0x3F);
    }
    std::uint16_t j = unicodeToJohab(u);
    if (j) ch = {Kind::Johab, j};
    else ch = {isWideCharacter(u) ? Kind::NoMatch : Kind::NoMatch1, 0};
    return len;
  }
};

// Every encoder: encode(ch, out, room, subs) writes one character and returns
// its length, or -1 when it does not fit in room (nothing written then).
// finish(out) ends the output (room for it is always kept back).

inline void countSubstitute(const Char& ch, Substitutions& subs) {
  if (ch.kind == Kind::Bad1) subs.badInput += ch.code > 1 ? ch.code : 1;
  else if (ch.kind == Kind::Bad2) subs.badInput += 2;
  else subs.unmappable += 1;
}

inline int put2(std::uint16_t c, std::uint8_t* out, std::size_t room) {
  if (room < 2) return -1;
  out[0] = static_cast<std::uint8_t>(c >> 8);
  out[1] = static_cast<std::uint8_t>(c);
  return 2;
}

inline int putSubstituteByte(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
  if (room < 1) return -1;
  out[0] = kSubstituteByte;
  countSubstitute(ch, subs);
  return 1;
}

struct JohabEncoder {
  static constexpr bool kAsciiPlain = true;
  int encode(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
    switch (ch.kind) {
      case Kind::Byte:
        if (room < 1) return -1;
        out[0] = static_cast<std::uint8_t>(ch.code);
        return 1;
      case Kind::Johab: return put2(ch.code, out, room);
      case Kind::None: return 0;
      case Kind::Bad1: case Kind::NoMatch1: return putSubstituteByte(ch, out, room, subs);
      default: {
        int k = put2(kSubstituteJohab, out, room);
        if (k > 0) countSubstitute(ch, subs);
        return k;
      }
    }
  }
  int finish(std::uint8_t*) { return 0; }
};

struct Ks1987Encoder {
  static constexpr bool kAsciiPlain = true;
  int encode(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
    switch (ch.kind) {
      case Kind::Byte:
        if (room < 1) return -1;
        out[0] = static_cast<std::uint8_t>(ch.code);
        return 1;
      case Kind::None: return 0;
      case Kind::Bad1: case Kind::NoMatch1: return putSubstituteByte(ch, out, room, subs);
      case Kind::Johab:
        if (std::uint16_t c = johabToKs1987(ch.code)) return put2(c, out, room);
        [[fallthrough]];
      default:
        if (room < 2) return -1;
        out[0] = out[1] = kSubstituteByte;
        countSubstitute(ch.kind == Kind::Johab ? Char{Kind::NoMatch, 0} : ch, subs);
        return 2;
    }
  }
  int finish(std::uint8_t*) { return 0; }
};

struct Cp949Encoder {
  static constexpr bool kAsciiPlain = true;
  const std::uint16_t* toCp949 = tables().johabToCp949;
  int encode(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
    switch (ch.kind) {
      case Kind::Byte:
        if (room < 1) return -1;
        out[0] = static_cast<std::uint8_t>(ch.code);
        return 1;
      case Kind::None: return 0;
      case Kind::Bad1: case Kind::NoMatch1: return putSubstituteByte(ch, out, room, subs);
      case Kind::Johab:
        if (std::uint16_t c = toCp949[ch.code]) return put2(c, out, room);
        [[fallthrough]];
      default: {
        int k = put2(kSubstituteCp949, out, room);
        if (k > 0) countSubstitute(ch.kind == Kind::Johab ? Char{Kind::NoMatch, 0} : ch, subs);
        return k;
      }
    }
  }
  int finish(std::uint8_t*) { return 0; }
};

// Keeps one byte back while shifted, so that the closing SI always fits.
struct SevenBitEncoder {
  static constexpr bool kAsciiPlain = false;
  bool shifted = false;
  int encode(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
    std::uint16_t ks = 0;
    switch (ch.kind) {
      case Kind::None: return 0;
      case Kind::Byte: return single(static_cast<std::uint8_t>(ch.code), out, room);
      case Kind::Bad1: case Kind::NoMatch1: {
        int k = single(kSubstituteByte, out, room);
        if (k > 0) countSubstitute(ch, subs);
        return k;
      }
      case Kind::Johab:
        ks = tables().johabToCp949[ch.code];
        if (ks >= 0xA1A1 && (ks & 0xFF) >= 0xA1) break;
        ks = 0;
        break;
      default: break;
    }
    std::size_t need = (shifted ? 0 : 1) + 2 + 1;
    if (room < need) return -1;
    int k = 0;
    if (!shifted) { out[k++] = 0x0E; shifted = true; }
    if (ks == 0) {
      countSubstitute(ch.kind == Kind::Johab ? Char{Kind::NoMatch, 0} : ch, subs);
      ks = kSubstituteCp949;
    }
    out[k++] = static_cast<std::uint8_t>((ks >> 8) & 0x7F);
    out[k++] = static_cast<std::uint8_t>(ks & 0x7F);
    return k;
  }
  int single(std::uint8_t b, std::uint8_t* out, std::size_t room) {
    if (!shifted) {
      if (room < 1) return -1;
      out[0] = b;
      return 1;
    }
    if (room < 2) return -1;
    out[0] = 0x0F;
    out[1] = b;
    shifted = false;
    return 2;
  }
  int finish(std::uint8_t* out) {
    if (!shifted) return 0;
    out[0] = 0x0F;
    shifted = false;
    return 1;
  }
};

inline int putUtf8(char32_t u, std::uint8_t* out, std::size_t room) {
  if (u < 0x80) {
    if (room < 1) return -1;
    out[0] = static_cast<std::uint8_t>(u);
    return 1;
  }
  if (u < 0x800) {
    if (room < 2) return -1;
    out[0] = static_cast<std::uint8_t>(0xC0 | u >> 6);
    out[1] = static_cast<std::uint8_t>(0x80 | (u & 0x3F));
    return 2;
  }
  if (room < 3) return -1;  // johab reaches only the BMP
  out[0] = static_cast<std::uint8_t>(0xE0 | u >> 12);
  out[1] = static_cast<std::uint8_t>(0x80 | ((u >> 6) & 0x3F));
  out[2] = static_cast<std::uint8_t>(0x80 | (u & 0x3F));
  return 3;
}

struct Utf8Encoder {
  static constexpr bool kAsciiPlain = true;
  int encode(const Char& ch, std::uint8_t* out, std::size_t room, Substitutions& subs) {
    switch (ch.kind) {
      case Kind::None: return 0;
      case Kind::Byte: return putUtf8(ch.code, out, room);
      case Kind::Johab: {
        char32_t letters[3];
        int count = johabToUnicodeLetters(ch.code, letters);
        if (count == 0 && (letters[0] = johabToUnicode(ch.code)) != 0) count = 1;
        if (count > 0) {
          int written = 0;
          for (int k = 0; k < count; ++k) {
            int w = putUtf8(letters[k], out + written, room - static_cast<std::size_t>(written));
            if (w < 0) return -1;
            written += w;
          }
          return written;
        }
        [[fallthrough]];
      }
      default: {
        int k = putUtf8(kSubstituteUnicode, out, room);
        if (k > 0) countSubstitute(ch.kind == Kind::Johab ? Char{Kind::NoMatch, 0} : ch, subs);
        return k;
      }
    }
  }
  int finish(std::uint8_t*) { return 0; }
};

}  // namespace kesta::xlat::detail
