// The telnet protocol: negotiation answers, IAC handling, subnegotiation,
// commands cut between reads, and the first-data and close events.
#include <gtest/gtest.h>

#include <utility>

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

TEST(TelnetData, NulAfterACarriageReturnIsDroppedAtEverySplit) {
  struct Case {
    std::string stream;
    std::string data;
  };
  const Case cases[] = {
      {std::string("Loading 10%\r\0Loading 50%\r\0Done", 30), "Loading 10%\rLoading 50%\rDone"},
      {std::string("line\r\0\r\n", 8), "line\r\r\n"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},            // a NUL elsewhere is data
      {std::string("\r\0\0", 3), std::string("\r\0", 2)},        // only the first NUL after CR
      {"\r" + bytes({IAC, IAC, 0}), "\r" + bytes({255, 0})},       // not after a data 255
      {"\r" + bytes({IAC, 241, 0}) + "x", "\rx"},                  // a command between CR and NUL
  };
  for (const Case& c : cases) {
    for (std::size_t cut = 0; cut <= c.stream.size(); ++cut) {
      Telnet t;
      std::string data = t.feed(c.stream.substr(0, cut));
      data += t.feed(c.stream.substr(cut));
      EXPECT_EQ(data, c.data) << cut;
    }
  }
}

TEST(TelnetData, CarriageReturnNulKeepsTheScreenMoving) {
  Session s;
  TelnetProtocol protocol{s.host};
  TelnetReader reader{protocol, s.pipeline};
  protocol.connectionOpened();
  const std::string stream("Loading 10%\r\0Loading 50%\r\0Done", 30);
  for (std::size_t at = 0; at < stream.size(); at += 7) {  // reads cut anywhere
    std::string block = stream.substr(at, 7);
    reader.received(reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
  }
  EXPECT_EQ(trimmed(s.windowRow(0)), "Doneing 50%");
  EXPECT_EQ(trimmed(s.grid(0)), "Doneing 50%");
  EXPECT_EQ(s.column(), 4);
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

// A message box runs a message loop, in which the next read may arrive.
struct ReadingInABox : RecordingHost {
  TelnetReader* reader = nullptr;
  std::string nested;
  void messageBox(std::string_view text, std::string_view caption) override {
    RecordingHost::messageBox(text, caption);
    if (reader && !nested.empty()) {
      std::string block = std::exchange(nested, {});
      reader->received(reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
    }
  }
};

TEST(TelnetEvents, AReadNestedInAMessageBoxKeepsTheOuterReadsData) {
  BasicSession<ReadingInABox> s;
  s.host.sendLimit = 0;  // every negotiation reply fails: the box comes up
  TelnetProtocol protocol{s.host};
  TelnetReader reader{protocol, s.pipeline};
  s.host.reader = &reader;
  s.host.nested = "xy";
  std::string outer = "AB" + bytes({IAC, DO, 24}) + "CD";
  reader.received(reinterpret_cast<const std::uint8_t*>(outer.data()), outer.size());
  // The nested read is drawn when it arrives, the outer read's data after it, each once.
  EXPECT_EQ(trimmed(s.windowRow(0)), "xyABCD");
  EXPECT_EQ(trimmed(s.grid(0)), "xyABCD");
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
