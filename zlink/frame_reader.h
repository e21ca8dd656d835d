// Reads headers and data sub-packets from a byte source: the 7-bit reader
// for hex headers, the escaped reader for binary headers and data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::zlink {

// Where the reader takes its bytes from. Bytes already at hand come from a
// window [cursor_, limit_) without a call; underflow() fetches more.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next byte (0-255), or a negative value when none came in time.
  int next() { return cursor_ < limit_ ? *cursor_++ : underflow(); }
  // Bytes are at hand without a call.
  bool buffered() const { return cursor_ < limit_; }
  // The next byte at hand, left in place, or -1 when none is.
  int peekBuffered() const { return cursor_ < limit_ ? *cursor_ : -1; }
  // Passes over the byte peekBuffered() returned.
  void skipBuffered() {
    if (cursor_ < limit_) ++cursor_;
  }
  // The bytes at hand, for a reader that takes a run of them at once, and
  // where it stopped.
  const uint8_t* bufferedBegin() const { return cursor_; }
  const uint8_t* bufferedEnd() const { return limit_; }
  void takeBufferedUpTo(const uint8_t* p) { cursor_ = p; }

 protected:
  // Returns the next byte (or a negative value), and may set a new window
  // holding the bytes after it.
  virtual int underflow() = 0;
  void setWindow(const uint8_t* begin, const uint8_t* end) {
    cursor_ = begin;
    limit_ = end;
  }

 private:
  const uint8_t* cursor_ = nullptr;
  const uint8_t* limit_ = nullptr;
};

// Negative outcomes shared by the readers.
enum ReadError : int {
  kReadTimeout = -1,
  kReadCrcError = -2,
  kReadCancelled = -3,   // the peer sent five CAN in a row
  kReadBadEscape = -4,
  kReadTooLong = -5,     // a sub-packet larger than the buffer
  kReadNotCrc32 = -6,    // data may follow only a CRC-32 binary header
};

// readEscaped() reports a sub-packet terminator as kTerminatorFlag | its letter.
inline constexpr int kTerminatorFlag = 0x100;

class FrameReader {
 public:
  explicit FrameReader(ByteSource& source) : source_(source) {}

  // Set from the session: the peer escapes every control character, and
  // whether variable-length headers are in use.
  bool escapeControls = false;
  bool variableHeaders = false;

  // A header: its frame type (or the encoding letters 'A' and 'D', which
  // are no frame types) with its four data bytes in data, or a ReadError.
  int receiveHeader(uint8_t data[4]);
  // A data sub-packet into buffer (at most capacity bytes): its terminator
  // letter with *size set, or a ReadError.
  int receiveData(uint8_t* buffer, size_t capacity, size_t* size);
  // Whether the last good header was a CRC-32 binary one.
  bool lastHeaderCrc32() const { return lastHeaderCrc32_; }

  int read7();
  // A data byte, a terminator (kTerminatorFlag | letter) or a ReadError.
  int readEscaped() {
    int c = source_.next();
    if (c >= 0 && (c & 0x60)) return c;  // the common case: a plain byte
    return readEscapedControl(c);
  }

 private:
  int readEscapedControl(int c);
  int readHexByte();
  int readHexHeader(uint8_t data[4], int length);
  int readBinary32Header(uint8_t data[4]);

  ByteSource& source_;
  bool lastHeaderCrc32_ = false;
};

}  // namespace kesta::zlink
