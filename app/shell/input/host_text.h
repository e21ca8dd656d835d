// Text in the internal code converted to the host's code, whole, for texts
// that leave by Send (chat lines with their head and tail, macros).
#pragma once

#include <string>
#include <string_view>

#include "app/shell/input/character_processor.h"

namespace kesta::shell {

// The converter is given room for the longest result: UTF-8 takes up to
// three bytes for each letter of a two-byte code, 7-bit code its shifts.
std::string toHostCode(std::string_view internal, int hostCode, SendConverter convert);

// Screen text (selected or clicked) in the grid code, for sending: the grid
// holds the host's own bytes except for a UTF-8 host, whose text the grid
// keeps in the internal code.
std::string gridToHostCode(std::string_view grid, int gridCode, int hostCode, SendConverter convert);

// The clipboard's two texts for screen text in the grid code: the Unicode
// text as UTF-8, and the bytes for CF_TEXT (the grid's own bytes, as they
// always were; code page 949 for a UTF-8 host, whose grid is internal code).
std::string gridToUtf8(std::string_view grid, int gridCode, SendConverter convert);
std::string gridToClipboardBytes(std::string_view grid, int gridCode, int hostCode, SendConverter convert);

// Unicode text from the clipboard (as UTF-8) in the host's code, through
// the internal code (a UTF-8 host takes it unchanged).
std::string utf8ToHostCode(std::string_view utf8, int hostCode, SendConverter convert);

}  // namespace kesta::shell
