// CRCs, escaping, hex and binary headers, sub-packets and the readers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/zlink/test_channels.h"
#include "zlink/crc.h"
#include "zlink/frame_reader.h"
#include "zlink/frame_writer.h"
#include "zlink/protocol.h"

namespace kesta::zlink {
namespace {

using test::MemorySource;

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }
std::vector<uint8_t> written(const FrameWriter& w) { return {w.data(), w.data() + w.size()}; }

TEST(ZmodemCrc, CheckValuesOfBothPolynomials) {
  const std::string check = "123456789";
  auto data = bytesOf(check);
  EXPECT_EQ(crc16(data.data(), data.size()), 0x31C3);
  EXPECT_EQ(crc32(data.data(), data.size()), 0xCBF43926u);
}

TEST(ZmodemCrc, RegisterOverDataAndItsCrcLeavesTheResidue) {
  std::vector<uint8_t> data = {1, 2, 3, 0xFF, 0x18, 0};
  uint32_t sent = crc32(data.data(), data.size());
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(sent >> (8 * i)));
  uint32_t reg = kCrc32Start;
  for (uint8_t b : data) reg = crc32Update(reg, b);
  EXPECT_EQ(reg, kCrc32Residue);
}

// Eight bytes a step gives the byte-by-byte register for every length and
// alignment, from any register value.
TEST(ZmodemCrc, RunsOfAnyLengthAndAlignmentMatchByteByByte) {
  const auto data = test::randomBytes(200, 3);
  for (uint32_t start : {kCrc32Start, 0u, 0x12345678u}) {
    for (size_t offset = 0; offset < 8; ++offset) {
      for (size_t length = 0; length + offset <= 80; ++length) {
        uint32_t expected = start;
        for (size_t i = 0; i < length; ++i) expected = crc32Update(expected, data[offset + i]);
        ASSERT_EQ(crc32UpdateRun(start, data.data() + offset, length), expected)
            << "offset " << offset << ", length " << length;
      }
    }
  }
}

TEST(ZmodemHexHeader, ZrqinitIsPrecededByRzAndEndsWithXon) {
  FrameWriter w;
  const uint8_t zero[4] = {};
  w.hexHeader(kZrqinit, zero);
  std::string expected = "rz\r**\x18" "B00000000000000";
  auto bytes = written(w);
  ASSERT_GE(bytes.size(), expected.size() + 3);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<long>(expected.size())), expected);
  // CRC-16 of five zero bytes is 0, then CR, LF with parity, XON.
  EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(expected.size()), bytes.end()), "\r\x8a\x11");
}

TEST(ZmodemHexHeader, ZackAndZfinCarryNoXonAndDigitsAreLowerCase) {
  FrameWriter w;
  uint8_t data[4] = {0xAB, 0xCD, 0xEF, 0x01};
  w.hexHeader(kZack, data);
  std::string s(w.data(), w.data() + w.size());
  EXPECT_EQ(s.substr(0, 14), "**\x18" "B03abcdef01");
  EXPECT_EQ(s.back(), '\x8a');
  w.hexHeader(kZfin, data);
  EXPECT_EQ(w.data()[w.size() - 1], 0x8A);
  w.hexHeader(kZrpos, data);
  EXPECT_EQ(w.data()[w.size() - 1], kXon);
}

TEST(ZmodemHexHeader, VariableFormCarriesItsLength) {
  FrameWriter w;
  w.variableHeaders = true;
  const uint8_t zero[4] = {};
  w.hexHeader(kZrinit, zero);
  EXPECT_EQ(std::string(w.data(), w.data() + 6), "**\x18" "b04");
  MemorySource source(written(w));
  FrameReader r(source);
  uint8_t data[4] = {9, 9, 9, 9};
  EXPECT_EQ(r.receiveHeader(data), kZrinit);
  EXPECT_EQ(data[0], 0);
}

TEST(ZmodemHexHeader, ReaderTakesShortVariableHeadersAndRefusesLongOnes) {
  // "b02" with type 3 and two data bytes.
  uint8_t body[3] = {kZack, 0x12, 0x34};
  uint16_t crc = crc16(body, 3);
  char text[64];
  std::snprintf(text, sizeof text, "**\x18" "b02031234%04x\r\n", crc);
  MemorySource ok(bytesOf(text));
  FrameReader r(ok);
  uint8_t data[4] = {};
  EXPECT_EQ(r.receiveHeader(data), kZack);
  EXPECT_EQ(data[0], 0x12);
  EXPECT_EQ(data[1], 0x34);
  EXPECT_EQ(data[2], 0);
  // A length above 16 restarts the search, which then runs dry.
  MemorySource tooLong(bytesOf("**\x18" "b11030000000000000000"));
  FrameReader r2(tooLong);
  EXPECT_EQ(r2.receiveHeader(data), kReadTimeout);
}

