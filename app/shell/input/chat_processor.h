// The chat window's side of typing: the keyboard automaton's answers act on
// the current chat line instead of the terminal row, the editing keys move
// and delete by whole characters, and Enter sends head text + line + tail
// text in the host's code with a CR, then rotates the ring. The syllable
// under composition stands in the line (in two opened cells at the column,
// the column not moving) so that every redraw shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/shell/input/character_processor.h"
#include "app/shell/views/chat_ring.h"

namespace kesta::shell {

// The chat rows and the connection, as the processor uses them.
class ChatView {
 public:
  virtual ~ChatView() = default;
  virtual void send(std::string_view bytes) = 0;
  virtual void redrawCurrentLine() = 0;  // row 26, followed by spaces to column 80
  virtual void redrawChatRows() = 0;     // rows 25 to 27
  // The caret at `column` on row 26, a two-byte character wide or one cell wide, shown.
  virtual void placeCaret(int column, bool wide) = 0;
};

enum class ChatKey { Home, End, Left, Right, Up, Down, Delete };

// The chat key for a virtual key, if any.
std::optional<ChatKey> chatKeyFor(int virtualKey);

class ChatProcessor {
 public:
  ChatProcessor(KeyboardAutomaton& automaton, ChatRing& ring, ChatView& view, SendConverter convert)
      : automaton_(automaton), ring_(ring), view_(view), convert_(convert) {}

  void setHostCode(int code) { hostCode_ = code; }
  void setHead(std::string_view text) { head_.assign(text); }
  void setTail(std::string_view text) { tail_.assign(text); }
  const std::string& head() const { return head_; }
  const std::string& tail() const { return tail_; }

  // Opening the chat window acts as Home.
  void open() { key(ChatKey::Home); }
  void key(ChatKey key);
  // A character other than Backspace, Enter and Escape.
  void character(std::uint16_t character);
  void backspace();
  // Enter: sends the line and starts an empty one.
  void sendLine();
  // The syllable under composition written into the line at the column,
  // which moves past it; nothing is sent.
  void commitComposition();
  // A picked character (two bytes) put at the column, in the cells a
  // syllable under composition had opened or in two cells opened for it.
  void insertCharacter(std::uint16_t code);
  // The caret over the character at the column, or a syllable wide while one is composed there.
  void showCaret() { view_.placeCaret(column_, inserted_ || ring_.twoByteAt(column_)); }

  int column() const { return column_; }

 private:
  // Finishes the syllable under composition in its cells; true when one was.
  bool finishComposition();
  // A finished syllable written at the column, in its opened cells or in
  // two cells opened for it; false when the line has no room.
  bool placeSyllable(std::uint16_t code);
  // A finished syllable placed at the column, which moves past it.
  void commitSyllable(std::uint16_t code);
  // The syllable under composition shown at the column, two cells opened the first time.
  void compose(std::uint16_t code);
  void insertByte(char byte);
  void placeCaretOverCharacter() { view_.placeCaret(column_, ring_.twoByteAt(column_)); }

  KeyboardAutomaton& automaton_;
  ChatRing& ring_;
  ChatView& view_;
  SendConverter convert_;
  int hostCode_ = 6;
  std::string head_;
  std::string tail_;
  int column_ = 0;
  bool inserted_ = false;  // cells for the syllable under composition are open
};

}  // namespace kesta::shell
