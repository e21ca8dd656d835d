// Fuzz target: the data sub-packet reader after a good CRC-32 ZDATA header,
// and the file information parser on whatever it delivers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/zlink/test_channels.h"
#include "zlink/file_info.h"
#include "zlink/frame_reader.h"
#include "zlink/frame_writer.h"
#include "zlink/safe_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  using namespace kesta::zlink;
  FrameWriter writer;
  writer.crc32OnTransmit = true;
  writer.escapeControls = data[0] & 1;  // the reader below skips raw control characters then
  const uint8_t zero[4] = {};
  writer.binaryHeader(kZdata, zero);
  std::vector<uint8_t> stream(writer.data(), writer.data() + writer.size());
  stream.insert(stream.end(), data + 1, data + size);
  test::MemorySource source(stream);
  FrameReader reader(source);
  reader.escapeControls = data[0] & 1;
  uint8_t header[4];
  if (reader.receiveHeader(header) != kZdata) __builtin_trap();
  // A small capacity now and then checks the length limit.
  size_t capacity = (data[0] & 2) ? 16 : 1024;
  uint8_t buffer[1024];
  for (int i = 0; i < 100000 && source.remaining() > 0; ++i) {
    size_t got = 0;
    int end = reader.receiveData(buffer, capacity, &got);
    if (got > capacity) __builtin_trap();
    if (end >= 0) {
      FileInfo info;
      if (parseFileInfo(buffer, got, &info)) {
        std::string name = safeFileName(info.name);
        if (name.empty() || name.find_first_of("/\\:") != std::string::npos || name == "." || name == "..")
          __builtin_trap();
      }
    }
    if (end == kReadNotCrc32) break;
  }
  return 0;
}
