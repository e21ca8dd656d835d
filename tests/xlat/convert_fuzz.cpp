// Fuzz target: in-place conversion of any bytes between any two code types
// with any capacity. The buffer is exactly the capacity, so AddressSanitizer
// sees any write past it; the result must end in a NUL inside it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "xlat/xlat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  int from = data[0] % 10;  // 0 and 9 are unknown types
  int to = data[1] % 10;
  std::size_t slack = data[2] % 8;
  data += 3;
  size -= 3;
  // Either a NUL-terminated text in a buffer with some slack, or (slack 0)
  // a buffer filled to the brim with no NUL at all.
  std::size_t capacity = slack == 0 ? size : size + slack;
  if (capacity == 0) return 0;
  auto buf = std::make_unique<char[]>(capacity);
  std::memcpy(buf.get(), data, size);
  if (slack) buf[size] = 0;
  std::size_t n = kesta::xlat::convertInPlace(from, to, buf.get(), capacity);
  bool known = from >= 1 && from <= 8 && to >= 1 && to <= 8;
  if (known && (n >= capacity || buf[n] != 0)) std::abort();
  if (!known && n > capacity) std::abort();  // unknown types leave the bytes alone
  return 0;
}
