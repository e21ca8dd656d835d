// The Dialing dialog's model over a clock the test drives: each tick is a
// second, each pause advances the clock by what it asks for. Every call on
// the ports is recorded with the time it was made.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/connection/dialler.h"

namespace kesta::shell {
namespace {

struct Event {
  long long at;      // milliseconds on the test's clock
  std::string what;  // "write ATDT 0123\r", "connect host:23", "close", "show 52", ...
};

class RecordingPorts : public DiallerPorts {
 public:
  void writeSerial(std::string_view bytes) override { add("write " + std::string(bytes)); }
  void pause(int milliseconds) override { now += milliseconds; }
  bool connectTelnet(const session::HostAndPort& host) override {
    add("connect " + host.host + ":" + std::to_string(host.port));
    return !refuse;
  }
  void closeTelnet() override { add("close"); }
  void startTimer() override { add("start"), timerRunning = true; }
  void stopTimer() override { add("stop"), timerRunning = false; }
  void showSeconds(int seconds) override { add("show " + std::to_string(seconds)), shown = seconds; }
  void messageBox(std::string_view text, std::string_view title) override {
    add("box " + std::string(text) + " / " + std::string(title));
    if (whileBoxOpen) std::exchange(whileBoxOpen, nullptr)();  // the user reads the box
  }
  void closeDialog() override { add("closeDialog"); }

  // The calls made so far that begin with `prefix`.
  std::vector<std::string> whats(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const auto& e : events)
      if (e.what.starts_with(prefix)) found.push_back(e.what);
    return found;
  }

  long long now = 0;
  bool refuse = false;
  bool timerRunning = false;
  int shown = -99;
  std::function<void()> whileBoxOpen;
  std::vector<Event> events;

