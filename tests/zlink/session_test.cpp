// Our sender and receiver against each other and against scripted peers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <future>
#include <thread>

#include "tests/zlink/test_channels.h"
#include "zlink/file_info.h"
#include "zlink/frame_reader.h"
#include "zlink/frame_writer.h"
#include "zlink/link.h"
#include "zlink/progress.h"
#include "zlink/session.h"

namespace kesta::zlink {
namespace {

using namespace test;

// Short character time-outs: 20 waits of 10 ms.
constexpr Timing kFast{10, 20};

SessionConfig configFor(ByteChannel& channel, ProgressReporter& reporter, std::atomic<int>* state = nullptr) {
  SessionConfig c;
  c.channel = &channel;
  c.reporter = &reporter;
  c.timing = kFast;
  c.state = state;
  return c;
}

struct Transfer {
  int sendResult = 99;
  int receiveResult = 99;
};

Transfer runBoth(ChannelPair& pair, const std::string& file, const std::string& directory, RecordingReporter& sent,
                 RecordingReporter& received, std::atomic<int>* sendState = nullptr,
                 std::atomic<int>* receiveState = nullptr) {
  Transfer t;
  auto receiver = std::async(std::launch::async, [&] {
    return receiveFiles(configFor(pair.b, received, receiveState), directory);
  });
  t.sendResult = sendFile(configFor(pair.a, sent, sendState), file);
  t.receiveResult = receiver.get();
  return t;
}

class OwnPeers : public ::testing::TestWithParam<size_t> {};

TEST_P(OwnPeers, FileArrivesIdentical) {
  TempDir from, to;
  auto data = randomBytes(GetParam(), static_cast<uint32_t>(GetParam()));
  writeFile(from.path() / "data.bin", data);
  ChannelPair pair;
  RecordingReporter sent, received;
  std::atomic<int> sendState{0}, receiveState{0};
  Transfer t = runBoth(pair, (from.path() / "data.bin").string(), to.str(), sent, received, &sendState, &receiveState);
  EXPECT_EQ(t.sendResult, kResultSuccess);
  EXPECT_EQ(t.receiveResult, kResultSuccess);
  EXPECT_EQ(readFile(to.path() / "data.bin"), data);
  EXPECT_TRUE(sent.saw("  End of Send ZMODEM Session..."));
  EXPECT_TRUE(received.saw("  End of Receive ZMODEM Session..."));
  EXPECT_EQ(sendState.load(), kSendAfterZfin);
  EXPECT_EQ(receiveState.load(), kRecvZfinSent);
}

INSTANTIATE_TEST_SUITE_P(Sizes, OwnPeers, ::testing::Values(0, 1, 1023, 1024, 1025, 2048, 100000));

TEST(ZmodemSender, StatusTextsOfAWholeSession) {
  TempDir from, to;
  writeFile(from.path() / "s.txt", randomBytes(10, 1));
  ChannelPair pair;
  RecordingReporter sent, received;
  runBoth(pair, (from.path() / "s.txt").string(), to.str(), sent, received);
  std::vector<std::string> expected = {"  Initialize ZMODEM transmission...", "  Sending ZRQINIT...",
                                       "  Sending ZSINIT..."};
  auto statuses = sent.statuses();
  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(statuses.begin(), statuses.begin() + 3), expected);
  for (const char* text : {"  Receved ZACK...", "  Send ZFILE...", "  Send Sub Packet #1 (Last)...", "  Send ZEOF...",
                           "  Received final ZRINIT...", "  Send ZFIN...", "  Received ZFIN...",
                           "  Send OO(over and out)..."})
    EXPECT_TRUE(sent.saw(text)) << text;
  for (const char* text : {"  Send ZRINIT...", "  Recevied ZRQINIT...", "  Received ZSINIT",
                           "  ' ' Received Attn (length = 1)...", "  Send ZACK...", "  Received ZFILE...",
                           "  Receiving start at 0... ", "  Send ZRPOS...", "  Received Starting ZDATA...",
                           "  Sub Packet #1 received (ZCRCE)...", "  Receved ZEOF (10)", "  Send final ZRINIT",
                           "  Receved ZFIN...", "  Receved OO(over and out)..."})
    EXPECT_TRUE(received.saw(text)) << text;
}

TEST(ZmodemReceiver, AnExistingFileIsContinuedFromItsSize) {
  TempDir from, to;
  auto data = randomBytes(5000, 3);
  writeFile(from.path() / "part.bin", data);
  writeFile(to.path() / "part.bin", std::vector<uint8_t>(data.begin(), data.begin() + 3000));
  ChannelPair pair;
  RecordingReporter sent, received;
  Transfer t = runBoth(pair, (from.path() / "part.bin").string(), to.str(), sent, received);
  EXPECT_EQ(t.receiveResult, kResultSuccess);
  EXPECT_EQ(readFile(to.path() / "part.bin"), data);
  EXPECT_TRUE(received.saw("  Recovery at 3000..."));
  ASSERT_FALSE(received.thisFile().empty());
  EXPECT_EQ(received.thisFile().front(), 3000);  // the bytes present count as done
  EXPECT_NE(describeStream(pair.b.log).find("ZRPOS@3000"), std::string::npos);
  EXPECT_NE(describeStream(pair.a.log).find("ZDATA@3000"), std::string::npos);
  EXPECT_EQ(describeStream(pair.a.log).find("ZDATA@0"), std::string::npos);
}

TEST(ZmodemSender, AFileThatCannotBeOpenedCancelsThePeer) {
  ChannelPair pair;
  RecordingReporter sent;
  EXPECT_EQ(sendFile(configFor(pair.a, sent), "/nonexistent/file"), kResultFileError);
  EXPECT_TRUE(sent.saw("  ZMODEM error : unable to read file..."));
  std::vector<uint8_t> tail(pair.a.log.end() - 10, pair.a.log.end());
  EXPECT_EQ(tail, std::vector<uint8_t>(10, kCan));
}

TEST(ZmodemSender, SilentReceiverEndsAfterElevenBadZrinit) {
  TempDir from;
  writeFile(from.path() / "x", randomBytes(10, 1));
  ChannelPair pair;
  RecordingReporter sent;
  std::atomic<int> state{0};
  EXPECT_EQ(sendFile(configFor(pair.a, sent, &state), (from.path() / "x").string()), kResultFailed);
  EXPECT_EQ(sent.count("  Bad ZRINIT..."), 11);
  EXPECT_EQ(sent.count("  Resending ZRQINIT..."), 10);
  EXPECT_TRUE(sent.saw("  Frame Type -1 : 00 00 00 00..."));
  EXPECT_EQ(state.load(), kSendWaitZrinit);
  EXPECT_EQ(sent.lastErrors(), std::make_pair(11, 11));
}

TEST(ZmodemReceiver, SilentSenderEndsAfterElevenTries) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  EXPECT_EQ(receiveFiles(configFor(pair.b, received), to.str()), kResultFailed);
  EXPECT_EQ(received.count("  Send ZRINIT again..."), 10);
  EXPECT_EQ(describeStream(pair.b.log).substr(0, 14), "ZRINIT ZRINIT ");
}

