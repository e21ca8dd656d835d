// The faces the program meets: the session roles taken one by one, the
// drawing pass of a chunk, the passed-screen view's page cursor, the chat
// window's open and close, the start-up row and the host text parser.
#include <gtest/gtest.h>

#include "app/session/page_cursor.h"
#include "app/session/telnet.h"
#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

// Each role played by a different object: the interpreter and the pipeline
// must reach every effect through the role that owns it.
struct OnlyConnection : Connection {
  std::string sent;
  std::size_t send(std::string_view bytes) override {
    sent.append(bytes);
    return bytes.size();
  }
};
struct OnlyKeys : KeyboardState {
  int asked = 0;
  bool held = false;
  bool keyDown(int) override {
    ++asked;
    return held;
  }
};
struct OnlyCapture : CaptureSink {
  std::string bytes;
  void writeCapture(std::string_view b) override { bytes.append(b); }
};

TEST(SessionRoles, EachEffectGoesThroughItsOwnRole) {
  CellCanvas canvas;
  RecordingHost window;  // plays the window and the sounds
  OnlyConnection connection;
  OnlyKeys keys;
  OnlyCapture capture;
  TableSource table;
  table.slots[0] = {true, "login:", "guest"};
  Terminal terminal(canvas, TerminalRoles(window, window, capture));
  ReceivePipeline pipeline(terminal, PipelineRoles(connection, window, window, keys, capture), table);
  terminal.reset(kText, kBack);
  terminal.setTextCapture(true);
  std::string chunk = "login:\a";
  pipeline.receive(chunk.data(), chunk.size());
  EXPECT_EQ(connection.sent, "guest\r");
  EXPECT_EQ(window.sent.size(), 0u);
  EXPECT_EQ(capture.bytes, "login:");  // screen capture: text, not the BEL
  EXPECT_EQ(window.capture, "");
  EXPECT_EQ(window.beeps, 1);
  EXPECT_GT(keys.asked, 0);
  keys.held = true;
  pipeline.receive("x", 1);
  EXPECT_EQ(window.commands, std::vector<int>{kCommandHangUp});
}

// A canvas that checks the begin/end pairs of the drawing pass.
struct PassCanvas : CellCanvas {
  int depth = 0;
  int begins = 0;
  int drawsOutside = 0;
  std::vector<std::string> texts;
  void beginChunk() override {
    ++depth;
    ++begins;
  }
  void endChunk() override {
    ASSERT_GT(depth, 0);
    --depth;
  }
  void drawText(int column, int windowRow, PageId page, int pageRow, std::string_view text, Colour t,
                Colour b) override {
    if (depth == 0) ++drawsOutside;
    texts.emplace_back(text);
    CellCanvas::drawText(column, windowRow, page, pageRow, text, t, b);
  }
};

// The download command lets data arrive while it runs, as a modal transfer's
// message loop does.
struct NestingHost : RecordingHost {
  ReceivePipeline* pipeline = nullptr;
  std::string during;
  void postCommand(int command) override {
    RecordingHost::postCommand(command);
    if (command == kCommandReceiveFile && pipeline) pipeline->receive(during.data(), during.size());
  }
};

struct PassCase {
  const char* name;
  std::string chunk;
  std::string during;  // received while the download command runs
  bool abort;
  std::string row0;  // the window's first row afterwards
};

TEST(DrawingPass, EveryChunkIsOnePairAndNothingIsDrawnOutsideOrTwice) {
  const PassCase cases[] = {
      {"plain", "hello", "", false, "hello"},
      {"download in the middle", "ab rz\rcd", "XY", false, "cd XYrz"},
      {"download, nothing meanwhile", "ab rz\rcd", "", false, "cd rz"},
      {"text meanwhile with a line end", "12rz\r34", "m\r\nn", false, "12m"},
      {"aborted", "abc", "", true, ""},
  };
  for (const PassCase& c : cases) {
    BasicSession<NestingHost, PassCanvas> s;
    PassCanvas& canvas = s.canvas;
    s.host.pipeline = &s.pipeline;
    s.host.during = c.during;
    if (c.abort) s.host.keysDown = {kKeyControl, kKeyF9};
    s.receive(c.chunk);
    EXPECT_EQ(canvas.depth, 0) << c.name;
    EXPECT_GE(canvas.begins, 1) << c.name;
    EXPECT_EQ(canvas.drawsOutside, 0) << c.name;
    EXPECT_EQ(trimmed(s.windowRow(0)), c.row0) << c.name;
    // Every byte drawn once: the drawn texts add up to the printable bytes.
    std::size_t drawn = 0;
    for (const std::string& t : canvas.texts) drawn += t.size();
    std::size_t printable = 0;
    for (char b : c.chunk + c.during) printable += static_cast<unsigned char>(b) >= 0x20;
    EXPECT_EQ(drawn, c.abort ? 0u : printable) << c.name;
  }
}