 private:
  void add(std::string what) { events.push_back({now, std::move(what)}); }
};

settings::PhoneBookEntry modemEntry() { return settings::parsePhoneBookLine("Board\t0123\t38400\tN-8-1"); }
settings::PhoneBookEntry hostEntry() { return settings::parsePhoneBookLine("Local\t127.0.0.1:2323"); }

// A tick of the one-second timer, while it runs.
void tick(RecordingPorts& ports, Dialler& dialler, int count = 1) {
  for (int i = 0; i < count; ++i) {
    ports.now += 1000;
    if (ports.timerRunning) dialler.tick();
  }
}

TEST(Dialler, DialsAModemWithTheExactCommandAndCountsDown) {
  EXPECT_EQ(dialCommand("0123"), "ATDT 0123\r");
  RecordingPorts ports;
  Dialler dialler(ports);
  dialler.start(modemEntry());
  EXPECT_TRUE(dialler.dialling());
  ASSERT_EQ(ports.whats("write"), std::vector<std::string>{"write ATDT 0123\r"});
  EXPECT_TRUE(ports.timerRunning);
  struct Case {
    int ticks;
    int shown;
  };
  int done = 0;
  for (Case c : {Case{0, 52}, Case{1, 51}, Case{2, 50}, Case{30, 22}, Case{52, 0}}) {
    tick(ports, dialler, c.ticks - done);
    done = c.ticks;
    EXPECT_EQ(ports.shown, c.shown) << c.ticks << " ticks";
    EXPECT_EQ(ports.whats("write").size(), 1u) << "no redial before the counter runs below 0";
  }
}

TEST(Dialler, NoAnswerGivesEscapeAPauseAndARedialEvery53Ticks) {
  RecordingPorts ports;
  Dialler dialler(ports);
  dialler.start(modemEntry());
  for (int round = 1; round <= 3; ++round) {
    tick(ports, dialler, 53);
    std::vector<std::string> writes = ports.whats("write");
    ASSERT_EQ(writes.size(), 1u + 2 * round);
    EXPECT_EQ(writes[writes.size() - 2], "write \x1b");
    EXPECT_EQ(writes.back(), "write ATDT 0123\r");
    EXPECT_EQ(ports.shown, 52);
    EXPECT_TRUE(ports.timerRunning);
  }
  // Between each ESC and the dial command that follows it: at least a second.
  long long escapeAt = -1;
  int redials = 0;
  for (const Event& e : ports.events) {
    if (e.what == "write \x1b") escapeAt = e.at;
    if (e.what == "write ATDT 0123\r" && escapeAt >= 0) {
      EXPECT_GE(e.at - escapeAt, 1000);
      ++redials;
    }
  }
  EXPECT_EQ(redials, 3);
}

TEST(Dialler, CancelSendsEscapeToAModemAndClosesAHost) {
  struct Case {
    settings::PhoneBookEntry entry;
    std::vector<std::string> tail;  // the calls Cancel makes
  };
  const Case cases[] = {
      {modemEntry(), {"stop", "write \x1b", "closeDialog"}},
      {hostEntry(), {"stop", "close", "closeDialog"}},
  };
  for (const Case& c : cases) {
    RecordingPorts ports;
    Dialler dialler(ports);
    dialler.start(c.entry);
    tick(ports, dialler, 3);
    std::size_t before = ports.events.size();
    dialler.cancel();
    std::vector<std::string> calls;
    for (std::size_t i = before; i < ports.events.size(); ++i) calls.push_back(ports.events[i].what);
    EXPECT_EQ(calls, c.tail) << c.entry.number;
    EXPECT_FALSE(dialler.dialling());
    EXPECT_FALSE(ports.timerRunning);
  }
}

TEST(Dialler, AHostIsTriedOncePerRoundOnTheSecondTickWithItsPort) {
  RecordingPorts ports;
  Dialler dialler(ports);
  dialler.start(hostEntry());
  EXPECT_TRUE(ports.whats("write").empty());
  tick(ports, dialler);
  EXPECT_TRUE(ports.whats("connect").empty());
  tick(ports, dialler);
  EXPECT_EQ(ports.whats("connect"), std::vector<std::string>{"connect 127.0.0.1:2323"});
  // The host says nothing: each round of 53 ticks makes exactly one more attempt.
  for (int round = 1; round <= 3; ++round) {
    tick(ports, dialler, 53);
    EXPECT_EQ(ports.whats("connect").size(), 1u + round);
  }
  // Every connect is preceded by closing whatever socket was open.
  for (std::size_t i = 0; i < ports.events.size(); ++i) {
    if (!ports.events[i].what.starts_with("connect")) continue;
    ASSERT_GT(i, 0u);
    EXPECT_EQ(ports.events[i - 1].what, "close");
  }
}

TEST(Dialler, RetryOnAHostConnectsOnceAndTheCountdownDoesNotConnectAgain) {
  for (int ticksBeforeRetry : {1, 2, 10}) {
    RecordingPorts ports;
    Dialler dialler(ports);
    dialler.start(hostEntry());
    tick(ports, dialler, ticksBeforeRetry);
    std::size_t before = ports.whats("connect").size();
    dialler.retry();
    EXPECT_EQ(ports.whats("connect").size(), before + 1);
    tick(ports, dialler, 52);  // the whole new round, up to 0
    EXPECT_EQ(ports.whats("connect").size(), before + 1) << "after retry at tick " << ticksBeforeRetry;
    EXPECT_TRUE(ports.whats("write").empty());
  }
}

TEST(Dialler, ARefusedHostShowsSocketErrorAndEnds) {
  for (bool onRetry : {false, true}) {
    RecordingPorts ports;
    Dialler dialler(ports);
    dialler.start(hostEntry());
    ports.refuse = true;
    // The box stays open for a minute: the countdown must not go on under it.
    ports.whileBoxOpen = [&] { tick(ports, dialler, 60); };
    if (onRetry)
      dialler.retry();
    else
      tick(ports, dialler, 2);
    EXPECT_EQ(ports.whats("box"), std::vector<std::string>{"box Socket Error !! / Error"});
    EXPECT_EQ(ports.events.back().what, "closeDialog");
    EXPECT_FALSE(dialler.dialling());
    EXPECT_FALSE(ports.timerRunning);
  }
}

TEST(Dialler, TheConnectionEndsTheDiallingOnce) {
  RecordingPorts ports;
  Dialler dialler(ports);
  EXPECT_FALSE(dialler.connected());  // nothing being dialled: nothing to end
  dialler.start(modemEntry());
  tick(ports, dialler, 5);
  EXPECT_TRUE(dialler.connected());
  EXPECT_FALSE(dialler.dialling());
  EXPECT_FALSE(ports.timerRunning);
  EXPECT_EQ(ports.events.back().what, "closeDialog");
  EXPECT_FALSE(dialler.connected());
  std::size_t before = ports.events.size();
  dialler.tick();  // a tick already queued changes nothing
  EXPECT_EQ(ports.events.size(), before);
}

}  // namespace
}  // namespace kesta::shell