TEST(ZmodemSession, LocalCancelStopsAtTheNextWait) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  std::atomic<bool> cancel{true};
  SessionConfig c = configFor(pair.b, received);
  c.timing = {10, 100000};  // a wait that would last for ever
  c.cancel = &cancel;
  EXPECT_EQ(receiveFiles(c, to.str()), kResultCancelled);
}

// A scripted sending peer on the test's thread.
class Peer : public ByteSource {
 public:
  explicit Peer(QueueChannel& channel) : channel_(channel), reader_(*this) { writer_.crc32OnTransmit = true; }
  int underflow() override {
    for (int i = 0; i < 200; ++i) {
      int c = channel_.readByte(10);
      if (c >= 0) return c;
      if (c == ByteChannel::kClosed) return -1;
    }
    return -1;
  }
  void hex(int type, long position = 0) {
    uint8_t d[4];
    storePosition(d, position);
    writer_.hexHeader(type, d);
    channel_.write(writer_.data(), writer_.size());
  }
  void binary(int type, long position = 0) {
    uint8_t d[4];
    storePosition(d, position);
    writer_.binaryHeader(type, d);
    channel_.write(writer_.data(), writer_.size());
  }
  void packet(const std::vector<uint8_t>& data, uint8_t terminator) {
    writer_.subPacket(data.data(), data.size(), terminator);
    channel_.write(writer_.data(), writer_.size());
  }
  void raw(const std::vector<uint8_t>& bytes) { channel_.write(bytes.data(), bytes.size()); }
  // Reads the data sub-packets of a frame up to its end; the terminator or a ReadError.
  int frameEnd() {
    uint8_t data[kSubPacketLength];
    size_t size = 0;
    for (;;) {
      int end = reader_.receiveData(data, sizeof data, &size);
      if (end < 0 || end == kZcrcw || end == kZcrce) return end;
    }
  }
  // Reads headers until one of the type comes; its position, or -1.
  long expect(int type) {
    uint8_t d[4];
    for (int i = 0; i < 20; ++i) {
      int got = reader_.receiveHeader(d);
      if (got == type) return loadPosition(d);
      if (got == kReadTimeout) return -1;
    }
    return -1;
  }
  // Opens a session with one file of the announced size.
  void offer(const std::string& name, long size) {
    hex(kZrqinit);
    expect(kZrinit);
    binary(kZfile);
    auto info = buildFileInfo(name, size);
    packet(info, kZcrcw);
  }

