// The passed-screen view over a real terminal and page store, and the
// capture writers fed by the real interpreter and receive pipeline.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/shell/input/command_ids.h"
#include "app/shell/input/virtual_keys.h"
#include "app/shell/views/capture.h"
#include "app/shell/views/passed_screen_view.h"
#include "app/shell/window/shell_texts.h"
#include "tests/app/session/session_fixture.h"
#include "tests/app/shell/recording_lines.h"

namespace kesta::shell {
namespace {

using session::testing::Session;
using session::testing::trimmed;


std::string lines(int from, int to) {
  std::string out;
  for (int i = from; i < to; ++i) out += "L" + std::to_string(i) + "\r\n";
  return out;
}

TEST(PassedScreenView, StepsByPagesAndLinesBetweenTheOldestLineAndTheLivePicture) {
  using K = ViewKey;
  struct Case {
    bool chat;
    std::vector<ViewKey> keys;
    const char* firstRow;  // what window row 0 shows afterwards
  };
  // 100 lines and "end": the live window shows L73 to L99 and "end"
  // (L77 to L99 and "end" in the 24 rows of the chat window).
  const Case cases[] = {
      {false, {}, "L73"},
      {false, {K::PageUp}, "L45"},
      {false, {K::PageUp, K::PageUp}, "L17"},
      {false, {K::PageUp, K::PageUp, K::PageUp}, "L0"},  // not before the oldest line
      {false, {K::PageUp, K::PageUp, K::PageUp, K::PageDown}, "L28"},
      {false, {K::PageUp, K::PageDown}, "L73"},
      {false, {K::LineUp}, "L72"},
      {false, {K::LineUp, K::LineUp, K::LineDown}, "L72"},
      {false, {K::LineDown}, "L73"},  // not beyond the live picture
      {false, {K::PageDown}, "L73"},
      {true, {}, "L77"},
      {true, {K::PageUp}, "L53"},  // 24 lines with the chat window
      {true, {K::PageUp, K::LineDown}, "L54"},
  };
  for (const Case& c : cases) {
    Session s;
    if (c.chat) s.terminal.openChat();
    s.interpret(lines(0, 100) + "end");
    const session::CellPicture live = s.canvas.window();
    const session::TerminalState before = s.terminal.state();
    const session::PageStore::Node* current = s.terminal.pages().current();
    RecordingSwitch reception;
    ReceptionHolds holds(reception);
    PassedScreenView view(s.terminal.pages(), holds);
    EXPECT_FALSE(view.key(K::PageUp));  // closed: nothing moves
    view.open(before.displayOffset, before.chatMode);
    EXPECT_EQ(reception.events, std::vector<std::string>{"pause"});
    for (ViewKey key : c.keys) EXPECT_TRUE(view.key(key));
    EXPECT_EQ(trimmed(s.windowRow(0)), c.firstRow) << c.keys.size() << " keys" << (c.chat ? " chat" : "");
    // Consecutive rows follow the tape.
    const int number = std::stoi(std::string(c.firstRow).substr(1));
    EXPECT_EQ(trimmed(s.windowRow(5)), "L" + std::to_string(number + 5));

    view.close();  // Escape
    EXPECT_EQ(reception.events, (std::vector<std::string>{"pause", "resume"}));
    EXPECT_EQ(s.terminal.pages().current(), current);
    EXPECT_EQ(s.terminal.state().displayOffset, before.displayOffset);
    const int rows = c.chat ? session::kChatRows : session::kRows;
    for (int r = 0; r < rows; ++r) EXPECT_EQ(s.canvas.window()[r], live[r]) << "row " << r << " after Escape";
    // What the host sends next lands on the live picture.
    s.interpret("\r\nafter");
    EXPECT_EQ(trimmed(s.windowRow(rows - 1)), "after");
  }
}

TEST(PassedScreenView, KeysAndAcceleratorsThatStepIt) {
  EXPECT_EQ(viewKeyFor(kVirtualKeyPageUp), ViewKey::PageUp);
  EXPECT_EQ(viewKeyFor(kVirtualKeyPageDown), ViewKey::PageDown);
  EXPECT_EQ(viewKeyFor(kVirtualKeyUp), ViewKey::LineUp);
  EXPECT_EQ(viewKeyFor(kVirtualKeyDown), ViewKey::LineDown);
  EXPECT_EQ(viewKeyFor(kVirtualKeyHome), std::nullopt);
}

// A terminal and a pipeline whose capture sink is the capture under test.
struct CaptureSession : CaptureTaps {
  session::CellCanvas canvas;
  session::testing::RecordingHost host;
  session::testing::TableSource table;
  StdioCaptureFiles files;
  Capture capture{files, *this, host};
  session::Terminal terminal{canvas, session::TerminalRoles(host, host, capture)};
  session::ReceivePipeline pipeline{terminal, session::PipelineRoles(host, host, host, host, capture), table};
  std::filesystem::path directory;