TEST(DrawingPass, TextAfterTheTransferFollowsTheTextReceivedDuringIt) {
  BasicSession<NestingHost, PassCanvas> s;
  s.host.pipeline = &s.pipeline;
  s.host.during = "[during]";
  s.receive("before rz\r\nafter");
  EXPECT_EQ(trimmed(s.grid(0)), "before [during]rz");
  EXPECT_EQ(trimmed(s.windowRow(0)), "before [during]rz");
  EXPECT_EQ(trimmed(s.grid(1)), "after");
  EXPECT_EQ(trimmed(s.windowRow(1)), "after");
  EXPECT_EQ(s.column(), 5);
  EXPECT_EQ((std::vector<std::string>{"before ", "[during]", "rz", "after"}), s.canvas.texts);
}

// --- the passed-screen view ------------------------------------------------

// The window after the cursor drew, as text rows.
std::vector<std::string> shown(const Session& s, int rows) {
  std::vector<std::string> out;
  for (int r = 0; r < rows; ++r) out.push_back(trimmed(s.windowRow(r)));
  return out;
}

std::vector<std::string> expectedLines(int top, int rows) {
  std::vector<std::string> out;
  for (int r = 0; r < rows; ++r) out.push_back(top + r >= 0 ? "L" + std::to_string(top + r) : "");
  return out;
}

struct CursorCase {
  int written;   // lines L0.. written, the last without a line end
  bool chat;
  int steps;     // lines moved (negative: older)
  int topLine;   // expected first line shown (L-number)
};

TEST(PageCursor, WalksTheTapeByLinesAndStopsAtBothEnds) {
  const CursorCase cases[] = {
      {28, false, -1, 0},     // one page, nothing older: stays
      {40, false, -1, 11},    // offset 12: top L12, one line back
      {40, false, -12, 0},    {40, false, -50, 0},
      {40, false, 5, 12},     // never beyond the live view
      {100, false, -28, 44},  // a page up from L72
      {100, false, -72, 0},   {100, false, -73, 0},
      {252, false, -300, 0},  // nine whole pages
      {300, false, -300, 56},  // pages 2 to 10 kept: the oldest line is L56
      {30, true, -1, 5},      // chat: 24 rows, offset 6 -> top L6
      {30, true, -24, 0},     {60, true, -24, 36 - 24},
  };
  for (const CursorCase& c : cases) {
    Session s;
    if (c.chat) s.terminal.setChatMode(true);
    std::string text = lines(0, c.written - 1) + "L" + std::to_string(c.written - 1);
    s.interpret(text);
    int rows = c.chat ? kChatRows : kRows;
    int liveTop = c.written - rows;
    if (liveTop < 0) liveTop = 0;
    ASSERT_EQ(shown(s, rows), expectedLines(liveTop, rows)) << c.written;
    PageStore::Node* current = s.terminal.pages().current();
    int offset = s.terminal.state().displayOffset;

    PageCursor cursor(s.terminal.pages());
    cursor.open(offset, c.chat);
    EXPECT_EQ(cursor.rows(), rows);
    cursor.move(c.steps);
    cursor.show();
    EXPECT_EQ(shown(s, rows), expectedLines(c.topLine, rows)) << c.written << " " << c.steps;
    // The store and the interpreter are untouched.
    EXPECT_EQ(s.terminal.pages().current(), current);
    EXPECT_EQ(s.terminal.state().displayOffset, offset);
    // Back to the live view: the same picture as a repaint.
    while (cursor.lineDown()) {
    }
    cursor.show();
    EXPECT_EQ(shown(s, rows), expectedLines(liveTop, rows)) << c.written;
  }
}

TEST(PageCursor, PageKeysMoveAWindowAtATime) {
  Session s;
  s.interpret(lines(0, 200) + "L200");
  PageCursor cursor(s.terminal.pages());
  cursor.open(s.terminal.state().displayOffset, false);
  int live = cursor.topLine();
  EXPECT_TRUE(cursor.pageUp());
  EXPECT_EQ(cursor.topLine(), live - 28);
  EXPECT_TRUE(cursor.pageDown());
  EXPECT_EQ(cursor.topLine(), live);
  EXPECT_FALSE(cursor.pageDown());
  while (cursor.pageUp()) {
  }
  EXPECT_EQ(cursor.topLine(), cursor.oldestTopLine());
  EXPECT_FALSE(cursor.lineUp());
}