 private:
  QueueChannel& channel_;
  FrameReader reader_;
  FrameWriter writer_;
};

// After the data, what is neither ZEOF at the announced size nor more data
// fails the file with ZABORT; the part that arrived is kept for a later resume.
TEST(ZmodemReceiver, ABadEndOfFileAborts) {
  struct Case {
    int type;
    long position;
    const char* status;
  };
  for (const Case& c : {Case{kZeof, 50, "  Bad ZEOF filesize..."},
                        Case{kZfile, 0, "  Bad ZEOF -- Frame Type 4 : 00 00 00 00..."}}) {
    SCOPED_TRACE(c.status);
    TempDir to;
    ChannelPair pair;
    RecordingReporter received;
    auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
    Peer peer(pair.a);
    peer.offer("short.bin", 100);
    ASSERT_EQ(peer.expect(kZrpos), 0);
    peer.binary(kZdata, 0);
    peer.packet(std::vector<uint8_t>(50, 'x'), kZcrce);
    peer.hex(c.type, c.position);
    EXPECT_EQ(result.get(), kResultFailed);
    EXPECT_TRUE(received.saw(c.status));
    EXPECT_TRUE(received.saw("  Send ZABORT..."));
    EXPECT_EQ(readFile(to.path() / "short.bin"), std::vector<uint8_t>(50, 'x'));
  }
}

TEST(ZmodemReceiver, DataAfterAHexZdataIsRefusedAndRequestedAgain) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  std::vector<uint8_t> data(300, 'd');
  peer.offer("hexdata.bin", 300);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.hex(kZdata, 0);  // 16-bit hex header: the data after it cannot be trusted
  peer.packet(data, kZcrce);
  EXPECT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet(data, kZcrce);
  peer.binary(kZeof, 300);
  EXPECT_GE(peer.expect(kZrinit), 0);
  peer.hex(kZfin);
  EXPECT_EQ(peer.expect(kZfin), 0);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_TRUE(received.saw("  Invalid Data Packet : Request resend packet ..."));
  EXPECT_EQ(readFile(to.path() / "hexdata.bin"), data);
  EXPECT_EQ(received.lastErrors().second, 1);
}

TEST(ZmodemReceiver, ZdataAtAnotherOffsetIsAnsweredWithTheRealPosition) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.offer("gap.bin", 10);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 5);  // would leave a hole
  EXPECT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet(std::vector<uint8_t>(10, 'g'), kZcrce);
  peer.binary(kZeof, 10);
  peer.expect(kZrinit);
  peer.hex(kZfin);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_EQ(readFile(to.path() / "gap.bin"), std::vector<uint8_t>(10, 'g'));
  EXPECT_TRUE(received.saw("  Bad ZDATA, Resend ZRPOS ..."));
}

TEST(ZmodemReceiver, FiveCanInsideDataEndTheSession) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.offer("cancel.bin", 5000);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet(std::vector<uint8_t>(1024, 'c'), kZcrcg);
  peer.raw({'a', 'b', kCan, kCan, kCan, kCan, kCan, kCan, kCan, kCan});
  EXPECT_EQ(result.get(), kResultPeerAborted);
  EXPECT_TRUE(received.saw("  Sub Packet #1 received (ZCRCG)..."));
  EXPECT_TRUE(received.saw("  Send ZABORT..."));
}

TEST(ZmodemReceiver, ASenderThatFallsSilentInTheDataEndsTheSession) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.offer("silent.bin", 5000);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet(std::vector<uint8_t>(1024, 's'), kZcrcg);
  // Nothing more: the receiver asks again and again, then gives up.
  EXPECT_EQ(result.get(), kResultFailed);
  EXPECT_TRUE(received.saw("  Invalid Data Packet : Request resend packet ..."));
  // Eleven silent waits in a row: the first inside the sub-packet, nine after a ZRPOS, the last ends it.
  EXPECT_EQ(received.count("  Bad ZDATA, Resend ZRPOS ..."), 9);
  EXPECT_EQ(readFile(to.path() / "silent.bin").size(), 1024u);
}

TEST(ZmodemReceiver, AStrayFrameBeforeZfinIsAnsweredWithZrinitAgain) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.offer("end.bin", 3);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet({'e', 'n', 'd'}, kZcrce);
  peer.binary(kZeof, 3);
  ASSERT_GE(peer.expect(kZrinit), 0);
  peer.binary(kZdata, 3);  // a sender repeating its end after a duplicate ZRPOS
  ASSERT_GE(peer.expect(kZrinit), 0);
  peer.hex(kZfin);
  EXPECT_EQ(peer.expect(kZfin), 0);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_TRUE(received.saw("  Bad ZFIN..."));
  EXPECT_EQ(readFile(to.path() / "end.bin"), (std::vector<uint8_t>{'e', 'n', 'd'}));
}

