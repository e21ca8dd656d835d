// The text of a clipboard block for Paste. A CF_TEXT block is as long as
// the clipboard made it (its text and a NUL, often rounded up), however
// long the text: the text is read up to its NUL but never past the block.
// It goes out in pieces, so no fixed buffer bounds what can be pasted.
#pragma once

#include <cstddef>
#include <string_view>

namespace kesta::shell {

inline constexpr std::size_t kPastePiece = 4096;

std::string_view clipboardText(const char* block, std::size_t blockSize);

// The piece of `text` starting at `offset`, at most `pieceSize` bytes.
std::string_view pieceAt(std::string_view text, std::size_t offset, std::size_t pieceSize = kPastePiece);

}  // namespace kesta::shell
