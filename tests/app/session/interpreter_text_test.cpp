// Text runs: gathered, stored in the grid as received, converted and drawn
// in one piece, with the right edge, NUL bytes, capture and the search
// highlight.
#include <gtest/gtest.h>

#include <random>

#include "app/session/is_hangul.h"
#include "tests/app/session/session_fixture.h"
#include "xlat/xlat.h"

namespace kesta::session::testing {
namespace {

TEST(TerminalText, RunIsStoredInGridAndDrawnInWindowAndPage) {
  Session s;
  s.interpret("Hello");
  EXPECT_EQ(trimmed(s.grid(0)), "Hello");
  EXPECT_EQ(trimmed(s.windowRow(0)), "Hello");
  EXPECT_EQ(trimmed(s.pageRow(0)), "Hello");
  EXPECT_EQ(s.column(), 5);
  EXPECT_EQ(s.canvas.window()[0][0].text, kText);
  EXPECT_EQ(s.canvas.window()[0][0].background, kBack);
}

TEST(TerminalText, RunIsConvertedFromHostCodeButGridKeepsReceivedBytes) {
  Session s;
  s.terminal.setConverter(caseConverter);
  s.terminal.setHostCode(5);
  s.interpret("abc");
  EXPECT_EQ(trimmed(s.grid(0)), "abc");
  EXPECT_EQ(trimmed(s.windowRow(0)), "ABC");
}

TEST(TerminalText, HangulSyllableIsDrawnWhole) {
  Session s;
  s.interpret("\x88\x61\xb0\x41");
  EXPECT_EQ(s.windowRow(0).substr(0, 4), "\x88\x61\xb0\x41");
  EXPECT_EQ(s.column(), 4);
}

TEST(TerminalText, SevenBitHostsShiftStateCarriesFromRunToRun) {
  Session s;
  s.terminal.setConverter(kesta::xlat::convertInPlace);
  s.terminal.setHostCode(kSevenBitCode);
  // "한" then, in the next chunk, "글" still inside the same shift-out,
  // drawn straight after it (the shift-out takes no room on the screen).
  s.interpret("A\x0eGQ");
  s.interpret("1[\x0f!");
  EXPECT_EQ(s.windowRow(0).substr(0, 6), "A\xd0\x65\x8b\x69!");
  // A new host code starts outside any shift.
  s.interpret("\x0e");
  s.terminal.setHostCode(kSevenBitCode);
  s.interpret("\r\nGQ");
  EXPECT_EQ(trimmed(s.windowRow(1)), "GQ");
}

TEST(TerminalText, TextPastColumn78IsNotDrawnAndGridStopsAt79) {
  Session s;
  std::string line(100, 'x');
  for (int i = 0; i < 100; ++i) line[i] = static_cast<char>('a' + i % 26);
  s.interpret(line);
  EXPECT_EQ(s.column(), 100);
  EXPECT_EQ(s.grid(0), line.substr(0, 80));
  EXPECT_EQ(s.windowRow(0).substr(0, 79), line.substr(0, 79));
  EXPECT_EQ(s.windowRow(0)[79], ' ');
}

TEST(TerminalText, DrawingStopsBeforeColumn79WithoutCuttingASyllable) {
  Session s;
  s.interpret("\x1b[1;79H\xb0\x41");
  EXPECT_EQ(s.windowRow(0)[78], ' ');  // half a syllable is never drawn
  EXPECT_EQ(s.grid(0).substr(78, 2), "\xb0\x41");
  s.interpret("\x1b[2;78H\xb0\x41\xb0\x41");
  EXPECT_EQ(s.windowRow(1).substr(77, 3), "\xb0\x41 ");
  EXPECT_EQ(s.grid(1).substr(77, 3), "\xb0\x41\xb0");
}

TEST(TerminalText, NulEndsWhatTheFlushStoresAndDraws) {
  Session s;
  s.interpret(std::string_view("ab\0cd", 5));
  EXPECT_EQ(trimmed(s.grid(0)), "ab");
  EXPECT_EQ(trimmed(s.windowRow(0)), "ab");
  EXPECT_EQ(s.column(), 5);
}

TEST(TerminalText, LongerConvertedRunIsCutAtTheRightEdge) {
  Session s;
  s.terminal.setConverter(doublingConverter);
  s.terminal.setHostCode(5);
  s.interpret(std::string(70, 'q'));
  EXPECT_EQ(trimmed(s.windowRow(0)), std::string(79, 'q'));
}

TEST(TerminalText, RunLongerThanItsBufferIsFlushedNotOverflowed) {
  Session s;
  s.terminal.setConverter(doublingConverter);
  s.terminal.setHostCode(5);
  std::string big(3 * kRunCapacity + 5, 'z');
  s.interpret(big);
  EXPECT_EQ(s.grid(0), std::string(80, 'z'));
  EXPECT_EQ(s.column(), static_cast<int>(big.size()));
}

TEST(TerminalText, TextCaptureTakesTextAndLineControlsButNotSequences) {
  Session s;
  s.terminal.setTextCapture(true);
  s.interpret("ab\x1b[31mc\r\n\x08\x1b[?x");
  // "?" and "x" end the sequence: "?" is shown but not captured, "x" is plain text.
  EXPECT_EQ(s.host.capture, "abc\r\n\x08x");
}

TEST(TerminalText, SearchHighlightRedrawsTheUsersStringInBlackOnGrey) {
  Session s;
  s.terminal.setConverter(caseConverter);
  s.terminal.setHostCode(5);
  s.terminal.setSearch(true, "FIND");
  s.interpret("xx find yy");
  EXPECT_EQ(trimmed(s.windowRow(0)), "XX FIND YY");
  for (int c = 3; c < 7; ++c) {
    EXPECT_EQ(s.canvas.window()[0][c].background, kHighlightBackground) << c;
    EXPECT_EQ(s.canvas.window()[0][c].text, kHighlightText) << c;
    EXPECT_EQ(s.currentPage()[0][c].background, kHighlightBackground) << c;
  }
  EXPECT_EQ(s.canvas.window()[0][2].background, kBack);
  EXPECT_EQ(s.canvas.window()[0][8].background, kBack);
}

TEST(TerminalText, SearchMismatchRestartsWithoutRetryingTheByte) {
  Session s;
  s.terminal.setSearch(true, "ab");
  s.interpret("aab");  // the second a resets the count and is not taken as a new start
  EXPECT_EQ(s.canvas.window()[0][1].background, kBack);
  s.interpret("\r\nab");
  EXPECT_EQ(s.canvas.window()[1][0].background, kHighlightBackground);
}

TEST(TerminalText, EndOfChunkPlacesTheCaret) {
  Session s;
  s.interpret("abc\x1b[5;10H");
  EXPECT_FALSE(s.host.caretHidden);
  EXPECT_EQ(s.host.caretColumn, 9);
  EXPECT_EQ(s.host.caretRow, 4);
  s.terminal.setChatMode(true);
  s.interpret("x");
  EXPECT_EQ(s.host.caretColumn, 7);
  EXPECT_EQ(s.host.caretRow, 26);
}

TEST(TerminalText, ChunkStoppedEarlyDropsItsPendingText) {
  Session s;
  s.terminal.beginChunk();
  for (char c : std::string("lost")) s.terminal.interpretByte(static_cast<unsigned char>(c));
  s.interpret("kept");
  EXPECT_EQ(trimmed(s.windowRow(0)), std::string(4, ' ') + "kept");
}

TEST(IsHangul, ClassifiesEachByteByWalkingFromTheStart) {
  const char text[] = "a\xb0\x41z\x88";
  EXPECT_EQ(IsHangul(text, 5, 0), 0);
  EXPECT_EQ(IsHangul(text, 5, 1), 1);
  EXPECT_EQ(IsHangul(text, 5, 2), 2);
  EXPECT_EQ(IsHangul(text, 5, 3), 0);
  EXPECT_EQ(IsHangul(text, 5, 4), 1);  // a lead byte at the end still begins a two-byte character
  EXPECT_EQ(IsHangul(text, 5, 5), 0);
  // A second byte of 0x80 or above is still a second byte.
  EXPECT_EQ(IsHangul("\xb0\xa1\xb0\xa1", 4, 3), 2);
  EXPECT_EQ(IsHangul(nullptr, 4, 0), 0);
}

}  // namespace
}  // namespace kesta::session::testing

