// The demo host's pieces on their own: the host side of telnet, the line
// editor, the board file's lines and the free upload names.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <unistd.h>

#include "cli/host/board_store.h"
#include "cli/host/file_library.h"
#include "cli/host/line_editor.h"
#include "cli/host/telnet_server.h"

namespace kesta::host {
namespace {

std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

struct TelnetCase {
  const char* what;
  std::string in;
  std::string data;
  std::string replies;
  std::string terminal;
  bool echoing;
};

TEST(TelnetServer, AnswersOptionsOnceAndStripsCommands) {
  const std::vector<TelnetCase> cases = {
      {"plain data", "abc", "abc", "", "", true},
      {"doubled 0xFF is data", bytes({'a', 255, 255, 'b'}), bytes({'a', 255, 'b'}), "", "", true},
      {"WILL TTYPE asks for it", bytes({255, 251, 24}), "", bytes({255, 250, 24, 1, 255, 240}), "", true},
      {"WILL TTYPE twice asks once", bytes({255, 251, 24, 255, 251, 24}), "", bytes({255, 250, 24, 1, 255, 240}), "",
       true},
      {"type announced", bytes({255, 250, 24, 0, 'x', 't', 'e', 'r', 'm', 255, 240, 'z'}), "z", "", "xterm", true},
      {"type with IAC IAC and controls kept printable",
       bytes({255, 250, 24, 0, 'A', 255, 255, 7, 'B', 255, 240}), "", "", "AB", true},
      {"DO ECHO acknowledges", bytes({255, 253, 1}), "", "", "", true},
      {"DONT ECHO stops the echo", bytes({255, 254, 1}), "", bytes({255, 252, 1}), "", false},
      {"DO BINARY accepted", bytes({255, 253, 0}), "", bytes({255, 251, 0}), "", true},
      {"DO unknown refused", bytes({255, 253, 31}), "", bytes({255, 252, 31}), "", true},
      {"WILL NAWS refused", bytes({255, 251, 31}), "", bytes({255, 254, 31}), "", true},
      {"WILL ECHO refused: the host echoes", bytes({255, 251, 1}), "", bytes({255, 254, 1}), "", true},
      {"WILL BINARY accepted", bytes({255, 251, 0}), "", bytes({255, 253, 0}), "", true},
      {"NOP and AYT dropped", bytes({'a', 255, 241, 255, 246, 'b'}), "ab", "", "", true},
      {"endless subnegotiation swallows data", bytes({255, 250, 24, 0}) + std::string(5000, 'Q'), "", "", "", true},
  };
  for (const auto& c : cases) {
    for (std::size_t split = 0; split <= c.in.size(); split += c.in.size() > 20 ? 997 : 1) {
      TelnetServer server;
      server.opening();
      std::string data, replies;
      const auto* p = reinterpret_cast<const uint8_t*>(c.in.data());
      server.receive(p, split, data, replies);  // every cut point of short inputs
      server.receive(p + split, c.in.size() - split, data, replies);
      EXPECT_EQ(data, c.data) << c.what << " split " << split;
      EXPECT_EQ(replies, c.replies) << c.what << " split " << split;
      EXPECT_EQ(server.terminalType(), c.terminal) << c.what;
      EXPECT_EQ(server.echoing(), c.echoing) << c.what;
    }
  }
}

TEST(TelnetServer, OpeningAndALongTypeIsCut) {
  TelnetServer server;
  EXPECT_EQ(server.opening(), bytes({255, 253, 24, 255, 251, 1, 255, 251, 3}));
  std::string in = bytes({255, 250, 24, 0}) + std::string(200, 'V') + bytes({255, 240});
  std::string data, replies;
  server.receive(reinterpret_cast<const uint8_t*>(in.data()), in.size(), data, replies);
  EXPECT_EQ(server.terminalType(), std::string(TelnetServer::kLongestTerminalType, 'V'));
  EXPECT_TRUE(server.terminalTypeSettled());
}

struct EditCase {
  const char* what;
  xlat::Code code;
  std::string typed;  // in `code`
  std::vector<std::string> lines;  // UTF-8
  std::string echo;    // in `code`
};

std::string cp949(const char* utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Cp949, utf8); }
std::string johab(const char* utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Johab, utf8); }

TEST(LineEditor, LineEndsBackspaceAndEcho) {
  const std::vector<EditCase> cases = {
      {"CR LF", xlat::Code::Cp949, "ab\r\n", {"ab"}, "ab\r\n"},
      {"CR NUL", xlat::Code::Cp949, std::string("ab\r\0cd\r\0", 8), {"ab", "cd"}, "ab\r\ncd\r\n"},
      {"bare CR", xlat::Code::Cp949, "ab\rcd\r", {"ab", "cd"}, "ab\r\ncd\r\n"},
      {"bare LF", xlat::Code::Cp949, "ab\ncd\n", {"ab", "cd"}, "ab\r\ncd\r\n"},
      {"empty lines", xlat::Code::Cp949, "\r\n\r\n", {"", ""}, "\r\n\r\n"},
      {"backspace ASCII", xlat::Code::Cp949, "abc\b\r", {"ab"}, "abc\b \b\r\n"},
      {"DEL too", xlat::Code::Cp949, "abc\x7f\r", {"ab"}, "abc\b \b\r\n"},
      {"backspace on empty", xlat::Code::Cp949, "\b\ba\r", {"a"}, "a\r\n"},
      {"backspace Hangul takes two cells", xlat::Code::Cp949, cp949("가나") + "\b\r", {"가"},
       cp949("가나") + "\b\b  \b\b\r\n"},
      {"johab Hangul", xlat::Code::Johab, johab("한글") + "\r\n", {"한글"}, johab("한글") + "\r\n"},
      {"controls dropped", xlat::Code::Cp949, "a\x01z\r", {"az"}, "az\r\n"},
      {"cursor and function keys dropped", xlat::Code::Cp949, "a\x1b[A\x1b[11~\x1bOPb\x1bxc\r", {"abc"}, "abc\r\n"},
      {"CR ends a cut sequence", xlat::Code::Cp949, "a\x1b[1\rb\r", {"a", "b"}, "a\r\nb\r\n"},
      {"lead byte cut by CR", xlat::Code::Cp949, "a\xB0\r", {"a\xEF\xBF\xBD"}, "a" + cp949("\xEF\xBC\x9F") + "\r\n"},
  };
  for (const auto& c : cases) {
    for (std::size_t split = 0; split <= c.typed.size(); ++split) {
      LineEditor editor(c.code);
      std::string echo;
      editor.feed(c.typed.data(), split, echo);
      editor.feed(c.typed.data() + split, c.typed.size() - split, echo);
      std::vector<std::string> lines;
      while (editor.hasLine()) lines.push_back(editor.takeLine());
      EXPECT_EQ(lines, c.lines) << c.what << " split " << split;
      EXPECT_EQ(echo, c.echo) << c.what << " split " << split;
    }
  }
}

