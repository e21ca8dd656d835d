// Fuzz target: the telnet byte rules. Decoding in two pieces at any point
// gives what decoding at once gives; encoding then decoding is identity.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zlink/telnet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kesta::zlink;
  if (size == 0) return 0;
  size_t cut = data[0] % size;
  std::vector<uint8_t> whole(data + 1, data + size);
  std::vector<uint8_t> once = whole;
  TelnetDecoder a;
  once.resize(a.decode(once.data(), once.size()));
  std::vector<uint8_t> split = whole;
  TelnetDecoder b;
  size_t first = b.decode(split.data(), cut > split.size() ? split.size() : cut);
  size_t from = cut > split.size() ? split.size() : cut;
  std::vector<uint8_t> rest(split.begin() + static_cast<long>(from), split.end());
  size_t second = b.decode(rest.data(), rest.size());
  std::vector<uint8_t> joined(split.begin(), split.begin() + static_cast<long>(first));
  joined.insert(joined.end(), rest.begin(), rest.begin() + static_cast<long>(second));
  if (joined != once) __builtin_trap();
  std::vector<uint8_t> wire;
  telnetEncode(whole.data(), whole.size(), wire);
  TelnetDecoder c;
  wire.resize(c.decode(wire.data(), wire.size()));
  if (wire != whole) __builtin_trap();
  return 0;
}
