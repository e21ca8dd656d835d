// Small helpers shared by the converter's tests.
#pragma once

#include <cstdint>
#include <string>

#include "xlat/xlat.h"

namespace kesta::xlat::test {

inline std::string bytes2(std::uint16_t c) {
  return std::string{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
}

inline std::string utf8(char32_t u) {
  std::string s;
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | u >> 6);
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | u >> 12);
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
  return s;
}

// Converts a copy of text in place with the given room (default: plenty).
inline std::string inPlace(int from, int to, const std::string& text, std::size_t capacity = 0) {
  if (capacity == 0) capacity = text.size() * 3 + 8;
  std::string buf(capacity, '\0');
  text.copy(buf.data(), text.size());
  std::size_t n = convertInPlace(from, to, buf.data(), capacity);
  return buf.substr(0, n);
}

// A syllable's johab code from its Unicode jamo indices.
inline std::uint16_t johabSyllable(unsigned s) { return unicodeToJohab(0xAC00 + s); }

}  // namespace kesta::xlat::test
