// Text in the internal code converted to the host's code, whole, for texts
// that leave by Send (chat lines with their head and tail, macros).
#pragma once

#include <string>
#include <string_view>

#include "app/shell/character_processor.h"

namespace kesta::shell {

// The converter never makes text longer than twice its size plus the shift
// bytes of the 7-bit code, and it is given that much room.
std::string toHostCode(std::string_view internal, int hostCode, SendConverter convert);

}  // namespace kesta::shell
