// Assembles headers and data sub-packets in the output buffer, escaped for
// the line, so that each goes to the channel in one write.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "zlink/protocol.h"

namespace kesta::zlink {

class FrameWriter {
 public:
  // Line settings, taken from the peer's ZRINIT on the sending side.
  bool escapeControls = false;
  bool variableHeaders = false;
  bool crc32OnTransmit = false;
  int nullsBeforeData = kNullsBeforeData;

  // Each call empties the buffer first and leaves the finished bytes in it.
  void hexHeader(int type, const uint8_t data[4]);
  void binaryHeader(int type, const uint8_t data[4]);
  // At most kSubPacketLength data bytes; the CRC follows the mode of the
  // last binary header.
  void subPacket(const uint8_t* data, size_t size, uint8_t terminator);

  const uint8_t* data() const { return buffer_.data(); }
  size_t size() const { return size_; }
  // Whether the frame now being sent uses CRC-32 (set by binaryHeader).
  bool frameCrc32() const { return frameCrc32_; }

 private:
  void put(uint8_t byte);
  void putEscaped(uint8_t byte);
  void putHex(uint8_t byte);

  std::array<uint8_t, kOutputBufferSize> buffer_{};
  size_t size_ = 0;
  bool frameCrc32_ = false;
};

// Stores a 32-bit position in header data, low byte first, and reads it back.
void storePosition(uint8_t data[4], long position);
long loadPosition(const uint8_t data[4]);

}  // namespace kesta::zlink