TEST(LineEditor, AHugeLineIsBoundedAndRingsOnce) {
  LineEditor editor(xlat::Code::Cp949);
  std::string echo;
  std::string typed(100000, 'x');
  for (std::size_t at = 0; at < typed.size(); at += 4096)
    editor.feed(typed.data() + at, std::min<std::size_t>(4096, typed.size() - at), echo);
  editor.feed("\r", 1, echo);
  ASSERT_TRUE(editor.hasLine());
  EXPECT_EQ(editor.takeLine().size(), LineEditor::kLongestLine);
  EXPECT_EQ(std::count(echo.begin(), echo.end(), '\a'), 1);
  EXPECT_EQ(echo.size(), LineEditor::kLongestLine + 1 + 2);
  // Far more lines than are kept waiting: the oldest go.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += std::to_string(i) + "\r";
  editor.feed(many.data(), many.size(), echo);
  int waiting = 0;
  std::string last;
  while (editor.hasLine()) {
    last = editor.takeLine();
    ++waiting;
  }
  EXPECT_EQ(waiting, static_cast<int>(LineEditor::kMostPendingLines));
  EXPECT_EQ(last, "999");
}

TEST(LineEditor, WidthsSkipAnsiSequences) {
  const std::vector<std::tuple<std::string, std::size_t>> cases = {
      {"abc", 3}, {"한글", 4}, {"\x1b[1;33m가\x1b[0m", 2}, {"┌─┐", 6}, {"", 0}};
  for (const auto& [text, cells] : cases) EXPECT_EQ(displayWidth(text), cells) << text;
  EXPECT_EQ(cutToWidth("가나다", 5), "가나");
  EXPECT_EQ(cutToWidth("ab가", 3), "ab");
}

TEST(BoardFile, PostsRoundTripAndBadLinesAreRejected) {
  Post post{7, 1700000000, "탭\t이름", "제목 \\ 백슬래시", "첫 줄\n둘째\r줄"};
  Post back;
  ASSERT_TRUE(parsePost(formatPost(post), &back));
  EXPECT_EQ(back.number, 7);
  EXPECT_EQ(back.seconds, 1700000000);
  EXPECT_EQ(back.author, post.author);
  EXPECT_EQ(back.title, post.title);
  EXPECT_EQ(back.body, post.body);
  EXPECT_EQ(formatPost(post).find('\n'), std::string::npos);
  const std::vector<const char*> bad = {"", "1\t2\t3\t4", "1\t2\t3\t4\t5\t6", "x\t2\ta\tb\tc", "0\t2\ta\tb\tc",
                                        "-1\t2\ta\tb\tc", "1\t2\ta\\\tb\tc", "1\t2\ta\\q\tb\tc", "1\t\ta\tb\tc"};
  for (const char* line : bad) EXPECT_FALSE(parsePost(line, &back)) << line;
}

TEST(BoardFile, NumbersFollowTheHighestAndATornLineIsSkipped) {
  auto dir = std::filesystem::temp_directory_path() / ("kesta-board-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "board.txt").string();
  {
    std::ofstream f(path, std::ios::binary);
    f << "5\t1\ta\tb\tc\n" << "garbage line\n" << "6\t1\ta\tcut";  // a host killed mid-write
  }
  BoardStore store(path);
  Post post{0, 0, "작성자", "새 글", "본문"};
  ASSERT_TRUE(store.add(post));
  EXPECT_EQ(post.number, 6);
  std::vector<Post> posts = store.load();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[0].number, 5);
  EXPECT_EQ(posts[1].title, "새 글");
  std::filesystem::remove_all(dir);
}

TEST(FileLibrary, FreeNamesNeverReuseATakenOne) {
  struct Case {
    std::string name;
    std::set<std::string> taken;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"a.txt", {}, "a.txt"},
      {"a.txt", {"a.txt"}, "a.1.txt"},
      {"a.txt", {"a.txt", "a.1.txt"}, "a.2.txt"},
      {"noext", {"noext"}, "noext.1"},
      {".hidden", {".hidden"}, ".hidden.1"},
      {"x.tar.gz", {"x.tar.gz"}, "x.tar.1.gz"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(freeName(c.name, [&](const std::string& n) { return c.taken.count(n) > 0; }), c.expected) << c.name;
}

}  // namespace
}  // namespace kesta::host
