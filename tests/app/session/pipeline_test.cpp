// The receive pipeline: two-byte characters split between chunks, the
// Ctrl+F9 abort, the download trigger, raw capture, auto-responses and the
// modem's result strings, each also split at every point.
#include <gtest/gtest.h>

#include <random>

#include "app/session/is_hangul.h"
#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

void setSlot(Session& s, int slot, std::string trigger, std::string answer, bool enabled = true) {
  s.table.slots[slot] = AutoResponseSlot{enabled, std::move(trigger), std::move(answer)};
}

TEST(PipelineCarry, LeadByteAtTheEndOfAChunkWaitsForItsPartner) {
  Session s;
  s.receive("ab\xb0");
  EXPECT_TRUE(s.pipeline.carrying());
  EXPECT_EQ(trimmed(s.windowRow(0)), "ab");
  EXPECT_EQ(s.column(), 2);
  s.receive("\x41z");
  EXPECT_FALSE(s.pipeline.carrying());
  EXPECT_EQ(trimmed(s.windowRow(0)), "ab\xb0\x41z");
}

TEST(PipelineCarry, EverySplitOfHangulTextDrawsWholeSyllables) {
  const std::string text = "\xb0\xa1\xb3\xaa \xb4\xd9\r\n\xb6\xf3";
  Session reference;
  reference.receive(text);
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    Session s;
    s.receive(text.substr(0, cut));
    s.receive(text.substr(cut));
    EXPECT_EQ(s.windowRow(0), reference.windowRow(0)) << cut;
    EXPECT_EQ(s.windowRow(1), reference.windowRow(1)) << cut;
    EXPECT_EQ(s.grid(0), reference.grid(0)) << cut;
  }
}

TEST(PipelineCarry, EmptyChunkKeepsTheCarriedByte) {
  Session s;
  s.receive("\xb0");
  s.receive("");
  EXPECT_TRUE(s.pipeline.carrying());
  s.receive("\xa1");
  EXPECT_EQ(s.windowRow(0).substr(0, 2), "\xb0\xa1");
}

TEST(PipelineCarry, CarryAgreesWithAWalkOverEveryCharacter) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 2000; ++trial) {
    std::string chunk(1 + rng() % 12, ' ');
    for (char& c : chunk) c = static_cast<char>(rng() % 3 == 0 ? 'a' : 0x80 + rng() % 128);
    Session s;
    s.receive(chunk);
    // The last byte is carried exactly when it begins a two-byte character.
    EXPECT_EQ(s.pipeline.carrying(), IsHangul(chunk.data(), chunk.size(), chunk.size() - 1) == 1) << trial;
  }
}

TEST(PipelineAbort, CtrlF9StopsTheChunkAndAsksToHangUp) {
  Session s;
  s.receive("shown");
  s.host.keysDown = {kKeyControl, kKeyF9};
  s.receive("\r\nhidden");
  EXPECT_EQ(s.host.commands, std::vector<int>{kCommandHangUp});
  EXPECT_EQ(s.row(), 0);
  EXPECT_EQ(trimmed(s.windowRow(0)), "shown");
  s.host.keysDown = {kKeyF9};
  s.receive("\r\nnext");
  EXPECT_EQ(trimmed(s.windowRow(1)), "next");
}

// Counts the questions to the key state; Ctrl+F9 goes down when the
// download command runs (the user pressed it during the transfer).
struct KeyCountingHost : RecordingHost {
  int asked = 0;
  bool keyDown(int key) override {
    ++asked;
    return RecordingHost::keyDown(key);
  }
  void postCommand(int command) override {
    RecordingHost::postCommand(command);
    if (command == kCommandReceiveFile) keysDown = {kKeyControl, kKeyF9};
  }
};

TEST(PipelineAbort, KeyStateIsAskedPerStretchNotPerByteAndAfterACommand) {
  for (std::size_t size : {std::size_t{1}, std::size_t{80}, std::size_t{4096}, std::size_t{20000}}) {
    BasicSession<KeyCountingHost> s;
    s.receive(std::string(size, 'a'));
    EXPECT_LE(s.host.asked, static_cast<int>(size / 1024 + 1) * 2) << size;
    EXPECT_GE(s.host.asked, 1) << size;
  }
  BasicSession<KeyCountingHost> s;
  s.receive("shown rz\r\nhidden");
  EXPECT_EQ(s.host.commands, (std::vector<int>{kCommandReceiveFile, kCommandHangUp}));
  EXPECT_EQ(trimmed(s.windowRow(0)), "shown");
  EXPECT_EQ(trimmed(s.windowRow(1)), "");
}

