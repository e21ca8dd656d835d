// Which bytes of a string in the combination code belong to two-byte
// characters: a byte of 0x80 or above begins one, any other byte is a
// one-byte character.
#pragma once

#include <cstddef>

namespace kesta::session {

// 1 when the character at `index` is a two-byte character (index on its
// first byte), 2 when `index` falls on the second byte of one, 0 for a
// one-byte character. The walk starts at the beginning of `text` and never
// reads past `length` bytes; an index at or past the end gives 0.
int IsHangul(const char* text, std::size_t length, std::size_t index);

// True when `byte` begins a two-byte character.
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x80; }

}  // namespace kesta::session
