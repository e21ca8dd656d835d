// The road of a typed character on the terminal row: the keyboard automaton
// decides, and this processor acts on its answer: a syllable under
// composition is drawn in place (an overlay; the host's echo replaces it),
// a completed syllable is converted to the host code and sent, anything
// else goes out as one unchanged byte. The chat line has its own editor.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hangul/automata.h"

namespace kesta::shell {

// The window's automaton.
class KeyboardAutomaton {
 public:
  virtual ~KeyboardAutomaton() = default;
  virtual std::int16_t getKey(std::uint16_t& character) = 0;
  virtual std::uint16_t completedCode() = 0;
  virtual std::uint16_t currentCode() = 0;
  virtual std::uint16_t makeCompleteCode() = 0;
  virtual bool processingInput() = 0;
};

// The terminal row and the connection, as the processor uses them.
class TerminalKeyView {
 public:
  virtual ~TerminalKeyView() = default;
  virtual void send(std::string_view bytes) = 0;
  // The caret at the terminal cursor, one cell wide or a syllable wide.
  virtual void recreateCaret(bool wide) = 0;
  // The composing syllable (internal code) drawn at the cursor plus `cellOffset`.
  virtual void drawSyllable(int cellOffset, std::uint16_t code) = 0;
  // Spaces over the cursor cell and the two after it.
  virtual void eraseSyllable() = 0;
};

// Conversion of internal-code text to the host code in place; returns the new length.
using SendConverter = std::size_t (*)(int fromType, int toType, char* text, std::size_t capacity);

class CharacterProcessor {
 public:
  static constexpr int kInternalCode = 1;

  CharacterProcessor(KeyboardAutomaton& automaton, TerminalKeyView& view, SendConverter convert)
      : automaton_(automaton), view_(view), convert_(convert) {}

  void setHostCode(int code) { hostCode_ = code; }
  int hostCode() const { return hostCode_; }

  // A character other than Backspace, Enter and Escape.
  void character(std::uint16_t character);
  // Backspace: the automaton takes a jamo off while composing, else byte 8 goes out.
  void backspace();
  // Enter: a syllable under composition goes out first, then byte 13.
  void carriageReturn();
  // Anything that sends outside the keyboard (Escape, macros, paste, clicks)
  // commits the syllable under composition first, so the order on the wire
  // is the order of typing.
  void commitComposition();

  // A two-byte character (internal code) sent in the host code; 0 sends nothing.
  void sendCharacter(std::uint16_t code);

  // Text in the internal code converted to the host code.
  std::string_view toHost(std::string_view internal);

 private:
  void sendByte(std::uint16_t character);

  KeyboardAutomaton& automaton_;
  TerminalKeyView& view_;
  SendConverter convert_;
  int hostCode_ = 6;
  std::array<char, 1024> converted_{};
};

}  // namespace kesta::shell
