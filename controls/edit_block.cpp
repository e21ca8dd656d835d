#include "controls/edit_block.h"

#include <algorithm>
#include <cstring>

namespace kesta::controls {

size_t capacityFor(size_t length, size_t capacity) {
  const size_t needed = length + 3 + 1;  // a two-byte character, one byte, the NUL
  if (needed <= capacity) return capacity;
  return std::max({kMinimumCapacity, capacity + kGrowthStep, needed + kGrowthStep});
}

size_t textInBlock(const char* block, size_t size) {
  if (block == nullptr || size == 0) return 0;
  const void* nul = std::memchr(block, 0, size);
  return nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - block) : size - 1;
}

size_t wholeCharacters(std::string_view text, size_t room) {
  size_t p = 0;
  while (p < text.size()) {
    const size_t step = static_cast<unsigned char>(text[p]) >= 0x80 ? 2 : 1;
    if (p + step > room || p + step > text.size()) break;
    p += step;
  }
  return p;
}

size_t copyLine(std::string_view line, char* out, size_t size) {
  if (out == nullptr || size == 0) return 0;
  const size_t n = wholeCharacters(line, size - 1);
  std::memcpy(out, line.data(), n);
  out[n] = '\0';
  return n;
}

}  // namespace kesta::controls
