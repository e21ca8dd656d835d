// The mode model driven by random sessions of user actions, against a plain
// reference of what the user typed: after every step each typed character
// stands in exactly one place (the wire or the chat line), once and in
// order; reception runs exactly when nobody holds it and a resume wakes
// every line; the caret and the painted page are the mode's.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/shell/input/program_modes.h"
#include "app/shell/input/virtual_keys.h"
#include "app/shell/views/chat_ring.h"
#include "app/shell/views/clickable_item.h"
#include "tests/app/session/session_fixture.h"
#include "tests/app/shell/real_automaton.h"

namespace kesta::shell {
namespace {

using session::testing::Session;

// Two lines, telnet and the modem, with what pausing did to each.
struct Lines : ReceptionLines {
  bool telnetOpen() const override { return telnet; }
  bool serialOpen() const override { return serial; }
  void setPaused(PauseStep step, bool paused) override {
    switch (step) {
      case PauseStep::SocketNotifications: socketPaused = paused && telnet; break;
      case PauseStep::SerialReader: readerAsleep = paused && serial; break;
      case PauseStep::SerialEvents: eventsOff = paused && serial; break;
    }
  }
  bool telnetDelivers() const { return telnet && !socketPaused; }
  bool serialDelivers() const { return serial && !readerAsleep && !eventsOff; }
  bool telnet = false, serial = true;
  bool socketPaused = false, readerAsleep = false, eventsOff = false;
};

// The window: the wire, the caret and the chat rows as the shell's face
// keeps them (a caret request outside the mode's place is not shown).
struct Window : TerminalKeyView, ChatView, ModeFace {
  explicit Window(Session& s, RealAutomaton& a) : session(s), automaton(a) {}
  // TerminalKeyView and ChatView
  void send(std::string_view bytes) override { wire.append(bytes); }
  void recreateCaret(bool) override { placeTerminalCaret(false); }
  void drawSyllable(int, std::uint16_t) override {}
  void eraseSyllable() override {}
  void redrawCurrentLine() override {}
  void redrawChatRows() override {}
  void placeCaret(int, bool) override {
    if (modes->caret() == CaretPlace::ChatColumn) caret = CaretPlace::ChatColumn;
  }
  // ModeFace
  int displayOffset() override { return session.terminal.state().displayOffset; }
  void openChatRows() override { session.terminal.openChat(); }
  void closeChatRows() override { session.terminal.closeChat(); }
  void setAutomatonMode(bool hangul) override { hangul::SetHangulMode(&automaton.state, hangul ? 1 : 0); }
  void showHangulMode(bool hangul) override { pane = hangul; }
  void hideCaret() override { caret = CaretPlace::Hidden; }
  void placeTerminalCaret(bool) override {
    if (modes->caret() == CaretPlace::TerminalCursor) caret = CaretPlace::TerminalCursor;
  }
  // What a paint message draws.
  void paint(PassedScreenView& view) {
    if (modes->paintedPage() == PaintedPage::PassedScreenView) {
      view.repaint();
    } else {
      session.terminal.pages().repaint(session.terminal.state().displayOffset, modes->chatOpen());
    }
  }

  Session& session;
  RealAutomaton& automaton;
  ProgramModes* modes = nullptr;
  std::string wire;
  CaretPlace caret = CaretPlace::Hidden;
  bool pane = false;
};

struct Grid : GridRows {
  std::string_view row(int r) const override { return r == 0 ? menu : blank; }
  int gridCode() const override { return 1; }
  std::string menu = std::string("1 2 3 (YES) 123 (P,N,Q)") + std::string(57, ' ');
  std::string blank = std::string(80, ' ');
};

std::string bytesOf(std::uint16_t code) { return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)}; }

// What the user typed and where it must stand, worked out from the actions
// alone with an automaton of its own.
struct Reference {
  explicit Reference(int keyboard) : automaton(keyboard) {}
  void emit(const std::string& bytes) {
    if (chat) {
      line.insert(static_cast<std::size_t>(column), bytes);
      column += static_cast<int>(bytes.size());
    } else {
      wire += bytes;
    }
  }
  void commit() {
    if (!automaton.processingInput()) return;
    if (const std::uint16_t code = automaton.makeCompleteCode()) emit(bytesOf(code));
  }
  void type(std::uint16_t ch) {
    std::uint16_t key = ch;
    switch (automaton.getKey(key)) {
      case hangul::kKeyToggle:
        if (key != 0) {
          emit(bytesOf(key));
          automaton.makeCompleteCode();
        }
        break;
      case hangul::kKeyEnglish:
      case hangul::kKeyOrdinary:
      case hangul::kKeyEnglishBackspace: emit(std::string(1, static_cast<char>(key & 0xFF))); break;
      case hangul::kKeyCompletedThenKey:
        emit(bytesOf(automaton.completedCode()));
        emit(std::string(1, static_cast<char>(key & 0xFF)));
        break;
      case hangul::kKeyCompletedNew: emit(bytesOf(automaton.completedCode())); break;
      default: break;  // composing, or the last jamo erased
    }
  }
  // Backspace with nothing composed: a byte to the host, or the character
  // before the chat column deleted.
  void backspace() {
    if (!chat) {
      wire += '\b';
      return;
    }
    int start = 0, previous = 0;
    while (start < column) {
      previous = start;
      start += static_cast<unsigned char>(line[static_cast<std::size_t>(start)]) >= 0x80 ? 2 : 1;
    }
    if (column > 0) {
      line.erase(static_cast<std::size_t>(previous), static_cast<std::size_t>(column - previous));
      column = previous;
    }
  }
  // What the line shows: the committed text with the syllable under
  // composition at the column.
  std::string shownLine() {
    std::string shown = line;
    if (chat && automaton.processingInput()) shown.insert(static_cast<std::size_t>(column), bytesOf(automaton.currentCode()));
    return shown;
  }
  CaretPlace caret() const {
    if (view || selecting) return CaretPlace::Hidden;
    return chat ? CaretPlace::ChatColumn : CaretPlace::TerminalCursor;
  }

