// Texts in the internal code cut to a byte limit at a character boundary:
// a two-byte character that would not fit whole is left out, never split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::shell {

// The edits' limits: 79 bytes for the modem command and the head and tail
// texts, 99 for names, numbers, paths, macros and auto-response texts.
inline constexpr std::size_t kShortTextLimit = 79;
inline constexpr std::size_t kTextLimit = 99;

// At most `maxBytes` bytes of `text` (up to its first NUL), walked from the
// start so that a byte of 0x80 or above always begins a two-byte character.
std::string cutAtCharacter(std::string_view text, std::size_t maxBytes);

}  // namespace kesta::shell