  CaptureSession() {
    terminal.reset(session::testing::kText, session::testing::kBack);
    directory = std::filesystem::temp_directory_path() /
                ("kesta_capture_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
  }
  ~CaptureSession() override { std::filesystem::remove_all(directory); }
  void tapScreen(bool on) override { terminal.setTextCapture(on); }
  void tapCodes(bool on) override { pipeline.setRawCapture(on); }
  void receive(std::string_view bytes) { pipeline.receive(bytes.data(), bytes.size()); }
  std::string path(const char* name) const { return (directory / name).string(); }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

TEST(Capture, ScreenCaptureWritesTheTextAndCodeCaptureEveryByte) {
  const std::string received = "\x1b[1;31mHello\x1b[0m\r\n\x1b[2;5HWorld\x07";
  struct Case {
    CaptureKind kind;
    std::string file;
  };
  const Case cases[] = {
      {CaptureKind::Screen, "Hello\r\nWorld"},
      {CaptureKind::Code, received},
  };
  for (const Case& c : cases) {
    CaptureSession s;
    const std::string path = s.path("session.cap");
    { std::ofstream(path) << "older contents"; }
    s.receive("before ");
    EXPECT_EQ(s.capture.command(c.kind), Capture::Step::ChooseFile);
    ASSERT_TRUE(s.capture.start(c.kind, path));
    EXPECT_EQ(s.capture.running(), c.kind);
    s.receive(received);
    EXPECT_EQ(s.capture.command(c.kind), Capture::Step::Stopped);
    s.receive("after");
    EXPECT_EQ(CaptureSession::read(path), c.file);
    EXPECT_EQ(s.host.statusTexts,
              (std::vector<std::pair<int, std::string>>{{kPaneCapture, "Capturing"}, {kPaneCapture, "Captured"}}));
  }
}

TEST(Capture, OneKindAtATimeAndAFileThatCannotBeCreatedChangesNothing) {
  CaptureSession s;
  s.host.korean = true;
  ASSERT_TRUE(s.capture.start(CaptureKind::Code, s.path("codes.cap")));
  EXPECT_EQ(s.capture.command(CaptureKind::Screen), Capture::Step::Warned);
  EXPECT_EQ(s.host.events, std::vector<std::string>{"box 갈무리중입니다./경고"});
  EXPECT_EQ(s.capture.running(), CaptureKind::Code);
  EXPECT_FALSE(s.capture.start(CaptureKind::Screen, s.path("other.cap")));  // not while one runs
  s.receive("ab");
  EXPECT_EQ(s.capture.command(CaptureKind::Code), Capture::Step::Stopped);
  EXPECT_EQ(CaptureSession::read(s.path("codes.cap")), "ab");

  s.host.events.clear();
  s.host.statusTexts.clear();
  EXPECT_FALSE(s.capture.start(CaptureKind::Screen, s.path("no such directory/x.cap")));
  EXPECT_EQ(s.host.events, std::vector<std::string>{"box 갈무리 파일을 만들 수 없습니다./경고"});
  EXPECT_EQ(s.capture.running(), std::nullopt);
  EXPECT_TRUE(s.host.statusTexts.empty());
  s.receive("lost");  // nothing taps the data
  EXPECT_EQ(s.capture.command(CaptureKind::Screen), Capture::Step::ChooseFile);
}

TEST(Capture, TheChooserStartsInTheCaptureDirectory) {
  struct Case {
    const char *configured, *home, *start;
  };
  const Case cases[] = {
      {"D:\\LOGS", "C:\\KESTA", "D:\\LOGS"},
      {"", "C:\\KESTA", "C:\\KESTA\\cap"},
      {"", "C:\\KESTA\\", "C:\\KESTA\\cap"},
  };
  for (const Case& c : cases) EXPECT_EQ(captureStartDirectory(c.configured, c.home), c.start);
}

}  // namespace
}  // namespace kesta::shell
