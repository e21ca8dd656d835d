// The chat window's line: typing with the real keyboard automaton, the
// editing keys over one- and two-byte characters, the 79-byte limit, and
// sending with head and tail texts through the real code converter.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/session/is_hangul.h"
#include "app/shell/input/chat_processor.h"
#include "app/shell/window/shell_texts.h"
#include "tests/app/shell/real_automaton.h"
#include "xlat/xlat.h"

namespace kesta::shell {
namespace {

std::string johab(const std::string& utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Johab, utf8); }
std::string utf8(std::string_view johabText) {
  return xlat::convert(xlat::Code::Johab, xlat::Code::Utf8, std::string(johabText));
}

struct RecordingChat : ChatView {
  void send(std::string_view bytes) override { wire.append(bytes); }
  void redrawCurrentLine() override { ++lineRedraws; }
  void redrawChatRows() override { ++rowRedraws; }
  void placeCaret(int column, bool isWide) override {
    caretColumn = column;
    wide = isWide;
  }
  std::string wire;
  int lineRedraws = 0, rowRedraws = 0;
  int caretColumn = -1;
  bool wide = false;
};

// Keys in a script: \t Ctrl+Space, \x01 Home, \x05 End, \x02 Left,
// \x06 Right, \x04 Delete, \x10 Up, \x0e Down, \b Backspace, \r Enter;
// every other byte is typed.
struct Chat {
  explicit Chat(int hostCode = 6) : automaton(hangul::kTwoSetKeyboard), processor(automaton, ring, view, xlat::convertInPlace) {
    processor.setHostCode(hostCode);
  }
  void type(std::string_view keys) {
    for (char c : keys) {
      switch (c) {
        case '\t':
          hangul::IsToggleKeyPressed(&automaton.state, 0x20, true);
          automaton.controlDown = true;
          processor.character(0x20);
          automaton.controlDown = false;
          break;
        case '\x01': processor.key(ChatKey::Home); break;
        case '\x05': processor.key(ChatKey::End); break;
        case '\x02': processor.key(ChatKey::Left); break;
        case '\x06': processor.key(ChatKey::Right); break;
        case '\x04': processor.key(ChatKey::Delete); break;
        case '\x10': processor.key(ChatKey::Up); break;
        case '\x0e': processor.key(ChatKey::Down); break;
        case '\b': processor.backspace(); break;
        case '\r': processor.sendLine(); break;
        default: processor.character(static_cast<unsigned char>(c)); break;
      }
    }
  }
  // The line holds whole characters and the column stands on one's first byte.
  void expectSound(const std::string& context) const {
    const std::string_view line = ring.current();
    ASSERT_LE(line.size(), 79u) << context;
    std::size_t at = 0;
    bool columnOnBoundary = processor.column() == 0;
    while (at < line.size()) {
      at += session::isLeadByte(static_cast<unsigned char>(line[at])) ? 2 : 1;
      columnOnBoundary = columnOnBoundary || static_cast<int>(at) == processor.column();
    }
    EXPECT_EQ(at, line.size()) << context << ": half a character at the end";
    EXPECT_LE(processor.column(), static_cast<int>(line.size())) << context;
    EXPECT_TRUE(columnOnBoundary) << context << ": column " << processor.column();
  }
  RealAutomaton automaton;
  ChatRing ring;
  RecordingChat view;
  ChatProcessor processor;
};

TEST(ChatLine, KeysEditWholeCharacters) {
  struct Case {
    const char* keys;
    const char* line;  // UTF-8
    int column;
    bool wideCaret;
  };
  const Case cases[] = {
      {"abc", "abc", 3, false},
      {"abc\x02\x02X", "aXbc", 2, false},
      {"abc\x01", "abc", 0, false},
      {"abc\x01\x05", "abc", 3, false},
      {"abc\x06", "abc", 3, false},                    // Right at the end stays
      {"\tdkssud", "안녕", 2, true},                   // 녕 under composition, the column waits
      {"\tdkssud\x05", "안녕", 4, false},
      {"\tdkssud\x05\x02", "안녕", 2, true},            // Left steps over two bytes
      {"\tdkssud\x05\x02\x02", "안녕", 0, true},
      {"\tdkssud\x05\x02\x04", "안", 2, false},          // Delete takes both bytes
      {"\tdkssud\x02", "안녕", 2, true},                // Left right after composing: on the syllable
      {"\tdkssud\x06", "안녕", 4, false},               // Right steps past it
      {"\tdkssud\x04", "안녕", 2, true},                // Delete only finishes it
      {"\tdkssud\x01", "안녕", 0, true},                // Home on a line that starts with Hangul
      {"\tdkssud\x01\x06", "안녕", 2, true},
      {"\tdkssud\b", "안녀", 2, true},                  // Backspace takes a jamo off
      {"\tdkssud\b\b\b", "안", 2, false},               // the last jamo takes its cells with it
      {"\tdkssud\x05\b", "안", 2, false},              // Backspace = Left + Delete
      {"ab\b", "a", 1, false},
      {"ab\x01\b", "ab", 0, false},                     // at column 0 only Left
      {"\trk1", "가1", 3, false},
      {"ab\x02\trk\x05", "a가b", 4, false},             // a syllable opens its cells mid-line
      {"ab\x02\trkrk", "a가가b", 3, true},             // completed, the next one composing after it
      {"\tdk\x01\tx", "x아", 1, false},
  };
  for (const Case& c : cases) {
    Chat chat;
    chat.type(c.keys);
    EXPECT_EQ(utf8(chat.ring.current()), c.line) << c.keys;
    EXPECT_EQ(chat.processor.column(), c.column) << c.keys;
    EXPECT_EQ(chat.view.caretColumn, c.column) << c.keys;
    EXPECT_EQ(chat.view.wide, c.wideCaret) << c.keys;
    chat.expectSound(c.keys);
  }
}

TEST(ChatLine, NeverGrowsPastSeventyNineBytesNorSplitsACharacter) {
  struct Case {
    std::string keys;
    std::string line;  // internal code
    int column;
  };
  const std::string a79(79, 'a');
  const std::string ga = johab("가");
  std::string syllables;
  for (int i = 0; i < 39; ++i) syllables += ga;
  const Case cases[] = {
      {a79 + "b", a79, 79},
      {a79 + "\x01z", "z" + std::string(78, 'a'), 1},
      {std::string(78, 'a') + "\trk\x05", std::string(78, 'a'), 78},   // no room for two bytes at 78
      {std::string(77, 'a') + "\trk\x05", std::string(77, 'a') + ga, 79},
      {std::string(77, 'a') + "\trkrk\x05", std::string(77, 'a') + ga, 79},  // nor for the next one
      {"x\t" + [] { std::string k; for (int i = 0; i < 39; ++i) k += "rk"; return k; }() + "\x01\tz",
       "zx" + syllables.substr(0, 38 * 2), 1},  // the cut drops the whole last syllable
  };
  for (const Case& c : cases) {
    Chat chat;
    chat.type(c.keys);
    EXPECT_EQ(chat.ring.current(), c.line) << c.keys.size() << " keys";
    EXPECT_EQ(chat.processor.column(), c.column) << c.keys.size() << " keys";
    chat.expectSound("limit case");
  }
  // Any keys at all leave a sound line.
  std::mt19937 random(18);
  const std::string keys = "\t\x01\x05\x02\x06\x04\b" "abrkdks1 .";
  for (int run = 0; run < 200; ++run) {
    Chat chat;
    std::string script;
    for (int i = 0; i < 150; ++i) script += keys[random() % keys.size()];
    for (char k : script) {
      chat.type(std::string_view(&k, 1));
      chat.expectSound("run " + std::to_string(run));
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(ChatLine, SendingAddsHeadAndTailInTheHostCodeAndRotatesTheRing) {
  struct Case {
    int hostCode;
    const char* head;
    const char* keys;
    const char* tail;
    const char* sent;  // UTF-8 before conversion to the host code, CR excluded
    bool rotated;
  };
  const Case cases[] = {
      {6, "[말머리]", "\tdkssud\r", "<꼬리>", "[말머리]안녕<꼬리>", true},
      {1, "", "\tdkssud\r", "", "안녕", true},
      {7, "> ", "\tgks rmf\r", "", "> 한 글", true},
      {6, "head ", "\r", " tail", "head  tail", false},  // empty line: head and tail only
      {6, "", "abc\x01\r", "", "abc", true},                 // the whole line, wherever the caret is
  };
  for (const Case& c : cases) {
    Chat chat(c.hostCode);
    chat.ring.previousLine();
    chat.ring.writeAt(0, "older");
    chat.ring.nextLine();
    chat.processor.setHead(johab(c.head));
    chat.processor.setTail(johab(c.tail));
    chat.type(c.keys);
    xlat::Code host{};
    ASSERT_TRUE(xlat::codeForType(c.hostCode, &host));
    EXPECT_EQ(chat.view.wire, xlat::convert(xlat::Code::Utf8, host, std::string(c.sent)) + "\r") << c.keys;
    EXPECT_EQ(chat.ring.current(), "") << c.keys;
    EXPECT_EQ(chat.processor.column(), 0);
    EXPECT_FALSE(chat.view.wide);
    const auto shown = chat.ring.shownLines();
    if (c.rotated) {
      EXPECT_NE(shown[0], "older") << c.keys;
      EXPECT_EQ(chat.ring.line(chat.ring.currentIndex() - 2), "older") << c.keys;
    } else {
      EXPECT_EQ(shown[0], "older") << c.keys;
    }
  }
}

TEST(ChatLine, UpAndDownWalkTheHistoryNewestFirstAndTheOldestLineGoes) {
  Chat chat;
  for (int i = 0; i < ChatRing::kLines; ++i) chat.type("L" + std::to_string(i) + "\r");
  EXPECT_EQ(chat.view.wire.substr(0, 6), "L0\rL1\r");
  // Nineteen lines of history: L19 back to L1; L0 was dropped by the twentieth.
  std::vector<std::string> seen;
  for (int i = 0; i < ChatRing::kLines; ++i) {
    chat.type("\x10");
    seen.emplace_back(chat.ring.current());
  }
  EXPECT_EQ(seen.front(), "L19");
  EXPECT_EQ(seen[18], "L1");
  EXPECT_EQ(seen[19], "");  // round the ring: the line being written
  chat.type("\x10");
  const auto shown = chat.ring.shownLines();
  EXPECT_EQ(shown[0], "L18");
  EXPECT_EQ(shown[1], "L19");
  EXPECT_EQ(shown[2], "");
  chat.type("\x0e");
  EXPECT_EQ(chat.ring.current(), "");
  EXPECT_EQ(chat.processor.column(), 0);
}

TEST(ChatLine, HintBarFitsTheRowInBothLanguages) {
  for (Language language : {Language::English, Language::Korean}) {
    const std::string internal = johab(std::string(chatHintText(language)));
    EXPECT_LE(internal.size(), 85u);
    EXPECT_NE(internal.find("ALT +"), std::string::npos);
  }
  EXPECT_NE(chatHintText(Language::Korean), chatHintText(Language::English));
}

}  // namespace
}  // namespace kesta::shell