  RealAutomaton automaton;
  std::string wire, line;
  int column = 0;
  bool chat = false, view = false, selecting = false, dragging = false, transfer = false;
  GridCell anchor;
};

enum Action {
  kTypeLetter, kTypeDigit, kBackspace, kEnter, kCtrlSpace, kShiftSpace, kChat, kView, kViewKey, kEscape,
  kHanja, kSpecial, kMouseDown, kMouseJitter, kMouseDrag, kMouseUp, kCopy, kSendSelection, kPaste, kMacro,
  kTelnet, kHangUp, kModemAgain, kHostBytes, kTransfer, kDialog, kRepaint, kActionCount
};

void runSession(unsigned seed, int keyboard) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  Session s;
  for (int i = 0; i < 80; ++i) s.interpret("history line " + std::to_string(i) + "\r\n");
  RealAutomaton automaton(keyboard);
  Window window(s, automaton);
  Lines lines;
  ReceptionHolds holds(lines);
  ChatRing ring;
  CharacterProcessor terminalKeys(automaton, window, nullptr);
  ChatProcessor chat(automaton, ring, window, nullptr);
  terminalKeys.setHostCode(1);
  chat.setHostCode(1);
  PassedScreenView view(s.terminal.pages(), holds);
  ScreenSelection selection(holds);
  ProgramModes modes(automaton, terminalKeys, chat, view, selection, window);
  window.modes = &modes;
  modes.placeCaret();  // the window takes the focus
  Grid grid;
  Reference ref(keyboard);
  const char* letters = keyboard == 2 ? "rkskdhgkqjtnxyzaAb" : "kfjhuyidbnmjf;/'3a";
  std::string trail;

  for (int step = 0; step < 300; ++step) {
    int action = pick(kActionCount);
    // The chat line stays inside its 79 bytes.
    if (ref.chat && ref.line.size() > 60) action = kEnter;
    trail += std::to_string(action) + " ";
    switch (action) {
      case kTypeLetter:
      case kTypeDigit: {
        const std::uint16_t ch = action == kTypeDigit ? static_cast<std::uint16_t>('0' + pick(10))
                                                      : static_cast<std::uint16_t>(letters[pick(18)]);
        ref.type(ch);
        modes.character(ch);
        break;
      }
      case kBackspace:
        if (ref.automaton.processingInput()) ref.type(8); else ref.backspace();
        modes.character(8);
        break;
      case kEnter:
        if (ref.chat) {
          ref.commit();
          ref.wire += ref.line + "\r";
          ref.line.clear();
          ref.column = 0;
        } else {
          ref.commit();
          ref.wire += "\r";
        }
        modes.character(13);
        break;
      case kCtrlSpace:
        // The key down switches the automaton; its character hands back the syllable.
        automaton.controlDown = ref.automaton.controlDown = true;
        hangul::IsToggleKeyPressed(&ref.automaton.state, hangul::kToggleVirtualKey, true);
        ref.type(hangul::kToggleVirtualKey);
        modes.keyDown(hangul::kToggleVirtualKey,
                      hangul::IsToggleKeyPressed(&automaton.state, hangul::kToggleVirtualKey, true) != 0);
        modes.character(hangul::kToggleVirtualKey);
        automaton.controlDown = ref.automaton.controlDown = false;
        break;
      case kShiftSpace:
        ref.commit();
        hangul::SetHangulMode(&ref.automaton.state, modes.hangulMode() ? 0 : 1);
        modes.switchHangulMode();
        break;
      case kChat:
        ref.view = false;
        ref.commit();  // the terminal's syllable to the host, or the chat's into the line
        ref.chat = !ref.chat;
        if (ref.chat) ref.column = 0;  // opening acts as Home
        modes.toggleChat();
        break;
      case kView:
        ref.view = !ref.view;
        modes.toggleView();
        break;
      case kViewKey: {
        // PgUp, PgDn, Up, Down: Up and Down would walk the chat ring.
        const int keys[] = {kVirtualKeyPageUp, kVirtualKeyPageDown, kVirtualKeyUp, kVirtualKeyDown};
        const int key = keys[pick(ref.chat && !ref.view ? 2 : 4)];
        modes.keyDown(key, false);
        break;
      }
      case kEscape:
        if (ref.view) {
          ref.view = false;
        } else {
          if (!ref.chat) ref.commit();
          ref.wire += "\x1b";
        }
        modes.character(27);
        break;
      case kHanja: {
        const std::uint16_t hanja = pick(2) ? 0xE031 + pick(50) : 0;  // 0: the picker cancelled
        if (ref.automaton.processingInput()) {
          const std::uint16_t syllable = ref.automaton.makeCompleteCode();
          ref.emit(bytesOf(hanja != 0 ? hanja : syllable));
        }
        if (const std::uint16_t syllable = modes.takeSyllableForHanja()) modes.putPicked(hanja != 0 ? hanja : syllable);
        break;
      }
      case kSpecial:
        ref.commit();
        ref.emit(bytesOf(0xD9A1));
        modes.finishComposition();
        modes.putPicked(0xD9A1);
        break;
      case kMouseDown: {
        const GridCell cell{pick(24), pick(2)};
        if (!ref.view) {
          ref.selecting = false;
          ref.dragging = true;
          ref.anchor = cell;
          if (auto item = clickableItem(grid.row(cell.row), cell.column, 1)) {
            if (!ref.chat) ref.commit();
            ref.wire += *item + "\r";
          }
        }
        if (auto item = modes.buttonDown(cell, grid)) modes.sendOwnBytes(*item + "\r");
        break;
      }
      case kMouseJitter:  // a shaky hand stays in the cell
        if (ref.dragging && !ref.view) modes.dragTo(ref.anchor, grid);
        break;
      case kMouseDrag: {
        const GridCell cell{pick(80), pick(24)};
        if (ref.dragging && !ref.view && !(cell == ref.anchor)) ref.selecting = true;
        modes.dragTo(cell, grid);
        break;
      }
      case kMouseUp:
        ref.dragging = false;
        modes.buttonUp();
        break;
      case kCopy:
        ref.selecting = ref.dragging = false;
        modes.endSelection();
        break;
      case kSendSelection:
        ref.selecting = ref.dragging = false;
        if (!ref.chat) ref.commit();
        ref.wire += selection.text();
        modes.endSelection();
        modes.sendOwnBytes(selection.text());
        break;
      case kPaste:
      case kMacro: {
        const std::string bytes = action == kPaste ? "pasted text" : "macro\r";
        if (!ref.chat) ref.commit();
        ref.wire += bytes;
        modes.sendOwnBytes(bytes);
        break;
      }
      case kTelnet:
        lines.telnet = true;
        lines.socketPaused = false;  // a new socket notifies
        holds.telnetOpened();
        break;
      case kHangUp:
        lines.telnet = lines.socketPaused = false;
        break;
      case kModemAgain:  // the modem dialog opens the port again
        lines.readerAsleep = lines.eventsOff = false;
        holds.serialOpened();
        break;
      case kHostBytes:
        if (lines.telnetDelivers() || lines.serialDelivers()) s.interpret("host says " + std::to_string(step) + "\r\n");
        break;
      case kTransfer:
        holds.hold(ReceptionHolder::Transfer);
        ASSERT_FALSE(lines.telnetDelivers() || lines.serialDelivers()) << "seed " << seed << ": " << trail;
        holds.release(ReceptionHolder::Transfer);
        break;
      case kDialog:  // a dialog takes the focus and gives it back
        window.caret = CaretPlace::Hidden;
        modes.placeCaret();
        break;
      case kRepaint: {
        const session::CellPicture before = s.canvas.window();
        window.paint(view);
        ASSERT_EQ(s.canvas.window(), before) << "seed " << seed << ": a repaint changed the picture: " << trail;
        break;
      }
    }
    const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + ": " + trail;
    ASSERT_EQ(window.wire, ref.wire) << where;
    ASSERT_EQ(std::string(ring.current()), ref.shownLine()) << where;
    ASSERT_EQ(modes.chatOpen(), ref.chat) << where;
    ASSERT_EQ(modes.viewOpen(), ref.view) << where;
    ASSERT_EQ(modes.paintedPage(), ref.view ? PaintedPage::PassedScreenView : PaintedPage::Live) << where;
    ASSERT_EQ(modes.hangulMode(), window.pane) << where;
    ASSERT_EQ(window.caret, ref.caret()) << where;
    const bool held = ref.view || ref.selecting;
    ASSERT_EQ(holds.paused(), held) << where;
    ASSERT_EQ(lines.telnetDelivers(), lines.telnet && !held) << where;
    ASSERT_EQ(lines.serialDelivers(), lines.serial && !held) << where;
  }
}

TEST(ProgramModes, RandomSessionsKeepTypingReceptionCaretAndPageWhereTheModeSays) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    runSession(seed, seed % 2 == 0 ? 2 : 3);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace kesta::shell
