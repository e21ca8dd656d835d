#include "zlink/frame_reader.h"

#include "zlink/crc.h"
#include "zlink/protocol.h"

namespace kesta::zlink {

namespace {

bool isXonXoff(int c) { return (c & 0x7F) == kXon || (c & 0x7F) == kXoff; }

int hexValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

constexpr int kCancelRun = 5;  // this many CAN in a row cancel a session

}  // namespace

int FrameReader::read7() {
  for (;;) {
    int c = source_.next();
    if (c < 0) return kReadTimeout;
    c &= 0x7F;
    if (c == kXon || c == kXoff) continue;
    if (c == '\r' || c == '\n' || c == kZdle) return c;
    if ((c & 0x60) == 0 && escapeControls) continue;
    return c;
  }
}

int FrameReader::readEscapedControl(int c) {
  for (;; c = source_.next()) {
    if (c < 0) return kReadTimeout;
    if (c & 0x60) return c;
    if (c == kZdle) break;
    if (isXonXoff(c)) continue;
    if (escapeControls) continue;
    return c;
  }
  // After ZDLE.
  int furtherZdle = 0;
  for (;;) {
    c = source_.next();
    if (c < 0) return kReadTimeout;
    if (c == kZdle) {
      if (++furtherZdle >= kCancelRun - 1) return kReadCancelled;
      continue;
    }
    if (isXonXoff(c)) continue;
    break;
  }
  switch (c) {
    case kZcrce: case kZcrcg: case kZcrcq: case kZcrcw:
      return kTerminatorFlag | c;
    case kZrub0:
      return 0x7F;
    case kZrub1:
      return 0xFF;
    default:
      if ((c & 0x60) == 0x40) return c ^ 0x40;
      return kReadBadEscape;
  }
}

int FrameReader::readHexByte() {
  int c = read7();
  if (c < 0) return c;
  int high = hexValue(c);
  if (high < 0) return 0;  // the CRC check then fails
  c = read7();
  if (c < 0) return c;
  int low = hexValue(c);
  if (low < 0) return 0;
  return high << 4 | low;
}

int FrameReader::readHexHeader(uint8_t data[4], int length) {
  uint8_t body[1 + 16] = {};
  for (int i = 0; i < 1 + length; ++i) {
    int b = readHexByte();
    if (b < 0) return b;
    body[i] = static_cast<uint8_t>(b);
  }
  int high = readHexByte();
  if (high < 0) return high;
  int low = readHexByte();
  if (low < 0) return low;
  if (crc16(body, static_cast<size_t>(1 + length)) != (high << 8 | low)) return kReadCrcError;
  // The line end: CR (either parity) and usually LF after it.
  int c = read7();
  if (c < 0) return kReadTimeout;
  if (c == '\r') {
    if (read7() < 0) return kReadTimeout;
  }
  for (int i = 0; i < 4; ++i) data[i] = body[1 + i];
  lastHeaderCrc32_ = false;
  return body[0];
}

int FrameReader::readBinary32Header(uint8_t data[4]) {
  uint8_t body[9];
  uint32_t crc = kCrc32Start;
  for (uint8_t& b : body) {
    int c = readEscaped();
    if (c < 0) return c;
    if (c & kTerminatorFlag) return kReadBadEscape;
    b = static_cast<uint8_t>(c);
    crc = crc32Update(crc, b);
  }
  if (crc != kCrc32Residue) return kReadCrcError;
  for (int i = 0; i < 4; ++i) data[i] = body[1 + i];
  lastHeaderCrc32_ = true;
  return body[0];
}

int FrameReader::receiveHeader(uint8_t data[4]) {
  int canRun = 0;
  for (;;) {
    int c = source_.next();
    if (c < 0) return kReadTimeout;
    if (c == kCan) {
      if (++canRun >= kCancelRun) return kReadCancelled;
      continue;
    }
    canRun = 0;
    if ((c & 0x7F) != kZpad) continue;  // XON and line noise alike
    // More ZPADs may follow; then ZDLE.
    do {
      c = source_.next();
      if (c < 0) return kReadTimeout;
    } while ((c & 0x7F) == kZpad);
    if (c != kZdle) {
      if (c == kCan) canRun = 1;
      continue;
    }
    c = source_.next();
    if (c < 0) return kReadTimeout;
    switch (c) {
      case kZhex:
        return readHexHeader(data, 4);
      case kZvhex: {
        int length = readHexByte();
        if (length < 0) return length;
        if (length > 16) continue;
        return readHexHeader(data, length);
      }
      case kZbin32:
        if (variableHeaders) continue;
        return readBinary32Header(data);
      case kZbin:
      case 'D':
        return c;
      default:
        if (c == kCan) canRun = 2;
        continue;
    }
  }
}

int FrameReader::receiveData(uint8_t* buffer, size_t capacity, size_t* size) {
  *size = 0;
  if (!lastHeaderCrc32_) return kReadNotCrc32;
  size_t stored = 0;
  for (;;) {
    // The bytes at hand in one pass: plain bytes, and ZDLE with a plainly
    // escaped byte, mean the same in every mode; anything else (control
    // bytes, terminators, a ZDLE at the end of what is at hand) goes the
    // byte-by-byte way.
    const uint8_t* p = source_.bufferedBegin();
    const uint8_t* const end = source_.bufferedEnd();
    while (p < end && stored < capacity) {
      const uint8_t b = *p;
      if (b & 0x60) {
        buffer[stored++] = b;
        ++p;
      } else if (b == kZdle && end - p >= 2 && (p[1] & 0x60) == 0x40) {
        buffer[stored++] = p[1] ^ 0x40;
        p += 2;
      } else {
        break;
      }
    }
    source_.takeBufferedUpTo(p);
    int c = readEscaped();
    if (c < 0) return c;
    if (c & kTerminatorFlag) {
      // The CRC over the data at once, then the terminator and the CRC sent.
      const int terminator = c & 0xFF;
      uint32_t crc = crc32UpdateRun(kCrc32Start, buffer, stored);
      crc = crc32Update(crc, static_cast<uint8_t>(terminator));
      for (int i = 0; i < 4; ++i) {
        c = readEscaped();
        if (c < 0) return c;
        if (c & kTerminatorFlag) return kReadBadEscape;
        crc = crc32Update(crc, static_cast<uint8_t>(c));
      }
      if (crc != kCrc32Residue) return kReadCrcError;
      *size = stored;
      return terminator;
    }
    if (stored >= capacity) return kReadTooLong;
    buffer[stored++] = static_cast<uint8_t>(c);
  }
}

}  // namespace kesta::zlink
