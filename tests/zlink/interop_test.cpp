// Our engine against Debian's lrzsz (sz and rz) over socket pairs, and
// kesta-cli sz and rz against lrzsz and each other.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <future>

#include "tests/zlink/lrzsz_harness.h"
#include "tests/zlink/test_channels.h"
#include "zlink/fd_channel.h"
#include "zlink/session.h"

namespace kesta::zlink {
namespace {

using namespace test;

// Character time-out for our side: 30 waits of 100 ms. A broken peer ends a
// session within seconds.
constexpr Timing kInteropTiming{100, 30};

SessionConfig configFor(ByteChannel& channel, ProgressReporter& reporter) {
  SessionConfig c;
  c.channel = &channel;
  c.reporter = &reporter;
  c.timing = kInteropTiming;
  return c;
}

// The last status texts, for a failure's message.
std::string lastStatuses(RecordingReporter& reporter, size_t count = 25) {
  auto all = reporter.statuses();
  std::string out;
  for (size_t i = all.size() > count ? all.size() - count : 0; i < all.size(); ++i) out += all[i] + "\n";
  return out;
}

class Interop : public ::testing::Test {
 protected:
  void SetUp() override { std::signal(SIGPIPE, SIG_IGN); }
  TempDir from, to;
};

// sz sends from `from`; our receiver writes into `to`. Direct, or through a relay.
int receiveFromSz(const std::string& name, const TempDir& from, const TempDir& to, RecordingReporter& reporter,
                  unsigned corruptOneIn = 0, int* szStatus = nullptr, std::vector<uint8_t>* wire = nullptr) {
  SocketPair ours, theirs;
  Child sz({"sz", "-q", name}, from.str(), theirs.fd[1]);
  theirs.closeEnd(1);
  Relay relay(ours.fd[1], theirs.fd[0], corruptOneIn, 2024);
  FdChannel channel(ours.fd[0], ours.fd[0]);
  int result = receiveFiles(configFor(channel, reporter), to.str());
  ours.closeEnd(0);
  int status = sz.wait();
  if (szStatus) *szStatus = status;
  relay.stop();
  if (wire) *wire = relay.passed(1);
  return result;
}

// Our sender sends from `from`; rz (with `rzArguments`) writes into `to`.
int sendToRz(const std::string& name, const TempDir& from, const TempDir& to, RecordingReporter& reporter,
             unsigned corruptOneIn = 0, int* rzStatus = nullptr, std::vector<uint8_t>* wire = nullptr,
             const std::vector<std::string>& rzArguments = {"rz", "-q", "-y"}, bool drop = false,
             uint32_t seed = 4048, bool stream = false) {
  SocketPair ours, theirs;
  Child rz(rzArguments, to.str(), theirs.fd[1]);
  theirs.closeEnd(1);
  Relay relay(ours.fd[1], theirs.fd[0], corruptOneIn, seed, drop);
  FdChannel channel(ours.fd[0], ours.fd[0]);
  SessionConfig config = configFor(channel, reporter);
  config.stream = stream;
  int result = sendFile(config, (from.path() / name).string());
  ours.closeEnd(0);
  int status = rz.wait();
  if (rzStatus) *rzStatus = status;
  relay.stop();
  if (wire) *wire = relay.passed(0);
  return result;
}

class InteropSizes : public Interop, public ::testing::WithParamInterface<size_t> {};

TEST_P(InteropSizes, OurReceiverGetsIdenticalFilesFromSz) {
  auto data = randomBytes(GetParam(), static_cast<uint32_t>(GetParam()) + 11);
  writeFile(from.path() / "in.bin", data);
  RecordingReporter reporter;
  int szStatus = -9;
  EXPECT_EQ(receiveFromSz("in.bin", from, to, reporter, 0, &szStatus), kResultSuccess);
  EXPECT_EQ(szStatus, 0);
  EXPECT_EQ(readFile(to.path() / "in.bin"), data);
  EXPECT_TRUE(reporter.saw("  End of Receive ZMODEM Session..."));
}

TEST_P(InteropSizes, RzGetsIdenticalFilesFromOurSender) {
  auto data = randomBytes(GetParam(), static_cast<uint32_t>(GetParam()) + 13);
  writeFile(from.path() / "out.bin", data);
  RecordingReporter reporter;
  int rzStatus = -9;
  EXPECT_EQ(sendToRz("out.bin", from, to, reporter, 0, &rzStatus), kResultSuccess);
  EXPECT_EQ(rzStatus, 0);
  EXPECT_EQ(readFile(to.path() / "out.bin"), data);
  EXPECT_TRUE(reporter.saw("  End of Send ZMODEM Session..."));
}

INSTANTIATE_TEST_SUITE_P(Sizes, InteropSizes, ::testing::Values(0, 1, 1023, 1024, 1025, 2048, 4 * 1024 * 1024));

TEST_F(Interop, ReceivedFilesKeepTheTimeSzSent) {
  // Seconds since 1970 UTC, as the file's time on the sending side.
  const std::time_t times[] = {86400, 1000000000, 1700000000, 2000000000};
  for (std::time_t t : times) {
    TempDir source, target;
    writeFile(source.path() / "dated.bin", randomBytes(300, 7));
    const timeval both[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(utimes((source.path() / "dated.bin").c_str(), both), 0);
    RecordingReporter reporter;
    ASSERT_EQ(receiveFromSz("dated.bin", source, target, reporter), kResultSuccess) << lastStatuses(reporter);
    struct stat st {};
    ASSERT_EQ(stat((target.path() / "dated.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, t);
  }
}

TEST_F(Interop, OurSubPacketsToRzForA2048ByteFile) {
  writeFile(from.path() / "two.bin", randomBytes(2048, 5));
  RecordingReporter reporter;
  std::vector<uint8_t> wire;
  ASSERT_EQ(sendToRz("two.bin", from, to, reporter, 0, nullptr, &wire), kResultSuccess);
  std::string frames = describeStream(wire);
  // rz may make the sender start the data again; the last data frame is whole.
  size_t last = frames.rfind("ZDATA@");
  ASSERT_NE(last, std::string::npos) << frames;
  std::string tail = frames.substr(last);
  // Streaming turned off, every sub-packet waits for rz's ZACK.
  EXPECT_TRUE(tail == "ZDATA@0 q1024 q1024 e0 ZEOF@2048 ZFIN" || tail == "ZDATA@1024 q1024 e0 ZEOF@2048 ZFIN")
      << frames;
  EXPECT_EQ(frames.find('g'), std::string::npos) << frames;  // never streamed
  EXPECT_EQ(readFile(to.path() / "two.bin"), readFile(from.path() / "two.bin"));
}

TEST_F(Interop, OurReceiverResumesAPartialFileFromSz) {
  auto data = randomBytes(300000, 21);
  writeFile(from.path() / "resume.bin", data);
  writeFile(to.path() / "resume.bin", std::vector<uint8_t>(data.begin(), data.begin() + 3000));
  RecordingReporter reporter;
  std::vector<uint8_t> wire;
  EXPECT_EQ(receiveFromSz("resume.bin", from, to, reporter, 0, nullptr, &wire), kResultSuccess);
  EXPECT_EQ(readFile(to.path() / "resume.bin"), data);
  EXPECT_TRUE(reporter.saw("  Recovery at 3000..."));
  EXPECT_EQ(reporter.thisFile().front(), 3000);
  EXPECT_NE(describeStream(wire).find("ZDATA@3000"), std::string::npos);
}

TEST_F(Interop, CorruptingRelayStillDeliversFromSz) {
  auto data = randomBytes(256 * 1024, 31);
  writeFile(from.path() / "noisy.bin", data);
  RecordingReporter reporter;
  std::vector<uint8_t> wire;
  EXPECT_EQ(receiveFromSz("noisy.bin", from, to, reporter, 2000, nullptr, &wire), kResultSuccess) << lastStatuses(reporter);
  EXPECT_EQ(readFile(to.path() / "noisy.bin"), data);
  EXPECT_GT(reporter.lastErrors().second, 0);  // the noise was noticed and mended
  EXPECT_TRUE(reporter.saw("  Invalid Data Packet : Request resend packet ..."));
}

// A relay that flips bits, then one that drops bytes: our sender recovers.
TEST_F(Interop, CorruptingRelayStillDeliversToRz) {
  auto data = randomBytes(256 * 1024, 41);
  writeFile(from.path() / "noisy.bin", data);
  for (bool drop : {false, true}) {
    SCOPED_TRACE(drop ? "dropping" : "corrupting");
    std::filesystem::remove(to.path() / "noisy.bin");
    RecordingReporter reporter;
    EXPECT_EQ(sendToRz("noisy.bin", from, to, reporter, 2000, nullptr, nullptr, {"rz", "-q", "-y"}, drop),
              kResultSuccess) << lastStatuses(reporter);
    EXPECT_EQ(readFile(to.path() / "noisy.bin"), data);
    bool retried = false;
    for (const auto& s : reporter.statuses()) retried |= s.rfind("  Retry at = ", 0) == 0;
    EXPECT_TRUE(retried);
  }
}

// Streamed through a relay that flips or drops one byte in 2,000, with
// several seeds (KESTA_NOISE_SEEDS for more), and to rz -e: every run
// delivers the whole file. A lost reply to the end of file once left rz
// looking for a header at an earlier position while the sender repeated
// ZEOF; a ZDATA with an empty first sub-packet ahead of rz's position made
// it loop for ever once it got there.
TEST_F(Interop, StreamedThroughANoisyRelayRzGetsTheWholeFile) {
  auto data = randomBytes(128 * 1024, 43);
  writeFile(from.path() / "noisy.bin", data);
  const char* more = std::getenv("KESTA_NOISE_SEEDS");
  const int seeds = more ? std::atoi(more) : 3;
  struct Case {
    const char* what;
    bool drop;
    std::vector<std::string> rz;
  };
  const Case cases[] = {{"corrupting", false, {"rz", "-q", "-y"}},
                        {"dropping", true, {"rz", "-q", "-y"}},
                        {"corrupting, rz -e", false, {"rz", "-q", "-y", "-e"}},
                        {"dropping, rz -e", true, {"rz", "-q", "-y", "-e"}}};
  for (const Case& c : cases) {
    for (int seed = 1; seed <= seeds; ++seed) {
      SCOPED_TRACE(::testing::Message() << c.what << ", seed " << seed);
      std::filesystem::remove(to.path() / "noisy.bin");
      RecordingReporter reporter;
      int rzStatus = -9;
      ASSERT_EQ(sendToRz("noisy.bin", from, to, reporter, 2000, &rzStatus, nullptr, c.rz, c.drop,
                         static_cast<uint32_t>(seed * 7919), true),
                kResultSuccess)
          << lastStatuses(reporter, 60);
      EXPECT_EQ(rzStatus, 0);
      ASSERT_EQ(readFile(to.path() / "noisy.bin"), data);
    }
  }
}

// What rz asks of our sender: escaped control characters (rz -e) come out
// with no raw control byte in the data; a file rz already has (no -y) is
// skipped, the session closes and the copy there stays as it was.
TEST_F(Interop, OurSenderFollowsWhatRzAsks) {
  auto data = randomBytes(64 * 1024, 71);
  writeFile(from.path() / "ask.bin", data);
  RecordingReporter escaped;
  std::vector<uint8_t> wire;
  EXPECT_EQ(sendToRz("ask.bin", from, to, escaped, 0, nullptr, &wire, {"rz", "-q", "-y", "-e"}), kResultSuccess)
      << lastStatuses(escaped);
  EXPECT_EQ(readFile(to.path() / "ask.bin"), data);
  // Between frames the sender pads with NUL bytes; inside them every
  // control byte but ZDLE, the hex headers' CR LF and XON is escaped.
  size_t raw = 0;
  for (uint8_t b : wire) {
    const uint8_t low = b & 0x7F;
    raw += b != 0 && low < 0x20 && b != kZdle && low != '\r' && low != '\n' && b != kXon;
  }
  EXPECT_EQ(raw, 0u) << "control bytes left unescaped";

  const std::vector<uint8_t> theirs(1000, 0x55);
  writeFile(to.path() / "ask.bin", theirs);
  RecordingReporter skipped;
  EXPECT_EQ(sendToRz("ask.bin", from, to, skipped, 0, nullptr, nullptr, {"rz", "-q"}), kResultFailed)
      << lastStatuses(skipped);
  bool sawSkip = false;  // ZSKIP is frame type 5
  for (const auto& status : skipped.statuses()) sawSkip |= status.rfind("  Bad ZRPOS -- Frame Type 5 :", 0) == 0;
  EXPECT_TRUE(sawSkip) << lastStatuses(skipped);
  EXPECT_EQ(readFile(to.path() / "ask.bin"), theirs);
}

// The receiver's failure exits against sz: a file that cannot be created
// (its directory is gone) gives -1; a write that fails part-way (a 128 KiB
// file system fills up) gives -11 and keeps what arrived, for a later
// recovery.
TEST_F(Interop, OurReceiverFailsCleanlyWhenItCannotWrite) {
  auto data = randomBytes(400000, 61);
  writeFile(from.path() / "fail.bin", data);
  std::filesystem::remove_all(to.path());
  RecordingReporter gone;
  EXPECT_EQ(receiveFromSz("fail.bin", from, to, gone), kResultCannotCreate) << lastStatuses(gone);
  EXPECT_TRUE(gone.saw("  ZMODEM error : unable to write file..."));

  std::filesystem::create_directories(to.path());
  const std::string mount = "mount -t tmpfs -o size=128k kesta-full '" + to.str() + "' 2>/dev/null";
  if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "a small file system needs mount (root)";
  RecordingReporter full;
  const int result = receiveFromSz("fail.bin", from, to, full);
  const auto kept = std::filesystem::exists(to.path() / "fail.bin") ? readFile(to.path() / "fail.bin")
                                                                     : std::vector<uint8_t>();
  std::system(("umount '" + to.str() + "'").c_str());
  EXPECT_EQ(result, kResultFileError) << lastStatuses(full);
  EXPECT_GT(kept.size(), 0u);
  EXPECT_LT(kept.size(), data.size());
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), data.begin())) << "the kept part is what was sent";
}

// Reports each received sub-packet, so a test can act in the middle of data.
class InterruptingReporter : public RecordingReporter {
 public:
  explicit InterruptingReporter(std::function<void()> act) : act_(std::move(act)) {}
  void status(std::string_view text) override {
    RecordingReporter::status(text);
    if (text.find("Sub Packet #20 ") != std::string_view::npos) act_();
  }

 private:
  std::function<void()> act_;
};

TEST_F(Interop, SzInterruptedMidwayCancelsOurReceiver) {
  writeFile(from.path() / "big.bin", randomBytes(4 * 1024 * 1024, 51));
  SocketPair pair;
  Child sz({"sz", "-q", "big.bin"}, from.str(), pair.fd[1]);
  pair.closeEnd(1);
  InterruptingReporter reporter([&] { sz.signal(SIGTERM); });
  FdChannel channel(pair.fd[0], pair.fd[0]);
  int result = receiveFiles(configFor(channel, reporter), to.str());
  EXPECT_EQ(result, kResultPeerAborted) << lastStatuses(reporter);
  EXPECT_NE(sz.wait(), 0);
}

TEST_F(Interop, RzInterruptedMidwayCancelsOurSender) {
  writeFile(from.path() / "big.bin", randomBytes(4 * 1024 * 1024, 52));
  SocketPair pair;
  Child rz({"rz", "-q", "-y"}, to.str(), pair.fd[1]);
  pair.closeEnd(1);
  std::atomic<bool> signalled{false};
  struct Reporter : RecordingReporter {
    std::function<void()> act;
    int packets = 0;
    void status(std::string_view text) override {
      RecordingReporter::status(text);
      if (text.starts_with("  Send Sub Packet #") && ++packets == 20) act();
    }
  } reporter;
  reporter.act = [&] {
    rz.signal(SIGTERM);
    signalled = true;
  };
  FdChannel channel(pair.fd[0], pair.fd[0]);
  int result = sendFile(configFor(channel, reporter), (from.path() / "big.bin").string());
  EXPECT_TRUE(signalled.load());
  EXPECT_EQ(result, kResultPeerAborted) << lastStatuses(reporter);
  EXPECT_TRUE(reporter.saw("  ZCAN received..."));
}

// kesta-cli sz and rz over their standard input and output.
const std::string kCli = KESTA_CLI_PATH;

TEST_F(Interop, CliSzIntoRzAndSzIntoCliRz) {
  auto data = randomBytes(200000, 61);
  writeFile(from.path() / "cli.bin", data);
  {
    SocketPair pair;
    Child ours({kCli, "sz", "--timeout", "30", (from.path() / "cli.bin").string()}, from.str(), pair.fd[0]);
    Child rz({"rz", "-q", "-y"}, to.str(), pair.fd[1]);
    pair.closeEnd(0);
    pair.closeEnd(1);
    EXPECT_EQ(ours.wait(), 0);
    EXPECT_EQ(rz.wait(), 0);
    EXPECT_EQ(readFile(to.path() / "cli.bin"), data);
  }
  TempDir again;
  {
    SocketPair pair;
    std::string log = (again.path() / "stderr.txt").string();
    Child sz({"sz", "-q", "cli.bin"}, from.str(), pair.fd[0]);
    Child ours({kCli, "rz", "--timeout", "30", again.str()}, again.str(), pair.fd[1], log);
    pair.closeEnd(0);
    pair.closeEnd(1);
    EXPECT_EQ(sz.wait(), 0);
    EXPECT_EQ(ours.wait(), 0);
    EXPECT_EQ(readFile(again.path() / "cli.bin"), data);
    auto text = readFile(log);
    std::string err(text.begin(), text.end());
    EXPECT_NE(err.find("  End of Receive ZMODEM Session...\n"), std::string::npos) << err;
  }
}

TEST_F(Interop, CliTelnetPairDoublesFfOnTheWire) {
  std::vector<uint8_t> data(5000, 0xFF);
  writeFile(from.path() / "ff.bin", data);
  SocketPair left, right;
  Child sender({kCli, "sz", "--telnet", "--quiet", "--timeout", "30", (from.path() / "ff.bin").string()}, from.str(),
               left.fd[0]);
  Child receiver({kCli, "rz", "--telnet", "--quiet", "--timeout", "30", to.str()}, to.str(), right.fd[0]);
  left.closeEnd(0);
  right.closeEnd(0);
  Relay relay(left.fd[1], right.fd[1]);
  EXPECT_EQ(sender.wait(), 0);
  EXPECT_EQ(receiver.wait(), 0);
  relay.stop();
  EXPECT_EQ(readFile(to.path() / "ff.bin"), data);
  auto wire = relay.passed(0);
  size_t pairs = 0;
  for (size_t i = 0; i + 1 < wire.size(); ++i) {
    if (wire[i] == 0xFF && wire[i + 1] == 0xFF) {
      ++pairs;
      ++i;
    } else {
      EXPECT_NE(wire[i], 0xFF) << "a lone 0xFF at " << i;
    }
  }
  EXPECT_GE(pairs, data.size());
}

TEST_F(Interop, CliExitStatuses) {
  SocketPair pair;
  // A peer that says nothing and goes away: failure, status 1.
  Child ours({kCli, "rz", "--quiet", "--timeout", "2", to.str()}, to.str(), pair.fd[0]);
  pair.closeEnd(0);
  pair.closeEnd(1);
  EXPECT_EQ(ours.wait(), 1);
  Child badArgs({kCli, "sz", "--timeout", "x", "f"}, to.str(), -1);
  EXPECT_EQ(badArgs.wait(), 2);
  Child noFile({kCli, "sz"}, to.str(), -1);
  EXPECT_EQ(noFile.wait(), 2);
  Child missing({kCli, "sz", "/nonexistent/file"}, to.str(), -1);
  EXPECT_EQ(missing.wait(), 1);
  Child directory({kCli, "sz", to.str()}, to.str(), -1);
  EXPECT_EQ(directory.wait(), 1);
  Child notADirectory({kCli, "rz", "/nonexistent/dir"}, to.str(), -1);
  EXPECT_EQ(notADirectory.wait(), 1);
  Child help({kCli, "rz", "--help"}, to.str(), -1);
  EXPECT_EQ(help.wait(), 0);
}

// A peer that takes no byte: a write gives up after its limit instead of
// waiting for ever, whether the socket does not block or blocks with a
// send time-out of its own.
TEST(FdChannelWrites, APeerThatStopsReadingFailsTheWriteAfterTheLimit) {
  struct Case {
    const char* what;
    bool nonBlocking;
    int sendTimeoutMs;  // 0: none
  };
  for (const Case& c : {Case{"non-blocking", true, 0}, Case{"send time-out", false, 100}}) {
    SocketPair pair;
    if (c.nonBlocking) ::fcntl(pair.fd[0], F_SETFL, ::fcntl(pair.fd[0], F_GETFL) | O_NONBLOCK);
    if (c.sendTimeoutMs) {
      timeval limit{0, c.sendTimeoutMs * 1000};
      ::setsockopt(pair.fd[0], SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }
    FdChannel channel(pair.fd[0], pair.fd[0]);
    channel.setWriteLimitMs(300);
    std::vector<uint8_t> block(1 << 20, 0x55);
    bool failed = false;
    for (int i = 0; i < 64 && !failed; ++i) failed = !channel.write(block.data(), block.size());  // 64 MB at most
    EXPECT_TRUE(failed) << c.what;
  }
}

}  // namespace
}  // namespace kesta::zlink
