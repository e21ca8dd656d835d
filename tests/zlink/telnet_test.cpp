// The telnet byte rules of a transfer over a socket, and the watch for a
// modem's "NO CARRIER" on a serial line.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "zlink/carrier_watch.h"
#include "zlink/telnet.h"

namespace kesta::zlink {
namespace {

std::vector<uint8_t> decodeInPieces(const std::vector<uint8_t>& stream, std::vector<size_t> cuts) {
  TelnetDecoder decoder;
  std::vector<uint8_t> out;
  size_t from = 0;
  cuts.push_back(stream.size());
  for (size_t cut : cuts) {
    std::vector<uint8_t> piece(stream.begin() + static_cast<long>(from), stream.begin() + static_cast<long>(cut));
    size_t kept = decoder.decode(piece.data(), piece.size());
    out.insert(out.end(), piece.begin(), piece.begin() + static_cast<long>(kept));
    from = cut;
  }
  return out;
}

TEST(TelnetRules, WriteDoublesEveryFf) {
  std::vector<uint8_t> out;
  const uint8_t data[] = {1, 0xFF, 0xFF, 2};
  telnetEncode(data, sizeof data, out);
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 0xFF, 0xFF, 0xFF, 0xFF, 2}));
}

TEST(TelnetRules, DoubledFfIsOneByteAndCommandsVanish) {
  EXPECT_EQ(decodeInPieces({0xFF, 0xFF}, {}), (std::vector<uint8_t>{0xFF}));
  EXPECT_EQ(decodeInPieces({'a', 0xFF, 0xFB, 0x01, 'b'}, {}), (std::vector<uint8_t>{'a', 'b'}));
}

TEST(TelnetRules, TwoByteCommandsKeepTheByteAfterThem) {
  // NOP (241) and GA (249) are two bytes long: the data byte after them stays.
  EXPECT_EQ(decodeInPieces({0xFF, 241, 'x', 0xFF, 249, 'y'}, {}), (std::vector<uint8_t>{'x', 'y'}));
}

TEST(TelnetRules, SubnegotiationIsSkippedToItsEnd) {
  std::vector<uint8_t> s = {'a', 0xFF, 250, 24, 0, 'V', 'T', 0xFF, 0xFF, '1', 0xFF, 240, 'b'};
  EXPECT_EQ(decodeInPieces(s, {}), (std::vector<uint8_t>{'a', 'b'}));
}

TEST(TelnetRules, SplitAtEveryPointGivesTheSameData) {
  std::vector<uint8_t> stream = {'1', 0xFF, 0xFF, '2', 0xFF, 253, 0,   '3', 0xFF, 241, '4', 0xFF,
                                 250, 31, 0,    80,  0xFF, 240, '5', 0xFF, 0xFF, 0xFF, 252, 1, '6'};
  std::vector<uint8_t> expected = {'1', 0xFF, '2', '3', '4', '5', 0xFF, '6'};
  EXPECT_EQ(decodeInPieces(stream, {}), expected);
  for (size_t i = 0; i <= stream.size(); ++i) {
    EXPECT_EQ(decodeInPieces(stream, {i}), expected) << "cut at " << i;
    for (size_t j = i; j <= stream.size(); ++j) {
      ASSERT_EQ(decodeInPieces(stream, {i, j}), expected) << "cuts at " << i << ", " << j;
    }
  }
}

TEST(TelnetRules, EncodeThenDecodeIsIdentityForEveryByte) {
  std::vector<uint8_t> data;
  for (int i = 0; i < 512; ++i) data.push_back(static_cast<uint8_t>(255 - i % 256));
  std::vector<uint8_t> wire;
  telnetEncode(data.data(), data.size(), wire);
  for (size_t cut = 0; cut <= wire.size(); cut += 37) EXPECT_EQ(decodeInPieces(wire, {cut}), data);
}

TEST(TelnetRules, AnFfAtTheEndOfAReadWaitsForTheNext) {
  TelnetDecoder decoder;
  uint8_t first[] = {'a', 0xFF};
  EXPECT_EQ(decoder.decode(first, 2), 1u);
  EXPECT_TRUE(decoder.inCommand());
  uint8_t second[] = {0xFF, 'b'};
  EXPECT_EQ(decoder.decode(second, 2), 2u);
  EXPECT_EQ(second[0], 0xFF);
  EXPECT_EQ(second[1], 'b');
  EXPECT_FALSE(decoder.inCommand());
}

TEST(CarrierWatch, ADropIsNoCarrierAsTheLastThingHeardAndSilenceAfterIt) {
  struct Case {
    std::vector<std::pair<std::string, std::uint64_t>> heard;  // bytes and when
    std::uint64_t askedAt;
    bool dropped;
  } cases[] = {
      {{{"\r\nNO CARRIER\r\n", 1000}}, 6000, true},
      {{{"\r\nNO CARRIER\r\n", 1000}}, 5999, false},                        // not silent long enough yet
      {{{"\r\nNO CARR", 1000}, {"IER\r\n", 1200}}, 6200, true},           // cut between two reads
      {{{"NNO CARRIER", 1000}}, 7000, true},                               // a false start before it
      {{{"\r\nNO CARRIER\r\n", 1000}, {"x", 2000}}, 9000, false},          // more came after it
      {{{"\r\nNO CARRIER\r\n", 1000}, {"\r\n", 2000}}, 6000, true},        // line ends do not count
      {{{"NO CARRIES", 1000}}, 9000, false},
      {{{"NO\r\nCARRIER", 1000}}, 9000, false},                            // split by a line end
      {{{"**\x18" "B0900000000a87c\r\n", 1000}}, 9000, false},             // a header, not the modem
      {{}, 9000, false},
  };
  for (const Case& c : cases) {
    CarrierWatch watch;
    std::string all;
    for (const auto& [text, at] : c.heard) {
      watch.heard(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), at);
      all += text;
    }
    EXPECT_EQ(watch.dropped(c.askedAt), c.dropped) << testing::PrintToString(all) << " asked at " << c.askedAt;
  }
}

}  // namespace
}  // namespace kesta::zlink