TEST(ZmodemReceiver, PeerAbortAtTheStartGivesMinusFive) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.expect(kZrinit);
  peer.hex(kZabort);
  EXPECT_EQ(result.get(), kResultPeerAborted);
}

TEST(ZmodemReceiver, ANameWithPathPartsLandsInsideTheDirectory) {
  TempDir root;
  std::filesystem::create_directories(root.path() / "down");
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] {
    return receiveFiles(configFor(pair.b, received), (root.path() / "down").string() + "/");
  });
  Peer peer(pair.a);
  peer.hex(kZrqinit);
  peer.expect(kZrinit);
  peer.binary(kZfile);
  std::string info("../escape.txt\0" "3 0 0 0 1 3 0", 27);
  peer.packet(std::vector<uint8_t>(info.begin(), info.end()), kZcrcw);
  ASSERT_EQ(peer.expect(kZrpos), 0);
  peer.binary(kZdata, 0);
  peer.packet({'a', 'b', 'c'}, kZcrce);
  peer.binary(kZeof, 3);
  peer.expect(kZrinit);
  peer.hex(kZfin);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_TRUE(std::filesystem::exists(root.path() / "down" / "escape.txt"));
  EXPECT_FALSE(std::filesystem::exists(root.path() / "escape.txt"));
}

TEST(ZmodemReceiver, TwoAnnouncedFilesInOneSession) {
  TempDir to;
  ChannelPair pair;
  RecordingReporter received;
  auto result = std::async(std::launch::async, [&] { return receiveFiles(configFor(pair.b, received), to.str()); });
  Peer peer(pair.a);
  peer.hex(kZrqinit);
  peer.expect(kZrinit);
  for (int i = 0; i < 2; ++i) {
    peer.binary(kZfile);
    std::string info = std::string("f") + char('0' + i) + std::string("\0" "4 0 0 0 ", 9) + char('2' - i) +
                       std::string(" 8 0", 4);
    info.push_back(0);
    peer.packet(std::vector<uint8_t>(info.begin(), info.end()), kZcrcw);
    ASSERT_EQ(peer.expect(kZrpos), 0);
    peer.binary(kZdata, 0);
    peer.packet(std::vector<uint8_t>(4, static_cast<uint8_t>('A' + i)), kZcrce);
    peer.binary(kZeof, 4);
    ASSERT_GE(peer.expect(kZrinit), 0);
  }
  peer.hex(kZfin);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_EQ(readFile(to.path() / "f0"), std::vector<uint8_t>(4, 'A'));
  EXPECT_EQ(readFile(to.path() / "f1"), std::vector<uint8_t>(4, 'B'));
}

// Plays a receiver's start: ZRINIT with CRC-32, ZACK of ZSINIT, ZRPOS 0.
void acceptOffer(Peer& peer, uint8_t flags = kCanFullDuplex | kCanCrc32, int bufferLength = 0) {
  peer.expect(kZrqinit);
  uint8_t caps[4] = {static_cast<uint8_t>(bufferLength), static_cast<uint8_t>(bufferLength >> 8), 0, flags};
  FrameWriter w;
  w.hexHeader(kZrinit, caps);
  peer.raw({w.data(), w.data() + w.size()});
  peer.expect(kZsinit);
  peer.hex(kZack);
  peer.expect(kZfile);
  peer.hex(kZrpos, 0);
}

TEST(ZmodemSender, A2048ByteFileIsTwoZcrcqAnEmptyZcrceAndZeofAt2048) {
  TempDir from;
  writeFile(from.path() / "two.bin", randomBytes(2048, 7));
  ChannelPair pair;
  RecordingReporter sent;
  auto result = std::async(std::launch::async, [&] {
    return sendFile(configFor(pair.a, sent), (from.path() / "two.bin").string());
  });
  Peer peer(pair.b);
  acceptOffer(peer);
  peer.expect(kZdata);
  peer.hex(kZack, 1024);
  peer.hex(kZack, 2048);
  EXPECT_EQ(peer.expect(kZeof), 2048);
  peer.hex(kZrinit);
  peer.expect(kZfin);
  peer.hex(kZfin);
  ASSERT_EQ(result.get(), kResultSuccess);
  EXPECT_EQ(describeStream(pair.a.log), "ZRQINIT ZSINIT w1 ZFILE w28 ZDATA@0 q1024 q1024 e0 ZEOF@2048 ZFIN");
  EXPECT_TRUE(sent.saw("  Send Sub Packet #1 (ZCRCQ)..."));
  EXPECT_TRUE(sent.saw("  Send Sub Packet #2 (ZCRCQ)..."));
  EXPECT_TRUE(sent.saw("  Send Sub Packet #3 (Last)..."));
  // One write per header with its first sub-packet, per further sub-packet and for the "OO".
  EXPECT_EQ(pair.a.writes, 9);
}

