// The byte channel a transfer runs over: a serial line, a socket with the
// telnet byte rules, or standard input and output.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::zlink {

class ByteChannel {
 public:
  static constexpr int kNoByte = -1;  // nothing arrived within the wait
  static constexpr int kClosed = -2;  // the connection is gone for good

  virtual ~ByteChannel() = default;

  // Waits at most waitMs for one byte and returns as soon as one arrives:
  // the byte (0-255), kNoByte, or kClosed.
  virtual int readByte(int waitMs) = 0;
  // Like readByte, but takes up to max bytes that are already there (at
  // least one when it returns a count above 0). Channels with a buffer of
  // their own make this cheaper than byte by byte.
  virtual int readSome(uint8_t* buffer, int max, int waitMs) {
    if (max <= 0) return 0;
    int c = readByte(waitMs);
    if (c < 0) return c;
    buffer[0] = static_cast<uint8_t>(c);
    return 1;
  }
  // Writes the whole buffer in one call; false when the connection failed.
  virtual bool write(const uint8_t* data, size_t size) = 0;
  // Throws away bytes received but not yet read.
  virtual void discardInput() = 0;
  // Throws away bytes written but not yet sent, where the channel can.
  virtual void discardOutput() = 0;
};

// The character time-out: `waits` waits of at most `waitMs` each, every one
// ending at once when a byte arrives (140 s in all). Tests shrink it.
struct Timing {
  int waitMs = 100;
  int waits = 1400;
};

}  // namespace kesta::zlink
