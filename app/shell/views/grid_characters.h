// Which bytes of a character-grid row belong together. The grid holds the
// bytes as the host sent them, so a row is walked from its start in the
// host's code: a byte of 0x80 or above begins a two-byte character, and
// in the 7-bit code every pair between shift-out and shift-in is one. A
// trail byte may look like a digit or a capital letter (johab trail bytes
// start at 0x31), which is why nothing may judge a byte on its own.
#pragma once

#include <string_view>

namespace kesta::shell {

enum class ByteKind { Single, Lead, Trail };

// The kind of the byte at `column` of `row` in host code `hostCode`; a
// column outside the row is Single.
ByteKind byteKindAt(std::string_view row, int column, int hostCode);

// The first and last column of the character the byte at `column` is part of.
int characterStart(std::string_view row, int column, int hostCode);
int characterEnd(std::string_view row, int column, int hostCode);

}  // namespace kesta::shell
