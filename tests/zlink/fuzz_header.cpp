// Fuzz target: the header reader (hex, variable hex and CRC-32 binary
// headers, the search and its cancel) over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/zlink/test_channels.h"
#include "zlink/frame_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  using namespace kesta::zlink;
  test::MemorySource source(std::vector<uint8_t>(data + 1, data + size));
  FrameReader reader(source);
  reader.escapeControls = data[0] & 1;
  reader.variableHeaders = data[0] & 2;
  uint8_t header[4];
  // Every call consumes at least one byte, so this ends with the input.
  for (int i = 0; i < 100000; ++i) {
    int type = reader.receiveHeader(header);
    if (type == kReadTimeout && source.remaining() == 0) break;
  }
  return 0;
}