TEST(PipelineDownload, RzCarriageReturnStartsTheDownloadAndIsStillShown) {
  Session s;
  s.receive("**rz\rmore");
  EXPECT_EQ(s.host.commands, std::vector<int>{kCommandReceiveFile});
  EXPECT_EQ(trimmed(s.windowRow(0)), "more");
  s.receive("rz rz\n");
  EXPECT_EQ(s.host.commands.size(), 1u);
}

// A host whose download command lets more data arrive while it runs.
struct ReenteringHost : RecordingHost {
  ReceivePipeline* pipeline = nullptr;
  void postCommand(int command) override {
    RecordingHost::postCommand(command);
    if (command == kCommandReceiveFile) {
      std::string more(5000, 'm');
      pipeline->receive(more.data(), more.size());
    }
  }
};

TEST(PipelineDownload, DataArrivingDuringTheDownloadCommandDoNotDisturbTheChunk) {
  BasicSession<ReenteringHost> s;
  s.host.pipeline = &s.pipeline;
  s.receive("rz\r" + std::string(3000, 'a') + "\r\nend");
  EXPECT_EQ(s.host.commands, std::vector<int>{kCommandReceiveFile});
  EXPECT_EQ(trimmed(s.grid(1)), "end");
}

TEST(PipelineDownload, TriggerSplitAtEveryPointFiresOnce) {
  const std::string text = "xrz\ry";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    for (std::size_t cut2 = cut; cut2 <= text.size(); ++cut2) {
      Session s;
      s.receive(text.substr(0, cut));
      s.receive(text.substr(cut, cut2 - cut));
      s.receive(text.substr(cut2));
      EXPECT_EQ(s.host.commands, std::vector<int>{kCommandReceiveFile}) << cut << "," << cut2;
    }
  }
}

TEST(PipelineCapture, RawCaptureTakesEveryByteAsReceived) {
  Session s;
  s.pipeline.setRawCapture(true);
  s.receive("a\x1b[31mb\xb0");
  s.receive("\xa1");
  EXPECT_EQ(s.host.capture, "a\x1b[31mb\xb0\xa1");
}

TEST(PipelineAutoResponse, TriggerAnswersWithConvertedTextAndCarriageReturn) {
  Session s;
  s.terminal.setConverter(caseConverter);
  s.terminal.setHostCode(5);
  setSlot(s, 0, "LOGIN:", "GUEST");
  s.receive("Please login:");
  ASSERT_EQ(s.host.sent.size(), 1u);
  EXPECT_EQ(s.host.sent[0], "guest\r");
  EXPECT_EQ(trimmed(s.windowRow(0)), "PLEASE LOGIN:");
}

TEST(PipelineAutoResponse, MismatchDoesNotRetryTheByteAsAFirstByte) {
  Session s;
  setSlot(s, 0, "ID:", "kim");
  s.receive("IID:");
  EXPECT_TRUE(s.host.sent.empty());
  s.receive(" ID:");
  EXPECT_EQ(s.host.sent, std::vector<std::string>{"kim\r"});
}

TEST(PipelineAutoResponse, SlotsAnswerInOrderAndDisabledOrEmptyNever) {
  Session s;
  setSlot(s, 3, "go", "second");
  setSlot(s, 1, "go", "first");
  setSlot(s, 2, "go", "off", false);
  setSlot(s, 4, "", "empty");
  s.receive("go");
  EXPECT_EQ(s.host.sent, (std::vector<std::string>{"first\r", "second\r"}));
}

TEST(PipelineAutoResponse, TriggerSplitAtEveryPointFires) {
  const std::string text = "Password:";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    Session s;
    setSlot(s, 5, "word:", "secret");
    s.receive(text.substr(0, cut));
    s.receive(text.substr(cut));
    EXPECT_EQ(s.host.sent, std::vector<std::string>{"secret\r"}) << cut;
  }
}

