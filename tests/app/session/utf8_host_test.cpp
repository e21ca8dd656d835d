// A UTF-8 host through the real code converter: however the reads cut the
// stream, the screen is the one the same text gives from a code page 949
// host; malformed input becomes substitutes and loses no following byte;
// triggers, answers, the search highlight and the code capture work in the
// host's code.
#include <gtest/gtest.h>

#include "tests/app/session/session_fixture.h"
#include "xlat/xlat.h"

namespace kesta::session::testing {
namespace {

std::string inCode(const std::string& utf8, xlat::Code code) { return xlat::convert(xlat::Code::Utf8, code, utf8); }

// The window's rows as UTF-8 (cells hold the internal code).
std::vector<std::string> windowText(const CellCanvas& canvas) {
  std::vector<std::string> rows;
  for (const CellRow& row : canvas.window())
    rows.push_back(xlat::convert(xlat::Code::Johab, xlat::Code::Utf8, trimmed(CellCanvas::text(row))));
  return rows;
}

// Syllables inside and outside KS X 1001 (똠, 햏, 갂 are only in the code
// page's further syllables), Hanja, symbols and box drawing, colours and
// cursor moves, lines that reach the last column.
const char* const kText =
    "\x1b[1;36m┌──────┐\x1b[0m\r\n"
    "│안녕하세요│ Hello 漢字 ★ ※\r\n"
    "똠방각하 햏 갂 \x1b[31m빨강\x1b[0m 끝\r\n"
    "\x1b[5;10H[1] 게시판  [2] 자료실\r\n"
    "0123456789012345678901234567890123456789012345678901234567890123456789012345가나다\r\n"
    "\x1b[2K줄 지움 뒤 °C ±1 × ÷\r\n";

struct Picture {
  CellPicture window, page;
  std::vector<std::string> text;
  std::vector<std::string> grid;  // the grid in the internal code
  int row, column;
};

Picture replay(const std::string& bytes, int code, std::size_t chunk) {
  Session s;
  s.terminal.setConverter(xlat::convertInPlace);
  s.terminal.setHostCode(code);
  for (std::size_t at = 0; at < bytes.size(); at += chunk) s.receive(std::string_view(bytes).substr(at, chunk));
  Picture p{s.canvas.window(), s.currentPage(), windowText(s.canvas), {}, s.terminal.state().row, s.terminal.state().column};
  for (int r = 0; r < kRows; ++r) {
    std::string row = s.grid(r);
    if (code != kUtf8Code) row = xlat::convert(xlat::Code::Cp949, xlat::Code::Johab, row);
    p.grid.push_back(row);
  }
  return p;
}

TEST(Utf8Host, EveryReadSizeShowsTheScreenOfTheSameTextInCodePage949) {
  const Picture reference = replay(inCode(kText, xlat::Code::Cp949), 6, 4096);
  EXPECT_EQ(reference.text[1], "│안녕하세요│ Hello 漢字 ★ ※");
  EXPECT_EQ(reference.text[2], "똠방각하 햏 갂 빨강 끝");
  const std::string utf8 = kText;
  for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
    const Picture cut = replay(utf8, kUtf8Code, chunk);
    EXPECT_EQ(cut.text, reference.text) << "read size " << chunk;
    EXPECT_EQ(cut.grid, reference.grid) << "read size " << chunk;
    EXPECT_TRUE(cut.window == reference.window) << "read size " << chunk;
    EXPECT_TRUE(cut.page == reference.page) << "read size " << chunk;
    EXPECT_EQ(cut.row, reference.row) << "read size " << chunk;
    EXPECT_EQ(cut.column, reference.column) << "read size " << chunk;
  }
}

TEST(Utf8Host, MalformedInputBecomesSubstitutesAndLosesNoFollowingByte) {
  const struct {
    const char* what;
    std::string bytes;
    const char* shown;
  } cases[] = {
      {"a cut sequence before a syllable", "a\xEA\xB0가b", "a?가b"},
      {"a cut sequence before an escape", "a\xEA\x1b[31mb", "a?b"},
      {"a cut sequence before a line end", "a\xEA\xB0\r\nb", "a?"},
      {"an overlong slash", "x\xC0\xAFy", "x??y"},
      {"a surrogate", "x\xED\xA0\x80y", "x???y"},
      {"a lone continuation byte", "\x80z", "?z"},
      {"a narrow letter without a code", "café!", "caf?!"},
      {"a wide character without a code", "\xF0\x9F\x98\x80z", "？z"},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk = 1; chunk <= 4; ++chunk) {
      const Picture p = replay(c.bytes, kUtf8Code, chunk);
      EXPECT_EQ(p.text[0], c.shown) << c.what << ", read size " << chunk;
    }
  }
}

TEST(Utf8Host, TriggersAnswersSearchAndCaptureUseTheHostsCode) {
  Session s;
  s.terminal.setConverter(xlat::convertInPlace);
  s.terminal.setHostCode(kUtf8Code);
  const std::string trigger = inCode("암호:", xlat::Code::Johab);
  s.table.slots[0] = AutoResponseSlot{true, trigger, inCode("비밀", xlat::Code::Johab)};
  s.terminal.setSearch(true, inCode("찾기", xlat::Code::Johab));
  s.pipeline.setRawCapture(true);
  const std::string sent = "찾기 암호:";
  // Split inside the trigger's first syllable.
  s.receive(sent.substr(0, 8));
  s.receive(sent.substr(8));
  ASSERT_EQ(s.host.sent.size(), 1u);
  EXPECT_EQ(s.host.sent[0], "비밀\r");
  EXPECT_EQ(s.host.capture, sent);  // the code capture keeps the host's bytes
  EXPECT_EQ(windowText(s.canvas)[0], "찾기 암호:");
  // The search string is matched in the grid's code and highlighted.
  EXPECT_EQ(s.canvas.window()[0][0].background, kHighlightBackground);
  EXPECT_EQ(s.canvas.window()[0][3].background, kHighlightBackground);
  EXPECT_NE(s.canvas.window()[0][5].background, kHighlightBackground);

  // The screen capture keeps the text as the host sent it, without the escapes.
  s.pipeline.setRawCapture(false);
  s.terminal.setTextCapture(true);
  s.host.capture.clear();
  s.receive("\r\n\x1b[31m똠 ok\x1b[0m");
  EXPECT_EQ(s.host.capture, "\r\n똠 ok");
}

}  // namespace
}  // namespace kesta::session::testing
