// Rules for the byte blocks the edit controls keep and hand out: when a text
// block grows, how much of a caller's block is text, and the bounded copies
// of EM_GETLINE and WM_GETTEXT, which never split a two-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace kesta::controls {

inline constexpr size_t kMinimumCapacity = 1025;  // 1024 bytes of text and a NUL
inline constexpr size_t kGrowthStep = 512;

// The capacity a block needs to hold `length` bytes of text with room for one
// more two-byte character, a byte and the NUL; `capacity` when that fits.
size_t capacityFor(size_t length, size_t capacity);

// The text length of a handed-in block of `size` bytes: up to its first NUL,
// else size - 1 (the caller then writes a NUL into the last byte). 0 for an empty block.
size_t textInBlock(const char* block, size_t size);

// The longest prefix of `text`, at most `room` bytes, that ends on a
// character boundary (scanning forward from the start).
size_t wholeCharacters(std::string_view text, size_t room);

// EM_GETLINE: copies `line` to `out` (whose first bytes held the size, already
// read as `size`): at most size - 1 bytes ending on a boundary and a NUL.
// Returns the bytes copied (the NUL not counted); nothing for a size of 0.
size_t copyLine(std::string_view line, char* out, size_t size);

}  // namespace kesta::controls