TEST(ZmodemHexHeader, UpperCaseOrStrayDigitsFailTheCrc) {
  FrameWriter w;
  uint8_t data[4] = {0xAB, 0, 0, 0};
  w.hexHeader(kZrpos, data);
  auto bytes = written(w);
  bytes[6] = 'A';  // "ab" becomes "Ab"
  MemorySource source(bytes);
  FrameReader r(source);
  EXPECT_EQ(r.receiveHeader(data), kReadCrcError);
}

TEST(ZmodemHexHeader, EveryTypeAndPositionRoundTrips) {
  FrameWriter w;
  for (int type : {kZrqinit, kZrinit, kZack, kZfin, kZrpos, kZabort, kZcan}) {
    uint8_t data[4];
    storePosition(data, 0x12345678L + type);
    w.hexHeader(type, data);
    MemorySource source(written(w));
    FrameReader r(source);
    uint8_t got[4] = {};
    EXPECT_EQ(r.receiveHeader(got), type);
    EXPECT_EQ(loadPosition(got), 0x12345678L + type);
    EXPECT_FALSE(r.lastHeaderCrc32());
  }
}

TEST(ZmodemHeaderSearch, SkipsNoiseXonAndPaddingAndTimesOutInTheLineEnd) {
  FrameWriter w;
  uint8_t data[4] = {1, 2, 3, 4};
  w.hexHeader(kZrpos, data);
  auto bytes = bytesOf("garbage\x11\x91***");
  auto header = written(w);
  bytes.insert(bytes.end(), header.begin() + 2, header.end());  // one more ZPAD pair
  MemorySource source(bytes);
  FrameReader r(source);
  uint8_t got[4] = {};
  EXPECT_EQ(r.receiveHeader(got), kZrpos);
  EXPECT_EQ(got[3], 4);
  // Cut before the line end: the header fails with a time-out.
  header.resize(header.size() - 3);
  MemorySource cut(header);
  FrameReader r2(cut);
  EXPECT_EQ(r2.receiveHeader(got), kReadTimeout);
}

TEST(ZmodemHeaderSearch, CrcSixteenBinaryAndDAreReturnedAsLetters) {
  uint8_t data[4] = {};
  MemorySource a(bytesOf("*\x18" "A"));
  FrameReader ra(a);
  EXPECT_EQ(ra.receiveHeader(data), 'A');
  MemorySource d(bytesOf("*\x18" "D"));
  FrameReader rd(d);
  EXPECT_EQ(rd.receiveHeader(data), 'D');
}

TEST(ZmodemHeaderSearch, FiveCanInARowCancel) {
  uint8_t data[4] = {};
  MemorySource five(std::vector<uint8_t>(5, kCan));
  FrameReader r(five);
  EXPECT_EQ(r.receiveHeader(data), kReadCancelled);
  MemorySource four(bytesOf("\x18\x18\x18\x18x"));
  FrameReader r4(four);
  EXPECT_EQ(r4.receiveHeader(data), kReadTimeout);
}

TEST(ZmodemBinaryHeader, Crc32HeaderRoundTripsWithEscapesAndNulls) {
  FrameWriter w;
  w.crc32OnTransmit = true;
  uint8_t data[4] = {0x18, 0x11, 0x93, 0x0D};
  w.binaryHeader(kZdata, data);
  auto bytes = written(w);
  for (int i = 0; i < kNullsBeforeData; ++i) EXPECT_EQ(bytes[static_cast<size_t>(i)], 0);
  EXPECT_EQ(bytes[10], kZpad);
  EXPECT_EQ(bytes[11], kZdle);
  EXPECT_EQ(bytes[12], kZbin32);
  for (size_t i = 13; i < bytes.size(); ++i) {
    EXPECT_NE(bytes[i], kXon);
    EXPECT_NE(bytes[i], kXoff);
  }
  MemorySource source(bytes);
  FrameReader r(source);
  uint8_t got[4] = {};
  EXPECT_EQ(r.receiveHeader(got), kZdata);
  EXPECT_EQ(std::memcmp(got, data, 4), 0);
  EXPECT_TRUE(r.lastHeaderCrc32());
  EXPECT_TRUE(w.frameCrc32());
}

TEST(ZmodemBinaryHeader, CorruptedCrc32HeaderFails) {
  FrameWriter w;
  w.crc32OnTransmit = true;
  uint8_t data[4] = {1, 2, 3, 4};
  w.binaryHeader(kZfile, data);
  auto bytes = written(w);
  bytes[5] ^= 0x01;
  MemorySource source(bytes);
  FrameReader r(source);
  EXPECT_EQ(r.receiveHeader(data), kReadCrcError);
}

