// Names in the store are matched by a key (the sum of the upper-cased name's
// bytes, each a signed 8-bit value) and then compared without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::fonts {

// Upper-cases ASCII a-z in place (up to NUL or `capacity` bytes) and returns
// the key of the result.
int32_t upperCaseAndKey(char* name, size_t capacity);
// The key of a name without changing it (the key of its upper-cased form).
int32_t nameKey(const char* name, size_t capacity);
// Equal without regard to ASCII case, each side ending at NUL or capacity.
bool namesEqualNoCase(const char* a, size_t capacityA, const char* b, size_t capacityB);

}  // namespace kesta::fonts
