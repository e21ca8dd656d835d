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
  kesta::xlat::Code fromCode, toCode;
  bool known = kesta::xlat::codeForType(from, &fromCode) && kesta::xlat::codeForType(to, &toCode);
  if (!known) {
    if (n > capacity) std::abort();  // unknown types leave the bytes alone
    return 0;
  }
  if (n >= capacity || buf[n] != 0) std::abort();
  // In place must give what converting beside the text gives.
  if (fromCode != toCode) {
    std::size_t len = strnlen(reinterpret_cast<const char*>(data), size);
    auto beside = std::make_unique<char[]>(capacity);
    std::size_t m = kesta::xlat::convert(fromCode, toCode, reinterpret_cast<const char*>(data), len, beside.get(), capacity);
    if (m != n || std::memcmp(beside.get(), buf.get(), n) != 0) std::abort();
    // A cut result is the start of the whole one (7-bit output is closed
    // with SI where it is cut, so it is left out here).
    if (toCode != kesta::xlat::Code::SevenBit) {
      std::size_t roomy = len * 4 + 8;
      auto whole = std::make_unique<char[]>(roomy);
      std::size_t w = kesta::xlat::convert(fromCode, toCode, reinterpret_cast<const char*>(data), len, whole.get(), roomy);
      if (n > w || std::memcmp(whole.get(), buf.get(), n) != 0) std::abort();
    }
  }
  return 0;
}