TEST(ZmodemBinaryHeader, Crc16AndVariableFormsUseTheirLetters) {
  FrameWriter w;
  const uint8_t zero[4] = {};
  w.binaryHeader(kZfile, zero);
  EXPECT_EQ(w.data()[2], kZbin);
  EXPECT_FALSE(w.frameCrc32());
  w.variableHeaders = true;
  w.binaryHeader(kZfile, zero);
  EXPECT_EQ(w.data()[2], kZvbin);
  EXPECT_EQ(w.data()[3], 4);
  w.crc32OnTransmit = true;
  w.binaryHeader(kZfile, zero);
  EXPECT_EQ(w.data()[2], kZvbin32);
}

TEST(ZmodemEscaping, ControlBytesFollowTheLineRules) {
  FrameWriter w;
  w.crc32OnTransmit = true;
  const uint8_t zero[4] = {};
  w.binaryHeader(kZdata, zero);
  const uint8_t data[] = {0x10, 0x11, 0x13, 0x90, 0x91, 0x93, 0x18, 0x0D, 0x01, 0x7F, 0xFF, 0x40, 0x0D, 0xC0, 0x8D};
  w.subPacket(data, sizeof data, kZcrcg);
  std::vector<uint8_t> expected = {0x18, 0x50, 0x18, 0x51, 0x18, 0x53, 0x18, 0xD0, 0x18, 0xD1, 0x18, 0xD3,
                                   0x18, 0x58, 0x0D, 0x01, 0x7F, 0xFF, 0x40, 0x18, 0x4D, 0xC0, 0x18, 0xCD};
  auto bytes = written(w);
  ASSERT_GT(bytes.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(expected.size())), expected);
  // Escaping control characters escapes every one of them.
  w.escapeControls = true;
  const uint8_t ctl[] = {0x01, 0x0D, 0x1F, 0x81};
  w.subPacket(ctl, sizeof ctl, kZcrcg);
  std::vector<uint8_t> escaped = {0x18, 0x41, 0x18, 0x4D, 0x18, 0x5F, 0x18, 0xC1};
  EXPECT_EQ(std::vector<uint8_t>(w.data(), w.data() + escaped.size()), escaped);
}

TEST(ZmodemSubPacket, EveryByteValueRoundTripsWithAndWithoutEscapedControls) {
  for (bool escape : {false, true}) {
    FrameWriter w;
    w.crc32OnTransmit = true;
    w.escapeControls = escape;
    const uint8_t zero[4] = {};
    w.binaryHeader(kZdata, zero);
    std::vector<uint8_t> stream = written(w);
    std::vector<uint8_t> payload(1024);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7 + i / 256);
    w.subPacket(payload.data(), payload.size(), kZcrcw);
    stream.insert(stream.end(), w.data(), w.data() + w.size());
    MemorySource source(stream);
    FrameReader r(source);
    r.escapeControls = escape;
    uint8_t header[4];
    ASSERT_EQ(r.receiveHeader(header), kZdata);
    uint8_t buffer[1024];
    size_t size = 0;
    ASSERT_EQ(r.receiveData(buffer, sizeof buffer, &size), kZcrcw);
    ASSERT_EQ(size, payload.size());
    EXPECT_EQ(std::memcmp(buffer, payload.data(), size), 0);
  }
}

TEST(ZmodemSubPacket, AllEscapedDataFitsTheOutputBuffer) {
  FrameWriter w;
  w.crc32OnTransmit = true;
  const uint8_t zero[4] = {};
  w.binaryHeader(kZdata, zero);
  std::vector<uint8_t> payload(1024, kZdle);
  w.subPacket(payload.data(), payload.size(), kZcrcw);
  EXPECT_GT(w.size(), 2048u);
  MemorySource source(written(w));
  FrameReader r(source);
  // The reader needs the header state: feed it the header first.
  FrameWriter h;
  h.crc32OnTransmit = true;
  h.binaryHeader(kZdata, zero);
  std::vector<uint8_t> stream = written(h);
  stream.insert(stream.end(), w.data(), w.data() + w.size());
  MemorySource full(stream);
  FrameReader r2(full);
  uint8_t header[4];
  ASSERT_EQ(r2.receiveHeader(header), kZdata);
  uint8_t buffer[1024];
  size_t size = 0;
  ASSERT_EQ(r2.receiveData(buffer, sizeof buffer, &size), kZcrcw);
  EXPECT_EQ(size, 1024u);
  EXPECT_EQ(buffer[1023], kZdle);
}

