// The telnet protocol: negotiation answers, IAC handling, subnegotiation,
// commands cut between reads, and the first-data and close events.
#include <gtest/gtest.h>

#include "app/session/telnet.h"
#include "app/session/telnet_reader.h"
#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

using namespace telnet;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

struct Telnet {
  RecordingHost host;
  TelnetProtocol protocol{host};
  std::string feed(const std::string& block) {
    std::string data;
    protocol.receive(reinterpret_cast<const std::uint8_t*>(block.data()), block.size(), data);
    return data;
  }
};

TEST(TelnetNegotiation, DoIsAnsweredWillForBinaryAndTerminalTypeOnly) {
  Telnet t;
  t.feed(bytes({IAC, DO, 24, IAC, DO, 0, IAC, DO, 1, IAC, DO, 31}));
  EXPECT_EQ(t.host.sent, (std::vector<std::string>{bytes({IAC, WILL, 24}), bytes({IAC, WILL, 0}),
                                                    bytes({IAC, WONT, 1}), bytes({IAC, WONT, 31})}));
}

TEST(TelnetNegotiation, WillIsAcceptedExceptThirteenSixteenAndTerminalType) {
  Telnet t;
  t.feed(bytes({IAC, WILL, 1, IAC, WILL, 3, IAC, WILL, 13, IAC, WILL, 16, IAC, WILL, 24, IAC, WILL, 255}));
  EXPECT_EQ(t.host.sent, (std::vector<std::string>{bytes({IAC, DO, 1}), bytes({IAC, DO, 3}), bytes({IAC, DONT, 13}),
                                                    bytes({IAC, DONT, 16}), bytes({IAC, DONT, 24}),
                                                    bytes({IAC, DO, 255})}));
}

TEST(TelnetNegotiation, WontDontAndOtherCommandsAreDroppedSilently) {
  Telnet t;
  std::string data = t.feed("a" + bytes({IAC, WONT, 1, IAC, DONT, 24, IAC, 241, IAC, 249, IAC, 10}) + "b");
  EXPECT_EQ(data, "ab");
  EXPECT_TRUE(t.host.sent.empty());
}

TEST(TelnetNegotiation, TerminalTypeRequestIsAnsweredVt100) {
  Telnet t;
  std::string data = t.feed(bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE}) + "x");
  EXPECT_EQ(data, "x");
  ASSERT_EQ(t.host.sent.size(), 2u);
  EXPECT_EQ(t.host.sent[1], bytes({IAC, SB, 24, 0, 'V', 'T', '1', '0', '0', IAC, SE}));
  t.host.sent.clear();
  t.feed(bytes({IAC, SB, 31, 0, 80, 0, 24, IAC, SE, IAC, SB, 24, 1, 5, IAC, SE, IAC, SB, 24, IAC, IAC, IAC, SE}));
  EXPECT_TRUE(t.host.sent.empty());
}

TEST(TelnetData, DoubledIacIsOneDataByte) {
  Telnet t;
  EXPECT_EQ(t.feed("a" + bytes({IAC, IAC}) + "b"), "a" + bytes({255}) + "b");
}

TEST(TelnetData, EverySplitOfCommandsAndDataGivesTheSameResult) {
  const std::string stream = "hi" + bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE, IAC, IAC, IAC, WILL, 1}) + "\xb0\xa1" +
                             bytes({IAC, 246}) + "end";
  Telnet whole;
  std::string expectedData = whole.feed(stream);
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    Telnet t;
    std::string data = t.feed(stream.substr(0, cut));
    data += t.feed(stream.substr(cut));
    EXPECT_EQ(data, expectedData) << cut;
    EXPECT_EQ(t.host.sent, whole.host.sent) << cut;
  }
  EXPECT_EQ(expectedData, "hi" + bytes({255}) + "\xb0\xa1" "end");
}

TEST(TelnetData, ShortSendOfANegotiationReplyIsReported) {
  Telnet t;
  t.host.sendLimit = 2;
  t.feed(bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE}));
  EXPECT_EQ(t.host.events, std::vector<std::string>{"box Winsock Error/Error"});
}

TEST(TelnetEvents, FirstDataMeanConnectedEvenWithoutText) {
  Session s;
  TelnetProtocol protocol{s.host};
  TelnetReader reader{protocol, s.pipeline};
  protocol.connectionOpened();
  std::string negotiation = bytes({IAC, DO, 24});
  reader.received(reinterpret_cast<const std::uint8_t*>(negotiation.data()), negotiation.size());
  EXPECT_EQ(s.host.statusTexts, (std::vector<std::pair<int, std::string>>{{0, "Connected"}}));
  reader.received(reinterpret_cast<const std::uint8_t*>("hello"), 5);
  EXPECT_EQ(s.host.statusTexts.size(), 1u);
  EXPECT_EQ(trimmed(s.windowRow(0)), "hello");
  reader.closed();
  EXPECT_EQ(s.host.statusTexts.back(), (std::pair<int, std::string>{0, "Disconnected"}));
}

TEST(TelnetEvents, CloseResetsTheNoCarrierCount) {
  Session s;
  TelnetProtocol protocol{s.host};
  TelnetReader reader{protocol, s.pipeline};
  s.receive("NO CARR");
  reader.closed();
  EXPECT_EQ(s.pipeline.carrierMatcher().count(), 0u);
}

TEST(TelnetAddress, TextWithADotIsAnAddress) {
  EXPECT_TRUE(isHostAddress("bbs.example.kr"));
  EXPECT_TRUE(isHostAddress("127.0.0.1"));
  EXPECT_FALSE(isHostAddress("01411"));
  EXPECT_FALSE(isHostAddress(""));
}

}  // namespace
}  // namespace kesta::session::testing
