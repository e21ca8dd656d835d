#include "zlink/frame_writer.h"

#include "zlink/crc.h"

namespace kesta::zlink {

void storePosition(uint8_t data[4], long position) {
  uint32_t p = static_cast<uint32_t>(position);
  for (int i = 0; i < 4; ++i) data[i] = static_cast<uint8_t>(p >> (8 * i));
}

long loadPosition(const uint8_t data[4]) {
  uint32_t p = 0;
  for (int i = 3; i >= 0; --i) p = (p << 8) | data[i];
  return static_cast<long>(p);
}

void FrameWriter::put(uint8_t byte) {
  if (size_ < buffer_.size()) buffer_[size_++] = byte;
}

void FrameWriter::putEscaped(uint8_t byte) {
  bool escape;
  if (byte & 0x60) {
    escape = false;
  } else {
    switch (byte) {
      case 0x10: case 0x11: case 0x13: case 0x90: case 0x91: case 0x93: case kZdle:
        escape = true;
        break;
      case 0x0D: case 0x8D:
        // "@" CR is a command to some network front ends.
        escape = escapeControls || (size_ > 0 && (buffer_[size_ - 1] & 0x7F) == 0x40);
        break;
      default:
        escape = escapeControls;
    }
  }
  if (escape) {
    put(kZdle);
    put(byte ^ 0x40);
  } else {
    put(byte);
  }
}

void FrameWriter::putHex(uint8_t byte) {
  static const char kDigits[] = "0123456789abcdef";
  put(static_cast<uint8_t>(kDigits[byte >> 4]));
  put(static_cast<uint8_t>(kDigits[byte & 0x0F]));
}

void FrameWriter::hexHeader(int type, const uint8_t data[4]) {
  size_ = 0;
  if (type == kZrqinit) {
    put('r');
    put('z');
    put('\r');
  }
  put(kZpad);
  put(kZpad);
  put(kZdle);
  if (variableHeaders) {
    put(kZvhex);
    putHex(4);
  } else {
    put(kZhex);
  }
  uint8_t body[5] = {static_cast<uint8_t>(type), data[0], data[1], data[2], data[3]};
  for (uint8_t b : body) putHex(b);
  uint16_t crc = crc16(body, sizeof body);
  putHex(static_cast<uint8_t>(crc >> 8));
  putHex(static_cast<uint8_t>(crc));
  put(0x0D);
  put(0x8A);
  if (type != kZack && type != kZfin) put(kXon);
}

void FrameWriter::binaryHeader(int type, const uint8_t data[4]) {
  size_ = 0;
  if (type == kZdata) {
    for (int i = 0; i < nullsBeforeData; ++i) put(0);
  }
  put(kZpad);
  put(kZdle);
  frameCrc32_ = crc32OnTransmit;
  uint8_t body[5] = {static_cast<uint8_t>(type), data[0], data[1], data[2], data[3]};
  if (frameCrc32_) {
    if (variableHeaders) {
      put(kZvbin32);
      putEscaped(4);
    } else {
      put(kZbin32);
    }
    for (uint8_t b : body) putEscaped(b);
    uint32_t crc = crc32(body, sizeof body);
    for (int i = 0; i < 4; ++i) putEscaped(static_cast<uint8_t>(crc >> (8 * i)));
  } else {
    if (variableHeaders) {
      put(kZvbin);
      putEscaped(4);
    } else {
      put(kZbin);
    }
    for (uint8_t b : body) putEscaped(b);
    uint16_t crc = crc16(body, sizeof body);
    putEscaped(static_cast<uint8_t>(crc >> 8));
    putEscaped(static_cast<uint8_t>(crc));
  }
}

namespace {

// How putEscaped treats each byte value, as a table for the data loop:
// 0 as it is, 1 escaped, 2 escaped after "@" only (CR).
struct EscapeTable {
  uint8_t kind[256];
  explicit EscapeTable(bool escapeControls) {
    for (int b = 0; b < 256; ++b) {
      if (b & 0x60) {
        kind[b] = 0;
        continue;
      }
      switch (b) {
        case 0x10: case 0x11: case 0x13: case 0x90: case 0x91: case 0x93: case kZdle:
          kind[b] = 1;
          break;
        case 0x0D: case 0x8D:
          kind[b] = escapeControls ? 1 : 2;
          break;
        default:
          kind[b] = escapeControls ? 1 : 0;
      }
    }
  }
};

}  // namespace

void FrameWriter::subPacket(const uint8_t* data, size_t size, uint8_t terminator) {
  static const EscapeTable kPlain(false), kControls(true);
  const uint8_t* kind = escapeControls ? kControls.kind : kPlain.kind;
  size_ = 0;
  if (size > kSubPacketLength) size = kSubPacketLength;
  // The CRC, then the data escaped (the buffer holds a fully escaped
  // sub-packet).
  uint8_t* const begin = buffer_.data();
  uint8_t* out = begin;
  uint32_t crc = kCrc32Start;
  uint16_t crc16Value = 0;
  if (frameCrc32_) crc = crc32UpdateRun(crc, data, size);
  else for (size_t i = 0; i < size; ++i) crc16Value = crc16Update(crc16Value, data[i]);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    const uint8_t k = kind[b];
    if (k == 1 || (k == 2 && out > begin && (out[-1] & 0x7F) == 0x40)) {
      *out++ = kZdle;
      *out++ = b ^ 0x40;
    } else {
      *out++ = b;
    }
  }
  size_ = static_cast<size_t>(out - begin);
  put(kZdle);
  put(terminator);
  if (frameCrc32_) {
    crc = ~crc32Update(crc, terminator);
    for (int i = 0; i < 4; ++i) putEscaped(static_cast<uint8_t>(crc >> (8 * i)));
  } else {
    const uint16_t crc16Final = crc16Update(crc16Value, terminator);
    putEscaped(static_cast<uint8_t>(crc16Final >> 8));
    putEscaped(static_cast<uint8_t>(crc16Final));
  }
  if (terminator == kZcrcw) put(kXon);
}

}  // namespace kesta::zlink