TEST(ZmodemSubPacket, DataAfterAHexHeaderIsRefusedUnread) {
  FrameWriter w;
  uint8_t data[4] = {};
  w.hexHeader(kZack, data);  // a hex header without a trailing XON
  std::vector<uint8_t> stream = written(w);
  w.crc32OnTransmit = true;
  w.binaryHeader(kZdata, data);  // sets the CRC-32 frame mode for the packet
  const uint8_t payload[3] = {1, 2, 3};
  w.subPacket(payload, 3, kZcrce);
  size_t packetSize = w.size();
  stream.insert(stream.end(), w.data(), w.data() + w.size());
  MemorySource source(stream);
  FrameReader r(source);
  ASSERT_EQ(r.receiveHeader(data), kZack);
  uint8_t buffer[16];
  size_t size = 99;
  EXPECT_EQ(r.receiveData(buffer, sizeof buffer, &size), kReadNotCrc32);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(source.remaining(), packetSize);  // nothing was read
}

TEST(ZmodemSubPacket, CorruptionTooLongAndBadEscapesFail) {
  FrameWriter w;
  w.crc32OnTransmit = true;
  const uint8_t zero[4] = {};
  w.binaryHeader(kZdata, zero);
  std::vector<uint8_t> header = written(w);
  std::vector<uint8_t> payload(100, 'x');
  w.subPacket(payload.data(), payload.size(), kZcrcg);
  std::vector<uint8_t> packet = written(w);
  auto run = [&](std::vector<uint8_t> body, size_t capacity) {
    std::vector<uint8_t> s = header;
    s.insert(s.end(), body.begin(), body.end());
    MemorySource source(s);
    FrameReader r(source);
    uint8_t h[4];
    EXPECT_EQ(r.receiveHeader(h), kZdata);
    uint8_t buffer[1024];
    size_t size = 0;
    return r.receiveData(buffer, capacity, &size);
  };
  EXPECT_EQ(run(packet, 1024), kZcrcg);
  EXPECT_EQ(run(packet, 99), kReadTooLong);
  auto flipped = packet;
  flipped[50] ^= 0x02;
  EXPECT_EQ(run(flipped, 1024), kReadCrcError);
  auto badEscape = packet;
  badEscape[10] = kZdle;
  badEscape[11] = 0x05;  // bits 0x60 are not 0x40
  EXPECT_EQ(run(badEscape, 1024), kReadBadEscape);
  auto cut = packet;
  cut.resize(60);
  EXPECT_EQ(run(cut, 1024), kReadTimeout);
}

TEST(ZmodemEscapedReader, FiveZdleInARowCancelAndFourDoNot) {
  MemorySource five(std::vector<uint8_t>(5, kZdle));
  FrameReader r(five);
  EXPECT_EQ(r.readEscaped(), kReadCancelled);
  MemorySource four(bytesOf("\x18\x18\x18\x18\x58"));
  FrameReader r4(four);
  EXPECT_EQ(r4.readEscaped(), kZdle);
}

TEST(ZmodemEscapedReader, RubsXonAndControlCharacters) {
  MemorySource s(bytesOf("\x18l\x18m\x11\x93\x18\x11k\x05"));
  FrameReader r(s);
  EXPECT_EQ(r.readEscaped(), 0x7F);
  EXPECT_EQ(r.readEscaped(), 0xFF);
  EXPECT_EQ(r.readEscaped(), kTerminatorFlag | kZcrcw);  // XON after ZDLE skipped
  EXPECT_EQ(r.readEscaped(), 0x05);
  MemorySource t(bytesOf("\x05" "a"));
  FrameReader escaping(t);
  escaping.escapeControls = true;
  EXPECT_EQ(escaping.readEscaped(), 'a');
}

TEST(ZmodemSevenBitReader, StripsParitySkipsFlowControlAndKeepsLineEnds) {
  MemorySource s(bytesOf("\xc1\x11\x13\r\x8a\x18\x01"));
  FrameReader r(s);
  EXPECT_EQ(r.read7(), 'A');
  EXPECT_EQ(r.read7(), '\r');
  EXPECT_EQ(r.read7(), '\n');
  EXPECT_EQ(r.read7(), kZdle);
  EXPECT_EQ(r.read7(), 0x01);
  EXPECT_EQ(r.read7(), kReadTimeout);
  MemorySource t(bytesOf("\x01\x02z"));
  FrameReader escaping(t);
  escaping.escapeControls = true;
  EXPECT_EQ(escaping.read7(), 'z');
}

}  // namespace
}  // namespace kesta::zlink