// --- the chat window -------------------------------------------------------

TEST(ChatWindow, OpeningMovesTheCursorRowTo23AndClosingGivesItBack) {
  struct Case {
    int row;           // cursor row before opening
    int offsetBefore;  // display offset before opening (lines scrolled)
  };
  const Case cases[] = {{0, 0}, {10, 0}, {23, 0}, {24, 0}, {27, 0}, {27, 3}, {27, 20}, {27, 27}};
  for (const Case& c : cases) {
    Session s;
    int written = c.row + 1 + c.offsetBefore;
    s.interpret(lines(0, written - 1) + "L" + std::to_string(written - 1));
    ASSERT_EQ(s.row(), c.row);
    ASSERT_EQ(s.terminal.state().displayOffset, c.offsetBefore);
    std::vector<std::string> gridBefore;
    for (int r = 0; r < kRows; ++r) gridBefore.push_back(trimmed(s.grid(r)));

    s.terminal.openChat();
    int shift = std::max(0, c.row - 23);
    int offset = (c.offsetBefore + shift) % kRows;
    EXPECT_TRUE(s.terminal.state().chatMode);
    EXPECT_EQ(s.row(), std::min(c.row, 23));
    EXPECT_EQ(s.terminal.state().displayOffset, offset);
    for (int r = 0; r < kChatRows; ++r) {
      EXPECT_EQ(trimmed(s.grid(r)), gridBefore[r + shift]) << c.row << " " << r;
      EXPECT_EQ(trimmed(s.windowRow(r)), trimmed(s.grid(r))) << c.row << "/" << c.offsetBefore << " row " << r;
    }
    // Text goes on at the cursor, on the row it is shown on.
    s.interpret("!");
    EXPECT_EQ(trimmed(s.windowRow(s.row())), trimmed(s.grid(s.row())));

    s.terminal.closeChat();
    EXPECT_FALSE(s.terminal.state().chatMode);
    if (offset + kChatRows <= kRows) {
      EXPECT_EQ(s.terminal.state().displayOffset, 0);
      EXPECT_EQ(s.row(), std::min(c.row, 23) + offset);
    } else {
      EXPECT_EQ(s.terminal.state().displayOffset, offset);
      EXPECT_EQ(s.row(), 23);
    }
    // The grid still describes the window wherever it holds text.
    for (int r = 0; r < kRows; ++r) {
      std::string g = trimmed(s.grid(r));
      if (!g.empty()) {
        EXPECT_EQ(trimmed(s.windowRow(r)), g) << c.row << "/" << c.offsetBefore << " row " << r;
      }
    }
  }
}

TEST(StartUp, CursorAndPageRowStartBelowTheWelcomePicture) {
  Session s;
  s.terminal.startBelowPicture();
  EXPECT_EQ(s.row(), kWelcomePictureRows);
  EXPECT_EQ(s.terminal.state().pageRow, kWelcomePictureRows);
  s.interpret("Welcome");
  EXPECT_EQ(trimmed(s.windowRow(20)), "Welcome");
  EXPECT_EQ(trimmed(s.pageRow(20)), "Welcome");
  EXPECT_EQ(trimmed(s.grid(20)), "Welcome");
  s.terminal.startBelowPicture(99);
  EXPECT_EQ(s.row(), kRows - 1);
}

// --- host texts ------------------------------------------------------------

TEST(HostText, PortAfterTheLastColonOrTelnetsOwn) {
  struct Case {
    const char* text;
    const char* host;
    int port;
  };
  const Case cases[] = {
      {"bbs.example.kr", "bbs.example.kr", 23},
      {"bbs.example.kr:2323", "bbs.example.kr", 2323},
      {"127.0.0.1:1", "127.0.0.1", 1},
      {"127.0.0.1:65535", "127.0.0.1", 65535},
      {"127.0.0.1:65536", "127.0.0.1:65536", 23},
      {"127.0.0.1:0", "127.0.0.1:0", 23},
      {"127.0.0.1:00023", "127.0.0.1", 23},
      {"127.0.0.1:123456", "127.0.0.1:123456", 23},
      {"127.0.0.1:", "127.0.0.1:", 23},
      {"127.0.0.1:23a", "127.0.0.1:23a", 23},
      {"127.0.0.1:-5", "127.0.0.1:-5", 23},
      {"a:b:8080", "a:b", 8080},
      {":8080", "", 8080},
      {"", "", 23},
      {"01411", "01411", 23},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseHostText(c.text), (HostAndPort{c.host, c.port})) << c.text;
  }
}

}  // namespace
}  // namespace kesta::session::testing