// The data paced by the receiver's ZRINIT: a stream with a ZCRCQ every
// sixteenth sub-packet when it overlaps I/O in full duplex, frames of at most
// its buffer length when it names one, otherwise (as above) every sub-packet
// acknowledged.
TEST(ZmodemSender, DataIsPacedByTheReceiversZrinit) {
  const std::string stream = "ZDATA@0" + [] {
    std::string s;
    for (int i = 1; i <= 19; ++i) s += i == 16 ? " q1024" : " g1024";
    return s;
  }() + " e544 ZEOF@20000 ZFIN";
  struct Case {
    uint8_t flags;
    int bufferLength;
    long size;
    std::vector<long> windows;  // where the receiver acknowledges a full buffer
    std::string data;
  };
  const uint8_t duplex = kCanFullDuplex | kCanOverlapIo | kCanCrc32;
  const Case cases[] = {
      {duplex, 0, 20000, {}, stream},
      {kCanCrc32, 2048, 5000, {2048, 4096},
       "ZDATA@0 g1024 w1024 ZDATA@2048 g1024 w1024 ZDATA@4096 e904 ZEOF@5000 ZFIN"},
      {duplex, 3000, 5000, {2048, 4096}, "ZDATA@0 g1024 w1024 ZDATA@2048 g1024 w1024 ZDATA@4096 e904 ZEOF@5000 ZFIN"},
      {duplex, 512, 1300, {512, 1024}, "ZDATA@0 w512 ZDATA@512 w512 ZDATA@1024 e276 ZEOF@1300 ZFIN"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << "flags " << int(k.flags) << ", buffer " << k.bufferLength);
    TempDir from;
    const auto data = randomBytes(static_cast<size_t>(k.size), 11);
    writeFile(from.path() / "p", data);
    ChannelPair pair;
    RecordingReporter sent;
    auto result = std::async(std::launch::async, [&] {
      SessionConfig config = configFor(pair.a, sent);
      config.stream = true;
      return sendFile(config, (from.path() / "p").string());
    });
    Peer peer(pair.b);
    acceptOffer(peer, k.flags, k.bufferLength);
    for (long at : k.windows) {
      peer.expect(kZdata);
      EXPECT_EQ(peer.frameEnd(), kZcrcw);
      peer.hex(kZack, at);
    }
    EXPECT_EQ(peer.expect(kZeof), k.size);
    peer.hex(kZrinit);
    peer.expect(kZfin);
    peer.hex(kZfin);
    ASSERT_EQ(result.get(), kResultSuccess);
    const std::string wire = describeStream(pair.a.log);
    EXPECT_EQ(wire.substr(wire.find("ZDATA")), k.data);
  }
}

