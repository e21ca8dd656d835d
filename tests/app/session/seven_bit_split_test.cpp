// A 7-bit host (code 7) through the real code converter: however the reads
// cut the stream, the window and the pages show the same picture, and that
// picture is the text the host sent.
#include <gtest/gtest.h>

#include "tests/app/session/session_fixture.h"
#include "xlat/xlat.h"

namespace kesta::session::testing {
namespace {

// KS X 1001 text in seven bits: every byte of the code page 949 form
// without its high bit, between shift-out and shift-in.
std::string sevenBit(std::string_view cp949) {
  std::string out = "\x0e";
  for (char c : cp949) out.push_back(c == ' ' ? ' ' : static_cast<char>(c & 0x7f));
  return out + "\x0f";
}

std::string cp949(const std::string& utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Cp949, utf8); }

// The window's picture read back as UTF-8 rows (cells hold the internal code).
std::vector<std::string> windowText(const CellCanvas& canvas) {
  std::vector<std::string> rows;
  for (const CellRow& row : canvas.window()) {
    std::string utf8 = xlat::convert(xlat::Code::Johab, xlat::Code::Utf8, trimmed(CellCanvas::text(row)));
    rows.push_back(utf8);
  }
  return rows;
}

struct Line {
  std::string before;  // ASCII
  std::string korean;  // UTF-8, shifted
  std::string after;   // ASCII
};

const Line kLines[] = {
    {"Hello ", "안녕하세요 한글 漢字", " world"},
    {"", "가나다라마바사", ""},
    {"[", "게시판", "] 1. "},
    {"\x1b[31m", "빨간 글자", " ok"},
    {"x", "ㄱ", "y"},
};

std::string stream() {
  std::string out;
  for (const Line& l : kLines) out += l.before + sevenBit(cp949(l.korean)) + l.after + "\r\n";
  return out;
}

std::string shownLine(const Line& l) {
  std::string before = l.before.rfind("\x1b", 0) == 0 ? "" : l.before;
  return trimmed(before + l.korean + l.after);
}

struct Picture {
  CellPicture window;
  CellPicture page;
  std::vector<std::string> text;
};

Picture replay(const std::string& bytes, std::size_t chunk) {
  Session s;
  s.terminal.setConverter(xlat::convertInPlace);
  s.terminal.setHostCode(kSevenBitCode);
  for (std::size_t at = 0; at < bytes.size(); at += chunk) s.receive(std::string_view(bytes).substr(at, chunk));
  return {s.canvas.window(), s.currentPage(), windowText(s.canvas)};
}

TEST(SevenBitHost, EveryChunkSizeDrawsTheSamePictureAsOneChunk) {
  const std::string bytes = stream();
  Picture whole = replay(bytes, 4096);
  for (std::size_t i = 0; i < std::size(kLines); ++i) EXPECT_EQ(whole.text[i], shownLine(kLines[i])) << i;
  for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
    Picture cut = replay(bytes, chunk);
    EXPECT_EQ(cut.text, whole.text) << "chunk " << chunk;
    EXPECT_TRUE(cut.window == whole.window) << "chunk " << chunk;
    EXPECT_TRUE(cut.page == whole.page) << "chunk " << chunk;
  }
}

TEST(SevenBitHost, EverySingleCutOfAShiftedLineDrawsIt) {
  const std::string line = "ab" + sevenBit(cp949("한국어 텍스트")) + "cd";
  for (std::size_t cut = 0; cut <= line.size(); ++cut) {
    Session s;
    s.terminal.setConverter(xlat::convertInPlace);
    s.terminal.setHostCode(kSevenBitCode);
    s.receive(line.substr(0, cut));
    s.receive(line.substr(cut));
    EXPECT_EQ(windowText(s.canvas)[0], "ab한국어 텍스트cd") << cut;
    EXPECT_EQ(s.column(), static_cast<int>(line.size())) << cut;
  }
}

}  // namespace
}  // namespace kesta::session::testing