TEST(PipelineAutoResponse, TableIsReloadedEveryChunkAndKeptWhenMissing) {
  Session s;
  setSlot(s, 0, "a", "1");
  s.receive("x");
  s.table.available = false;
  s.receive("a");
  EXPECT_EQ(s.host.sent, std::vector<std::string>{"1\r"});
  s.table.available = true;
  setSlot(s, 0, "b", "2");
  s.receive("ab");
  EXPECT_EQ(s.host.sent, (std::vector<std::string>{"1\r", "2\r"}));
  EXPECT_EQ(s.table.loads, 3);
}

TEST(PipelineAutoResponse, TriggersFollowAChangeOfHostCode) {
  Session s;
  s.terminal.setConverter(caseConverter);
  setSlot(s, 0, "LOGIN", "X");
  s.receive("login");
  EXPECT_TRUE(s.host.sent.empty());
  s.terminal.setHostCode(5);
  s.receive("login");
  EXPECT_EQ(s.host.sent, std::vector<std::string>{"x\r"});
}

TEST(PipelineAutoResponse, LongAnswerIsCutNotOverflowed) {
  Session s;
  s.terminal.setConverter(doublingConverter);
  s.terminal.setHostCode(5);
  setSlot(s, 0, "q", std::string(400, 'w'));
  s.receive("q");
  ASSERT_EQ(s.host.sent.size(), 1u);
  EXPECT_LT(s.host.sent[0].size(), 300u);
  EXPECT_EQ(s.host.sent[0].back(), '\r');
}

TEST(PipelineModem, ConnectSplitAtEveryPointIsRecognised) {
  const std::string text = "\r\nCONNECT 14400\r\n";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    Session s;
    s.receive(text.substr(0, cut));
    s.receive(text.substr(cut));
    EXPECT_EQ(s.host.statusTexts, (std::vector<std::pair<int, std::string>>{{0, "Connected"}})) << cut;
    EXPECT_EQ(s.host.events, (std::vector<std::string>{"timer restart", "end dialling"})) << cut;
  }
}

TEST(PipelineModem, KoreanTextsAndSoundsWithBackgroundMusic) {
  Session s;
  s.host.korean = true;
  s.host.voice = true;
  s.host.music = true;
  s.receive("CONNECT");
  EXPECT_EQ(s.host.statusTexts.back(), (std::pair<int, std::string>{0, "연결잘됨"}));
  EXPECT_EQ(s.host.events, (std::vector<std::string>{"timer restart", "end dialling", "music stop",
                                                     "play C:\\KESTA\\wav\\connect.wav", "music start"}));
  s.host.events.clear();
  s.host.music = false;
  s.receive("NO CARRIER");
  EXPECT_EQ(s.host.statusTexts.back(), (std::pair<int, std::string>{0, "연결안됨"}));
  EXPECT_EQ(s.host.events, (std::vector<std::string>{"timer stop", "play C:\\KESTA\\wav\\hang.wav"}));
}

TEST(PipelineModem, NoCarrierDisconnectsAndOkOnlyWhileAwaitingHangUp) {
  Session s;
  s.receive("OK");
  EXPECT_TRUE(s.host.statusTexts.empty());
  s.pipeline.setAwaitingHangUp(true);
  s.receive("O");
  s.receive("K");
  EXPECT_EQ(s.host.statusTexts, (std::vector<std::pair<int, std::string>>{{3, "00:00:00"}, {0, "Disconnected"}}));
  EXPECT_FALSE(s.pipeline.awaitingHangUp());
  s.host.statusTexts.clear();
  s.receive("OK");
  EXPECT_TRUE(s.host.statusTexts.empty());
  s.pipeline.setAwaitingHangUp(true);
  s.receive("NO CARRIER");
  EXPECT_EQ(s.host.statusTexts.back().second, "Disconnected");
  EXPECT_FALSE(s.pipeline.awaitingHangUp());
}

TEST(PipelineModem, ConnectClearsAwaitingHangUp) {
  Session s;
  s.pipeline.setAwaitingHangUp(true);
  s.receive("CONNECT");
  EXPECT_FALSE(s.pipeline.awaitingHangUp());
}

}  // namespace
}  // namespace kesta::session::testing