// The end of the file: a receiver silent after ZEOF (its ZRPOS may have been
// lost while it looks for a header at an earlier position, passing over an
// end of file elsewhere) gets a block again from the position it confirmed
// last, ended by ZCRCW, before the ZEOF; a ZACK of it short of the end sends
// the rest from there; a ZRPOS
// at the end gets the ZEOF alone, never a ZDATA with an empty first
// sub-packet (a receiver keeping a frame ahead of its position must not
// keep an empty one); an empty file is a ZEOF at 0.
TEST(ZmodemSender, TheEndOfFileIsRepeatedWithTheLastBlockAndNeverAsAnEmptyFrame) {
  struct Case {
    const char* what;
    long size;
    bool silentAfterZeof;
    long rposAfterZeof;  // -1: none
    std::string tail;    // from the first ZDATA or ZEOF
  };
  const Case cases[] = {
      {"silence", 2500, true, -1, "ZDATA@0 q1024 q1024 e452 ZEOF@2500 ZDATA@2048 w452 ZEOF@2500 ZFIN"},
      {"silence, short file", 300, true, -1, "ZDATA@0 e300 ZEOF@300 ZDATA@0 w300 ZEOF@300 ZFIN"},
      {"ZRPOS at the end", 2048, false, 2048, "ZDATA@0 q1024 q1024 e0 ZEOF@2048 ZEOF@2048 ZFIN"},
      {"ZRPOS behind", 2048, false, 1024, "ZDATA@0 q1024 q1024 e0 ZEOF@2048 ZDATA@1024 q1024 e0 ZEOF@2048 ZFIN"},
      {"empty file", 0, false, -1, "ZEOF@0 ZFIN"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempDir from;
    writeFile(from.path() / "end", randomBytes(static_cast<size_t>(k.size), 17));
    ChannelPair pair;
    RecordingReporter sent;
    auto result = std::async(std::launch::async, [&] {
      return sendFile(configFor(pair.a, sent), (from.path() / "end").string());
    });
    Peer peer(pair.b);
    acceptOffer(peer);  // full duplex without overlapped I/O: every sub-packet acknowledged
    auto acknowledge = [&](long from) {
      for (long at = (from / 1024 + 1) * 1024; at <= k.size && k.size > 0; at += 1024) peer.hex(kZack, at);
    };
    if (k.size > 0) {
      peer.expect(kZdata);
      acknowledge(0);
    }
    EXPECT_EQ(peer.expect(kZeof), k.size);
    if (k.silentAfterZeof) {
      EXPECT_EQ(peer.expect(kZdata), k.size / 1024 * 1024);  // the last position acknowledged
      EXPECT_EQ(peer.expect(kZeof), k.size);
    } else if (k.rposAfterZeof >= 0) {
      peer.hex(kZrpos, k.rposAfterZeof);
      if (k.rposAfterZeof < k.size) {
        peer.expect(kZdata);
        acknowledge(k.rposAfterZeof);
      }
      EXPECT_EQ(peer.expect(kZeof), k.size);
    }
    peer.hex(kZrinit);
    peer.expect(kZfin);
    peer.hex(kZfin);
    ASSERT_EQ(result.get(), kResultSuccess) << k.what;
    const std::string wire = describeStream(pair.a.log);
    const size_t first = std::min(wire.find("ZDATA"), wire.find("ZEOF"));
    ASSERT_NE(first, std::string::npos) << wire;
    EXPECT_EQ(wire.substr(first), k.tail);
  }
}

// A receiver that answers our ZRQINIT after its own first ZRINIT (as
// lrzsz's rz does) sends two; the sender still sends one ZSINIT and one
// ZFILE, so that no second ZACK, ZFILE and stale ZRPOS reach the data.
TEST(ZmodemSender, ASecondZrinitAndItsLateFramesBringNoSecondZsinitOrZfile) {
  TempDir from;
  writeFile(from.path() / "twice", randomBytes(3000, 9));
  ChannelPair pair;
  RecordingReporter sent;
  auto result = std::async(std::launch::async, [&] {
    return sendFile(configFor(pair.a, sent), (from.path() / "twice").string());
  });
  Peer peer(pair.b);
  const uint8_t caps[4] = {0, 0, 0, kCanFullDuplex | kCanCrc32};
  FrameWriter w;
  w.hexHeader(kZrinit, caps);
  const std::vector<uint8_t> zrinit(w.data(), w.data() + w.size());
  peer.expect(kZrqinit);
  peer.raw(zrinit);
  peer.raw(zrinit);  // the answer to the ZRQINIT, after the first one
  peer.expect(kZsinit);
  peer.hex(kZack);
  peer.expect(kZfile);
  peer.hex(kZack);  // late frames of a doubled start
  peer.raw(zrinit);
  peer.hex(kZrpos, 0);
  peer.expect(kZdata);
  peer.hex(kZack, 1024);
  peer.hex(kZack, 2048);
  EXPECT_EQ(peer.expect(kZeof), 3000);
  peer.hex(kZrinit);
  peer.expect(kZfin);
  peer.hex(kZfin);
  ASSERT_EQ(result.get(), kResultSuccess);
  EXPECT_EQ(describeStream(pair.a.log), "ZRQINIT ZSINIT w1 ZFILE w26 ZDATA@0 q1024 q1024 e952 ZEOF@3000 ZFIN");
}

// Polling for replies while streaming: bytes that cannot begin a header
// (the XON after a hex header, noise) are passed over without a wait; a
// ZPAD or a CAN is worth one short wait for the rest.
TEST(ZmodemLink, PollingWaitsOnlyWhenAHeaderMayHaveBegun) {
  struct WaitRecorder : ByteChannel {
    std::vector<uint8_t> pending;
    std::vector<int> waits;  // waitMs of every read that found nothing
    int readByte(int waitMs) override {
      if (pending.empty()) {
        waits.push_back(waitMs);
        return kNoByte;
      }
      int c = pending.front();
      pending.erase(pending.begin());
      return c;
    }
    bool write(const uint8_t*, size_t) override { return true; }
    void discardInput() override { pending.clear(); }
    void discardOutput() override {}
  };
  struct Case {
    std::vector<uint8_t> bytes;
    bool waited;
  };
  const Case cases[] = {
      {{kXon}, false},
      {{kXon | 0x80, 'x', 0}, false},
      {{'*'}, true},
      {{kXon, '*', kZdle}, true},
      {{kCan}, true},
  };
  for (const Case& k : cases) {
    WaitRecorder channel;
    channel.pending = k.bytes;
    SessionConfig config;
    config.channel = &channel;
    config.timing = {50, 3};
    Link link(config);
    EXPECT_LT(link.pollHeader(), 0);
    bool waited = false;
    for (int w : channel.waits) waited |= w > 0;
    EXPECT_EQ(waited, k.waited) << "first byte " << int(k.bytes[0]);
  }
}

// A scripted receiving peer that cancels in the middle of the data.
TEST(ZmodemSender, PeerCancelWhileWaitingForZack) {
  TempDir from;
  writeFile(from.path() / "big", randomBytes(10000, 2));
  ChannelPair pair;
  RecordingReporter sent;
  auto result = std::async(std::launch::async, [&] {
    return sendFile(configFor(pair.a, sent), (from.path() / "big").string());
  });
  Peer peer(pair.b);
  acceptOffer(peer);
  peer.expect(kZdata);
  peer.raw(std::vector<uint8_t>(8, kCan));
  EXPECT_EQ(result.get(), kResultPeerAborted);
  EXPECT_TRUE(sent.saw("  ZCAN received..."));
}

TEST(ZmodemSender, AReceiverThatTakesVariableHeadersGetsThem) {
  TempDir from;
  writeFile(from.path() / "v", randomBytes(10, 4));
  ChannelPair pair;
  RecordingReporter sent;
  auto result = std::async(std::launch::async, [&] {
    return sendFile(configFor(pair.a, sent), (from.path() / "v").string());
  });
  Peer peer(pair.b);
  peer.expect(kZrqinit);
  uint8_t caps[4] = {0, 0, kCanVariableHeaders, kCanFullDuplex | kCanCrc32};
  FrameWriter w;
  w.hexHeader(kZrinit, caps);
  peer.raw({w.data(), w.data() + w.size()});
  // The sender writes its ZSINIT (in the variable CRC-32 form, which the
  // reader here does not take) before it reads the abort queued behind.
  peer.hex(kZabort);
  EXPECT_EQ(result.get(), kResultPeerAborted);
  std::string log(pair.a.log.begin(), pair.a.log.end());
  EXPECT_NE(log.find(std::string("*\x18" "c\x04\x02", 5)), std::string::npos);  // ZSINIT, length 4
  EXPECT_NE(log.find("**\x18" "b0410"), std::string::npos);                   // the abort's ZCAN
}

// ZRPOS during the data and after ZEOF: the sender goes back to that offset.
TEST(ZmodemSender, ZrposDuringDataAndAfterZeofRewinds) {
  TempDir from;
  auto data = randomBytes(3000, 9);
  writeFile(from.path() / "r", data);
  ChannelPair pair;
  RecordingReporter sent;
  auto result = std::async(std::launch::async, [&] {
    return sendFile(configFor(pair.a, sent), (from.path() / "r").string());
  });
  Peer peer(pair.b);
  acceptOffer(peer);
  peer.expect(kZdata);
  peer.hex(kZack, 1024);
  peer.hex(kZrpos, 512);  // as if the second block were lost
  EXPECT_EQ(peer.expect(kZdata), 512);
  peer.hex(kZack, 1536);
  peer.hex(kZack, 2560);
  EXPECT_EQ(peer.expect(kZeof), 3000);
  peer.hex(kZrpos, 2560);  // the end lost too: asked again after ZEOF
  EXPECT_EQ(peer.expect(kZdata), 2560);
  EXPECT_EQ(peer.expect(kZeof), 3000);
  peer.hex(kZrinit);
  peer.expect(kZfin);
  // A receiver that grew tired of waiting repeats its final ZRINIT: the
  // sender answers with ZFIN again and takes the ZFIN that follows.
  peer.hex(kZrinit);
  peer.expect(kZfin);
  peer.hex(kZfin);
  EXPECT_EQ(result.get(), kResultSuccess);
  EXPECT_TRUE(sent.saw("  Retry at = 512..."));
  EXPECT_TRUE(sent.saw("  Rewind data packet..."));
  EXPECT_TRUE(sent.saw("  Received ZFIN..."));
  EXPECT_FALSE(sent.saw("  Received Non ZFIN..."));
}

}  // namespace
}  // namespace kesta::zlink