namespace kesta::session::testing {
namespace {

// The bulk path (whole stretches of text at once) draws and counts exactly
// as the byte-by-byte path, whatever the stream.
TEST(TerminalText, StretchesOfTextAndSingleBytesGiveTheSameScreen) {
  const std::string pieces[] = {"Hello ", "\xc7\xd1\xb1\xdb", "\r\n", "\x1b[31m", "\x1b[2;5H", "\x1b[K", "\x1b[=3F",
                          "\x08", "\x07", "\x1b[2J", "\x0c", "\x1b""7", "\x1b""8", "\x1b[3L", "\x1b[2P",
                          std::string(120, 'x'), "\x1b[5;20r", "\n", "\x1b[=", "abc"};
  std::mt19937 rng(1207);
  for (int round = 0; round < 40; ++round) {
    std::string stream;
    for (int k = 0; k < 200; ++k) stream += pieces[rng() % std::size(pieces)];
    Session bulk, single;
    bulk.terminal.setTextCapture(round % 3 == 0);
    single.terminal.setTextCapture(round % 3 == 0);
    bulk.interpret(stream);
    single.terminal.beginChunk();
    for (char c : stream) single.terminal.interpretByte(static_cast<unsigned char>(c));
    single.terminal.endChunk();
    for (int r = 0; r < kRows; ++r) {
      ASSERT_EQ(bulk.grid(r), single.grid(r)) << round << " row " << r;
      ASSERT_EQ(bulk.windowRow(r), single.windowRow(r)) << round << " row " << r;
    }
    EXPECT_EQ(bulk.column(), single.column()) << round;
    EXPECT_EQ(bulk.row(), single.row()) << round;
    EXPECT_EQ(bulk.host.capture, single.host.capture) << round;
    EXPECT_EQ(bulk.host.beeps, single.host.beeps) << round;
  }
}

}  // namespace
}  // namespace kesta::session::testing
