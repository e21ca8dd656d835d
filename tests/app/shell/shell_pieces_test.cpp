// The shell's neutral pieces: the clocks, the interface texts, window
// placement and the telnet sending rule against a socket that takes little.
#include <gtest/gtest.h>

#include <deque>

#include "app/shell/connection/serial_device.h"
#include "app/shell/connection/telnet_send.h"
#include "app/shell/window/connection_clock.h"
#include "app/shell/window/shell_texts.h"
#include "app/shell/window/window_placement.h"

namespace kesta::shell {
namespace {

TEST(ConnectionClock, CarriesSecondsIntoMinutesAndHours) {
  struct Case {
    int ticks;
    const char* text;
  };
  for (const Case& c : {Case{0, "00:00:00"}, Case{9, "00:00:09"}, Case{59, "00:00:59"}, Case{60, "00:01:00"},
                        Case{3599, "00:59:59"}, Case{3600, "01:00:00"}, Case{36061, "10:01:01"},
                        Case{360000, "100:00:00"}}) {
    ConnectionClock clock;
    for (int i = 0; i < c.ticks; ++i) clock.tick();
    EXPECT_EQ(clock.text(), c.text) << c.ticks << " ticks";
  }
  ConnectionClock clock;
  for (int i = 0; i < 75; ++i) clock.tick();
  clock.restart();
  EXPECT_EQ(clock.text(), ConnectionClock::kZero);
}

TEST(ConnectionClock, TimeOfDayIsTheClockFieldOfAsctime) {
  std::tm t{};
  t.tm_hour = 7;
  t.tm_min = 5;
  t.tm_sec = 3;
  t.tm_mday = 1;
  t.tm_year = 126;
  char expected[9];
  // asctime: "Www Mmm dd hh:mm:ss yyyy\n"; the fourth field is the clock.
  std::sscanf(std::asctime(&t), "%*s %*s %*s %8s", expected);
  EXPECT_EQ(timeOfDayText(t), expected);
  EXPECT_EQ(timeOfDayText(t), "07:05:03");
}

TEST(ShellTexts, LanguageFollowsTheCodePageAndEveryTextDiffers) {
  EXPECT_EQ(languageForCodePage(949), Language::Korean);
  for (unsigned page : {1252u, 437u, 932u, 65001u}) EXPECT_EQ(languageForCodePage(page), Language::English);
  const ShellTexts& en = shellTexts(Language::English);
  const ShellTexts& ko = shellTexts(Language::Korean);
  EXPECT_EQ(en.disconnected, "Disconnected");
  EXPECT_EQ(ko.disconnected, "연결안됨");
  EXPECT_EQ(ko.connected, "연결잘됨");
  EXPECT_EQ(ko.exitQuestion, "프로그램을 종료할까요?");
  EXPECT_EQ(en.capturing, "Capturing");
  EXPECT_NE(en.hangul, ko.hangul);
}

TEST(ShellTexts, TooltipsOnlyForTheirCommands) {
  EXPECT_EQ(tooltipText(101, Language::English), "Phone Book");
  EXPECT_EQ(tooltipText(257, Language::Korean), "연결끊기");
  EXPECT_EQ(tooltipText(260, Language::English), "Copyright");
  int withText = 0;
  for (int id = 0; id < 300; ++id) withText += !tooltipText(id, Language::English).empty();
  EXPECT_EQ(withText, 16);
  EXPECT_TRUE(tooltipText(258, Language::English).empty());
}

TEST(ShellTexts, PanesSplitTheWidthInFive) {
  EXPECT_EQ(paneRightEdge(800, 0), 160);
  EXPECT_EQ(paneRightEdge(800, 4), 800);
  EXPECT_EQ(paneRightEdge(803, 4), 800);  // 803 / 5 truncates first
}

TEST(WindowPlacement, CentresAndKeepsSizes) {
  EXPECT_EQ(centredOnScreen(1024, 768, 700, 500), (WindowRect{162, 134, 700, 500}));
  EXPECT_EQ(centredOnScreen(800, 600, 1001, 801), (WindowRect{-100, -100, 1001, 801}));
  const TrackSize min = minimumTrackSize(8, 16, 19, 18);
  EXPECT_EQ(min.width, 688);
  EXPECT_EQ(min.height, 19 + 18 + 552 - 38);
  EXPECT_FALSE(sizeToSave(true, 700, 500));
  EXPECT_FALSE(sizeToSave(false, 0, 0));
  EXPECT_EQ(sizeToSave(false, 700, 500)->height, 500);
  EXPECT_FALSE(usableSavedSize({0, 400}));
  EXPECT_FALSE(usableSavedSize({-5, 400}));
  EXPECT_FALSE(usableSavedSize({70000, 400}));
  EXPECT_TRUE(usableSavedSize({700, 500}));
}

TEST(WindowPlacement, AZoomChangeGrowsOrShrinksFromTheTopLeftAndStaysOnTheScreen) {
  const TrackSize minimum{688, 500};
  struct Case {
    WindowRect now;
    int from, to, screenWidth, screenHeight;
    WindowRect after;
  };
  const Case cases[] = {
      {{100, 50, 700, 560}, 1, 2, 1920, 1080, {100, 24, 1380, 1056}},  // past the bottom: moved up
      {{1500, 900, 700, 560}, 1, 2, 1920, 1080, {540, 24, 1380, 1056}},
      {{0, 0, 700, 560}, 1, 2, 1024, 768, {0, 0, 1380, 1056}},  // larger than the screen: the corner stays
      {{10, 20, 1400, 1100}, 2, 1, 1920, 1080, {10, 20, 720, 604}},
      {{10, 20, 700, 560}, 2, 1, 1920, 1080, {10, 20, 688, 500}},  // never below the minimum
      {{300, 200, 800, 600}, 2, 2, 1920, 1080, {300, 200, 800, 600}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zoomedWindow(c.now, c.from, c.to, 8, 16, minimum, c.screenWidth, c.screenHeight), c.after)
        << c.from << "->" << c.to << " at " << c.now.left << "," << c.now.top;
  }
}

TEST(SerialDevice, NamesPortsAndTheTelnetDevice) {
  EXPECT_EQ(serialDeviceName(3), "COM3");
  EXPECT_EQ(serialDeviceName(9), "COM9");
  EXPECT_EQ(serialDeviceName(10), "\\\\.\\TELNET");
  EXPECT_EQ(serialDeviceName(12), "\\\\.\\TELNET");
}

// A socket that takes what its script says, one step per call.
class ScriptedPort : public SendPort {
 public:
  explicit ScriptedPort(std::deque<long> steps) : steps_(std::move(steps)) {}
  long trySend(const char* bytes, std::size_t count) override {
    long step = steps_.empty() ? static_cast<long>(count) : steps_.front();
    if (!steps_.empty()) steps_.pop_front();
    if (step > 0) {
      step = std::min<long>(step, static_cast<long>(count));
      taken.append(bytes, static_cast<std::size_t>(step));
    }
    return step;
  }
  void waitWritable(int milliseconds) override { now_ += milliseconds; }
  long long nowMilliseconds() override { return now_; }
  std::string taken;

 private:
  std::deque<long> steps_;
  long long now_ = 0;
};

TEST(TelnetSend, DoublesIacAndFinishesShortAndBlockedSends) {
  EXPECT_EQ(escapeTelnetData(std::string("a\xff" "b\xff\xff", 5)), std::string("a\xff\xff" "b\xff\xff\xff\xff", 8));
  EXPECT_EQ(escapeTelnetData(""), "");

  const std::string data = "0123456789";
  ScriptedPort shortSends({3, SendPort::kWouldBlock, SendPort::kWouldBlock, 4, 100});
  EXPECT_EQ(sendWithin(shortSends, data, 5000), data.size());
  EXPECT_EQ(shortSends.taken, data);

  ScriptedPort failing({4, SendPort::kFailed});
  EXPECT_EQ(sendWithin(failing, data, 5000), 4u);

  std::deque<long> forever(200, SendPort::kWouldBlock);
  ScriptedPort blocked(forever);
  EXPECT_EQ(sendWithin(blocked, data, 1000), 0u);  // gives up at the bound instead of hanging
  EXPECT_GE(blocked.nowMilliseconds(), 1000);
}

}  // namespace
}  // namespace kesta::shell