namespace kesta::zlink {
namespace {

using namespace test;

std::vector<uint8_t> cans(size_t n) { return std::vector<uint8_t>(n, kCan); }

std::vector<uint8_t> tailOf(const std::vector<uint8_t>& v, size_t n) {
  return n <= v.size() ? std::vector<uint8_t>(v.end() - static_cast<long>(n), v.end()) : v;
}

TEST(ZmodemAbort, TelnetSendsTenCanAndCr) {
  ChannelPair pair;
  RecordingReporter reporter;
  SessionConfig c;
  c.channel = &pair.a;
  c.reporter = &reporter;
  c.timing = {10, 20};
  c.telnet = true;
  abortSession(c, true);
  std::vector<uint8_t> expected = cans(10);
  expected.push_back('\r');
  EXPECT_EQ(pair.a.log, expected);
  EXPECT_TRUE(reporter.saw("  Send ZABORT..."));
}

TEST(ZmodemAbort, SerialSenderTriesZcanTwiceThenTenCan) {
  ChannelPair pair;
  SessionConfig c;
  c.channel = &pair.a;
  c.timing = {10, 20};
  abortSession(c, true);
  // Two ZCAN frames (the CAN bytes after them read as a cancel).
  EXPECT_EQ(describeStream(pair.a.log).substr(0, 12), "ZCAN ZCAN ?-");
  std::vector<uint8_t> expected = {kXon};
  auto ten = cans(10);
  expected.insert(expected.end(), ten.begin(), ten.end());
  EXPECT_EQ(tailOf(pair.a.log, 11), expected);
}

TEST(ZmodemAbort, SerialReceiverSendsZabortThenCanCrCan) {
  ChannelPair pair;
  SessionConfig c;
  c.channel = &pair.a;
  c.timing = {10, 20};
  abortSession(c, false);
  EXPECT_EQ(describeStream(pair.a.log).substr(0, 9), "ZABORT ?-");
  std::vector<uint8_t> expected = cans(10);
  expected.push_back('\r');
  auto more = cans(10);
  expected.insert(expected.end(), more.begin(), more.end());
  EXPECT_EQ(tailOf(pair.a.log, 21), expected);
}

TEST(ZmodemAbort, SerialReceiverStopsOnZack) {
  ChannelPair pair;
  FrameWriter w;
  const uint8_t zero[4] = {};
  w.hexHeader(kZack, zero);
  pair.b.write(w.data(), w.size());
  SessionConfig c;
  c.channel = &pair.a;
  c.timing = {10, 20};
  abortSession(c, false);
  w.hexHeader(kZabort, zero);
  EXPECT_EQ(pair.a.log, std::vector<uint8_t>(w.data(), w.data() + w.size()));
}

// The progress figures against a clock the test sets: characters per
// second since the data began, the estimate from them, the elapsed time of
// the session, and the clock text of the dialog's fields.
TEST(ZmodemProgress, FiguresFollowTheClock) {
  struct Figures : ProgressReporter {
    void status(std::string_view) override {}
    void cps(int value) override { cpsSeen = value; }
    void estimated(long seconds) override { estimatedSeen = seconds; }
    void elapsed(long seconds) override { elapsedSeen = seconds; }
    long cpsSeen = -1, estimatedSeen = -1, elapsedSeen = -1;
  };
  struct Case {
    long now, bytes, total, cps, estimated, elapsed;
  } cases[] = {
      {104, 10000, 50000, 2000, 24, 14},  // five seconds of data (the start's second counts)
      {100, 300, 3000, 300, 9, 10},       // the first second of data
      {100, 0, 3000, 0, 3000, 10},        // nothing yet: the estimate is the whole size
      {3700, 3601000, 3601000, 1000, 3597, 3610},
  };
  for (const Case& c : cases) {
    ChannelPair pair;
    Figures figures;
    long now = 0;
    SessionConfig config;
    config.channel = &pair.a;
    config.reporter = &figures;
    config.clock = [&] { return now; };
    Link link(config);
    link.options.sessionStart = 90;
    link.options.dataStart = 100;
    link.options.bytesThisTransfer = c.bytes;
    link.options.totalBytes = c.total;
    now = c.now;
    link.reportProgress();
    EXPECT_EQ(figures.cpsSeen, c.cps) << c.now << " " << c.bytes;
    EXPECT_EQ(figures.estimatedSeen, c.estimated) << c.now << " " << c.bytes;
    EXPECT_EQ(figures.elapsedSeen, c.elapsed) << c.now << " " << c.bytes;
  }
  for (auto [seconds, text] : {std::pair{0L, "00:00.00"}, {59L, "00:00.59"}, {61L, "00:01.01"},
                               {3661L, "01:01.01"}, {-5L, "00:00.00"}}) {
    EXPECT_EQ(formatClock(seconds), text) << seconds;
  }
}

}  // namespace
}  // namespace kesta::zlink
