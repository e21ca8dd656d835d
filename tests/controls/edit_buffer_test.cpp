// The edit buffer and block rules: composition, boundaries, overwrite, limits,
// selections, lines and vertical moves, and the bounded copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/edit_block.h"
#include "controls/edit_buffer.h"
#include "hangul/automata.h"

namespace kesta::controls {
namespace {

using namespace kesta::hangul;

// Types keys through a two-set automaton in Hangul mode into the buffer.
struct Typing {
  AutomataState automaton{};
  EditBuffer buffer;
  explicit Typing(bool multiline = false) : buffer(multiline, {8, 16}) {
    InitAutomata(&automaton, kTwoSetKeyboard);
    SetHangulMode(&automaton, 1);
  }
  EditOutcome key(char c) {
    uint16_t k = static_cast<uint8_t>(c);
    const int16_t r = GetKey(&automaton, &k, false);
    const EditOutcome out = buffer.applyKey(r, k, automaton.completedCode);
    if (out.dropComposition) ClearCodes(&automaton);
    return out;
  }
};

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(EditBuffer, TypingRkskGivesTwoSyllablesOfFourBytes) {
  Typing t;
  const std::vector<size_t> lengths = {2, 2, 2, 4};
  const std::string keys = "rksk";
  for (size_t i = 0; i < keys.size(); ++i) {
    t.key(keys[i]);
    EXPECT_EQ(t.buffer.length(), lengths[i]) << "after key " << i;
  }
  EXPECT_EQ(t.buffer.text(), bytes({0x88, 0x61, 0x90, 0x61}));
  EXPECT_EQ(t.buffer.caret(), 2u);
  EXPECT_TRUE(t.buffer.composing());
  t.buffer.moveRight(false);  // completes 나 and steps past it
  EXPECT_EQ(t.buffer.caret(), 4u);
  EXPECT_FALSE(t.buffer.composing());
}

TEST(EditBuffer, LeftScansForwardBecauseTrailBytesCanBeAscii) {
  struct Case { std::string text; size_t from, expected; };
  const Case cases[] = {
      {bytes({'A', 0x88, 0x61}), 3, 1},        // "A가": one step left stops at 1
      {bytes({0x88, 0x61, 'a'}), 3, 2},        // 가 then 'a'
      {bytes({0x88, 0x61, 0x88, 0x61}), 4, 2}, // 가가: the 'a'-valued trail is not a character
      {bytes({'x', 0x88, 0x61, 0x90, 0x61}), 5, 3},
  };
  for (const Case& c : cases) {
    EditBuffer b;
    b.setText(c.text);
    b.textEnd(false);
    ASSERT_TRUE(b.moveLeft(false));
    EXPECT_EQ(b.caret(), c.expected) << c.text;
  }
}

TEST(EditBuffer, SetTextClampsCaretSelectionAndEndsComposition) {
  Typing t;
  t.buffer.paste("abcdefgh");
  t.buffer.setSelection(2, 8);
  t.key('r');  // the selection goes, a composition begins at 2
  ASSERT_TRUE(t.buffer.composing());
  t.buffer.setText(bytes({'A', 0x88, 0x61}));
  EXPECT_FALSE(t.buffer.composing());
  EXPECT_EQ(t.buffer.caret(), 1u);  // 2 is inside 가: snapped back
  t.buffer.setSelection(3, 3);
  t.buffer.setText("z");
  EXPECT_EQ(t.buffer.caret(), 1u);
  EXPECT_EQ(t.buffer.anchor(), 1u);
  t.buffer.setText(std::string("ab\0cd", 5));
  EXPECT_EQ(t.buffer.text(), "ab");
}

TEST(EditBuffer, SetSelectionClampsAndSnaps) {
  struct Case { size_t a, b, anchor, caret; };
  const std::string text = bytes({'A', 0x88, 0x61, 'B', 0x90, 0x61});  // A가B나
  const Case cases[] = {{0, 6, 0, 6}, {2, 5, 1, 4}, {100, 0xFFFFFFFF, 6, 6}, {5, 2, 4, 1}, {3, 3, 3, 3}};
  for (const Case& c : cases) {
    EditBuffer b;
    b.setText(text);
    b.setSelection(c.a, c.b);
    EXPECT_EQ(b.anchor(), c.anchor) << c.a << "," << c.b;
    EXPECT_EQ(b.caret(), c.caret) << c.a << "," << c.b;
  }
}

TEST(EditBuffer, OverwriteReplacesExactlyTheCharacterAtTheCaret) {
  struct Case { std::string text; size_t at; const char* keys; bool hangul; std::string expected; };
  const Case cases[] = {
      {bytes({0x88, 0x61, 'x'}), 0, "Q", false, "Qx"},                      // one byte over two
      {bytes({'a', 'b'}), 0, "r", true, bytes({0x88, 0x41, 'b'})},            // ㄱ over one byte
      {bytes({'a', 'b'}), 2, "r", true, bytes({'a', 'b', 0x88, 0x41})},       // at the end: appended
      {bytes({0x90, 0x61, 0x90, 0x61}), 0, "rk", true, bytes({0x88, 0x61, 0x90, 0x61})},
      {bytes({'a'}), 0, "rkrk", true, bytes({0x88, 0x61, 0x88, 0x61})},      // 가 over 'a', then 가 appended
  };
  for (const Case& c : cases) {
    Typing t;
    SetHangulMode(&t.automaton, c.hangul);
    t.buffer.setText(c.text);
    t.buffer.setSelection(c.at, c.at);
    t.buffer.setInsertMode(false);
    for (const char* k = c.keys; *k; ++k) t.key(*k);
    EXPECT_EQ(t.buffer.text(), c.expected) << c.keys;
    EXPECT_EQ(t.buffer.snap(t.buffer.caret()), t.buffer.caret());
  }
}

TEST(EditBuffer, OverwriteInTheMultiLineFormKeepsLineBreaks) {
  EditBuffer b(true);
  b.setText("a\r\nb");
  b.setSelection(1, 1);
  b.setInsertMode(false);
  b.typeChar('Z');
  EXPECT_EQ(b.text(), "aZ\r\nb");
}

TEST(EditBuffer, PasteDropsALoneLeadByteAndCutsAtTheLimit) {
  EditBuffer b;
  b.paste(bytes({'a', 0x88, 0x61, 0xB0}));
  EXPECT_EQ(b.text(), bytes({'a', 0x88, 0x61}));
  b.setLimit(5);
  const EditOutcome out = b.paste(bytes({'b', 0x90, 0x61}));  // 3 + 1 + 2 > 5: 나 does not fit
  EXPECT_TRUE(out.atLimit);
  EXPECT_EQ(b.text(), bytes({'a', 0x88, 0x61, 'b'}));
  EditBuffer one;
  one.paste("first\r\nsecond");
  EXPECT_EQ(one.text(), "first");
}

TEST(EditBuffer, TypingStopsAtTheLimit) {
  Typing t;
  t.buffer.setLimit(3);
  t.key('r');
  t.key('k');  // 가 in progress: 2 bytes
  EditOutcome out = t.key('s');  // 간
  EXPECT_FALSE(out.atLimit);
  out = t.key('k');  // 가 + 나 would be 4 bytes
  EXPECT_TRUE(out.atLimit);
  EXPECT_TRUE(out.dropComposition);
  EXPECT_EQ(t.buffer.text(), bytes({0x88, 0x61}));
  EXPECT_FALSE(t.buffer.composing());
  SetHangulMode(&t.automaton, 0);
  EXPECT_FALSE(t.key('x').atLimit);
  EXPECT_TRUE(t.key('y').atLimit);
  EXPECT_EQ(t.buffer.length(), 3u);
}

TEST(EditBuffer, LinesSplitAtCrLf) {
  EditBuffer b(true);
  b.setText(bytes({'a', 'b', '\r', '\n', 0x88, 0x61, '\r', '\n', '\r', '\n', 'x', 'y', 'z'}));
  EXPECT_EQ(b.lineCount(), 4u);
  struct Case { size_t line, index, length; };
  const Case lines[] = {{0, 0, 2}, {1, 4, 2}, {2, 8, 0}, {3, 10, 3}};
  for (const Case& c : lines) {
    EXPECT_EQ(b.lineIndex(c.line), c.index);
    EXPECT_EQ(b.lineLength(c.index), c.length);
    EXPECT_EQ(b.lineFromChar(c.index), c.line);
  }
  EXPECT_EQ(b.lineIndex(4), b.length() + 1);
  EXPECT_EQ(b.lineFromChar(3), 0u);  // between CR and LF
  EXPECT_EQ(b.snap(3), 2u);
  b.setSelection(4, 4);
  ASSERT_TRUE(b.moveLeft(false));
  EXPECT_EQ(b.caret(), 2u);  // over the CR LF in one step
  b.textEnd(false);
  EXPECT_FALSE(b.moveRight(false));
}

TEST(EditBuffer, UpAndDownKeepTheXPosition) {
  EditBuffer b(true, {8, 16});
  b.setText(bytes({'a', 'b', 'c', 'd', '\r', '\n', 0x88, 0x61, '\r', '\n', 'a', 'b', 'c', 'd', 'e'}));
  b.setSelection(3, 3);  // x = 24
  ASSERT_TRUE(b.moveDown(false));
  EXPECT_EQ(b.caret(), 8u);  // end of 가 (x 16 is nearest to 24 on a 16-wide line)
  ASSERT_TRUE(b.moveDown(false));
  EXPECT_EQ(b.caret(), 13u);  // back at x 24
  EXPECT_FALSE(b.moveDown(false));
  ASSERT_TRUE(b.moveUp(false));
  ASSERT_TRUE(b.moveUp(false));
  EXPECT_EQ(b.caret(), 3u);
  EXPECT_EQ(b.pageDown(10, true), 2u);  // fewer lines at the end
  EXPECT_EQ(b.anchor(), 3u);
  EXPECT_EQ(b.pageUp(10, false), 2u);
}

TEST(EditBuffer, HitTakesTheNearerBoundaryAndTheLeftOnATie) {
  EditBuffer b(false, {8, 16});
  b.setText(bytes({'a', 0x88, 0x61, 'b'}));  // boundaries at x 0, 8, 24, 32
  const std::pair<int, size_t> cases[] = {{0, 0}, {3, 0}, {4, 0}, {5, 1}, {15, 1}, {16, 1}, {17, 3},
                                          {28, 3}, {29, 4}, {100, 4}, {-5, 0}};
  for (auto [x, index] : cases) EXPECT_EQ(b.hit(0, x), index) << x;
}

TEST(EditBuffer, EnterOnlyInTheMultiLineForm) {
  EditBuffer one;
  EXPECT_FALSE(one.typeChar('\r').changed);
  EditBuffer multi(true);
  multi.typeChar('a');
  EXPECT_TRUE(multi.typeChar('\r').changed);
  EXPECT_EQ(multi.text(), "a\r\n");
  EXPECT_EQ(multi.lineCount(), 2u);
}

TEST(EditBuffer, ScrollFollowsTheCaret) {
  struct Case { int caretX, scroll, width, expected; };
  const Case cases[] = {{10, 0, 100, 0}, {71, 0, 100, 30}, {130, 0, 100, 60}, {5, 60, 100, 0}, {40, 60, 100, 30}};
  for (const Case& c : cases) EXPECT_EQ(followCaret(c.caretX, c.scroll, c.width), c.expected) << c.caretX;
  EXPECT_EQ(followLine(10, 0, 5), 6u);
  EXPECT_EQ(followLine(2, 4, 5), 2u);
  EXPECT_EQ(followLine(5, 4, 5), 4u);
}

TEST(EditBlock, GrowsWheneverAThreeByteWriteAndTheNulDoNotFit) {
  struct Case { size_t length, capacity, expected; };
  const Case cases[] = {{0, 1025, 1025}, {1021, 1025, 1025}, {1022, 1025, 1538}, {5000, 1025, 5516}};
  for (const Case& c : cases) {
    const size_t got = capacityFor(c.length, c.capacity);
    EXPECT_EQ(got, c.expected) << c.length;
    EXPECT_GE(got, c.length + 4);
  }
}

TEST(EditBlock, HandedInBlocksHoldTheirNul) {
  const char withNul[6] = {'a', 'b', 0, 'c', 'd', 'e'};
  EXPECT_EQ(textInBlock(withNul, 6), 2u);
  const char without[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(textInBlock(without, 4), 3u);
  EXPECT_EQ(textInBlock(without, 0), 0u);
  EXPECT_EQ(textInBlock(nullptr, 10), 0u);
}

TEST(EditBlock, GetLineNeverWritesPastTheSize) {
  const std::string line = bytes({'a', 0x88, 0x61, 'b'});
  struct Case { size_t size, copied; };
  const Case cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 3}, {5, 4}, {80, 4}};
  for (const Case& c : cases) {
    char out[90];
    std::memset(out, 0x5A, sizeof out);
    EXPECT_EQ(copyLine(line, out, c.size), c.copied) << c.size;
    for (size_t i = c.size; i < sizeof out; ++i) ASSERT_EQ(out[i], 0x5A) << "byte " << i << " size " << c.size;
    if (c.size > 0) {
      EXPECT_EQ(out[c.copied], '\0');
    }
  }
}

TEST(EditBlock, TextsReadBackEndBeforeASplitCharacter) {
  const std::string text = bytes({'1', 0x88, 0x61, '2', 0x90, 0x61});
  const std::pair<size_t, size_t> cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {5, 4}, {6, 6}, {99, 6}};
  for (auto [room, whole] : cases) EXPECT_EQ(wholeCharacters(text, room), whole) << room;
}

}  // namespace
}  // namespace kesta::controls
