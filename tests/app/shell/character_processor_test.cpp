// The character processor driven by the real keyboard automaton and the
// real code converter: what reaches the wire for typed keys.
#include "app/shell/input/character_processor.h"
#include "app/shell/input/host_text.h"
#include "tests/app/shell/real_automaton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hangul/automata.h"
#include "xlat/xlat.h"

namespace kesta::shell {
namespace {

struct RecordingView : TerminalKeyView {
  void send(std::string_view bytes) override { wire.append(bytes); }
  void recreateCaret(bool wide) override { carets.push_back(wide); }
  void drawSyllable(int cellOffset, std::uint16_t code) override { drawn.push_back({cellOffset, code}); }
  void eraseSyllable() override { ++erased; }
  std::string wire;
  std::vector<bool> carets;
  std::vector<std::pair<int, std::uint16_t>> drawn;
  int erased = 0;
};

// The bytes a host in `code` expects for UTF-8 text.
std::string hostBytes(const char* utf8, int codeType) {
  xlat::Code code{};
  EXPECT_TRUE(xlat::codeForType(codeType, &code));
  return xlat::convert(xlat::Code::Utf8, code, std::string(utf8));
}

struct Keyboard {
  Keyboard(int layout, int hostCode) : automaton(layout), processor(automaton, view, xlat::convertInPlace) {
    processor.setHostCode(hostCode);
  }
  // Ctrl+Space: the key-down flips the mode, the character goes through GetKey.
  void toggle() {
    hangul::IsToggleKeyPressed(&automaton.state, 0x20, true);
    automaton.controlDown = true;
    processor.character(0x20);
    automaton.controlDown = false;
  }
  void type(std::string_view keys) {
    for (char c : keys) {
      if (c == '\r') processor.carriageReturn();
      else if (c == '\b') processor.backspace();
      else processor.character(static_cast<unsigned char>(c));
    }
  }
  RealAutomaton automaton;
  RecordingView view;
  CharacterProcessor processor;
};

TEST(CharacterProcessor, HangulWordsReachTheHostInItsCode) {
  struct Case {
    int layout, hostCode;
    const char* keys;
    const char* text;  // what the host must receive, UTF-8, before the CR
  };
  const Case cases[] = {
      {hangul::kTwoSetKeyboard, 6, "dkssud\r", "안녕"},
      {hangul::kTwoSetKeyboard, 1, "dkssud\r", "안녕"},
      {hangul::kThreeSetKeyboard, 6, "jfsheajf\r", "안녕아"},
      {hangul::kTwoSetKeyboard, 6, "rk1\r", "가1"},       // a digit right after a syllable follows it
      {hangul::kTwoSetKeyboard, 6, "gks rmf\r", "한 글"},
      {hangul::kTwoSetKeyboard, 9, "dkssud\r", "안녕"},  // UTF-8: three bytes a syllable
      {hangul::kThreeSetKeyboard, 9, "jfsheajf\r", "안녕아"},
  };
  for (const Case& c : cases) {
    Keyboard k(c.layout, c.hostCode);
    k.toggle();
    k.type(c.keys);
    EXPECT_EQ(k.view.wire, hostBytes(c.text, c.hostCode) + "\r") << c.keys << " to code " << c.hostCode;
  }
  Keyboard k(hangul::kTwoSetKeyboard, 6);
  k.toggle();
  k.type("dkssud\r");
  EXPECT_EQ(k.view.wire, "\xBE\xC8\xB3\xE7\r");
  // A 7-bit host gets each syllable as it is finished, each in its own shift.
  Keyboard seven(hangul::kTwoSetKeyboard, 7);
  seven.toggle();
  seven.type("dkssud\r");
  EXPECT_EQ(seven.view.wire, hostBytes("안", 7) + hostBytes("녕", 7) + "\r");
}

TEST(CharacterProcessor, BackspaceWhileComposingSendsNothingAndErasesTheLastJamo) {
  Keyboard k(hangul::kTwoSetKeyboard, 6);
  k.toggle();
  k.type("rk\b\b");
  EXPECT_EQ(k.view.wire, "");
  EXPECT_EQ(k.view.erased, 1);
  k.type("\b");  // nothing composed any more: the byte goes out
  EXPECT_EQ(k.view.wire, "\b");
}

TEST(CharacterProcessor, SwitchingModeCommitsTheSyllableOnce) {
  Keyboard k(hangul::kTwoSetKeyboard, 6);
  k.toggle();
  k.type("rk");
  k.toggle();  // back to English: 가 goes out
  k.type("a");
  EXPECT_EQ(k.view.wire, hostBytes("가", 6) + "a");
}

TEST(CharacterProcessor, ComposingIsDrawnInPlaceAndCommitComesBeforeOtherSends) {
  Keyboard k(hangul::kTwoSetKeyboard, 6);
  k.toggle();
  k.type("r");
  ASSERT_FALSE(k.view.drawn.empty());
  EXPECT_EQ(k.view.drawn.back().first, 0);
  EXPECT_TRUE(k.view.carets.back());  // a syllable-wide caret while composing
  k.processor.commitComposition();
  k.view.send("\x1b");
  EXPECT_EQ(k.view.wire, hostBytes("ㄱ", 6) + "\x1b");
  EXPECT_FALSE(k.view.carets.back());
}

TEST(CharacterProcessor, EnglishModeSendsEveryByte) {
  Keyboard k(hangul::kTwoSetKeyboard, 6);
  k.type(std::string_view("ab\x03\x1b", 4));
  EXPECT_EQ(k.view.wire, std::string("ab\x03\x1b", 4));
}

// Screen text leaves in the host's code, and the clipboard's two texts hold
// the same characters, for every code (a UTF-8 host's grid is internal code).
TEST(HostText, ScreenAndClipboardTextInEveryHostCode) {
  const char* const text = "선택 ok 한 ※";
  for (int host : {1, 6, 7, 9}) {
    const int grid = host == 9 ? 1 : host;
    const std::string inGrid = hostBytes(text, grid);
    EXPECT_EQ(gridToHostCode(inGrid, grid, host, xlat::convertInPlace), hostBytes(text, host)) << host;
    EXPECT_EQ(gridToUtf8(inGrid, grid, xlat::convertInPlace), text) << host;
    EXPECT_EQ(gridToClipboardBytes(inGrid, grid, host, xlat::convertInPlace), host == 9 ? hostBytes(text, 6) : inGrid)
        << host;
    EXPECT_EQ(utf8ToHostCode(text, host, xlat::convertInPlace), hostBytes(text, host)) << host;
  }
  // A UTF-8 host takes pasted text as it is, characters without an internal code included.
  EXPECT_EQ(utf8ToHostCode("caf\u00e9 \U0001F600", 9, xlat::convertInPlace), "caf\u00e9 \U0001F600");
  EXPECT_EQ(utf8ToHostCode("caf\u00e9", 6, xlat::convertInPlace), "caf?");
}

}  // namespace
}  // namespace kesta::shell
