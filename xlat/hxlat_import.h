// The code conversion as the Windows deliverables reach it: HXLAT32.DLL's
// ordinal 3, imported by ordinal and nothing else. The native builds call
// the neutral converter (xlat/xlat.h) directly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::xlat {

// Converts the NUL-terminated text in place, writing at most capacity bytes
// with the NUL; returns the result's length. Same contract as convertInPlace,
// so it can stand wherever a converter is handed in.
std::size_t convertThroughDll(int fromType, int toType, char* text, std::size_t capacity);

// The same into a new string, never cut.
std::string convertThroughDll(int fromType, int toType, std::string_view text);

}  // namespace kesta::xlat
