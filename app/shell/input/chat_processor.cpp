#include "app/shell/input/chat_processor.h"

#include <algorithm>

#include "app/shell/input/host_text.h"
#include "app/shell/input/virtual_keys.h"
#include "hangul/automata.h"

namespace kesta::shell {

using namespace kesta::hangul;

namespace {
std::string syllableBytes(std::uint16_t code) {
  return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}
}  // namespace

std::optional<ChatKey> chatKeyFor(int virtualKey) {
  switch (virtualKey) {
    case kVirtualKeyHome: return ChatKey::Home;
    case kVirtualKeyEnd: return ChatKey::End;
    case kVirtualKeyLeft: return ChatKey::Left;
    case kVirtualKeyRight: return ChatKey::Right;
    case kVirtualKeyUp: return ChatKey::Up;
    case kVirtualKeyDown: return ChatKey::Down;
    case kVirtualKeyDelete: return ChatKey::Delete;
    default: return std::nullopt;
  }
}

bool ChatProcessor::finishComposition() {
  if (!automaton_.processingInput()) return false;
  const std::uint16_t code = automaton_.makeCompleteCode();
  const bool placed = code != 0 && placeSyllable(code);
  if (placed) view_.redrawCurrentLine();
  return placed;
}

void ChatProcessor::key(ChatKey key) {
  const bool finished = finishComposition();
  inserted_ = false;
  switch (key) {
    case ChatKey::End:
      column_ = ring_.end();
      break;
    case ChatKey::Home:
      column_ = 0;
      break;
    case ChatKey::Left:
      // A syllable just finished keeps the caret on it.
      if (!finished) column_ = ring_.characterBefore(column_);
      break;
    case ChatKey::Right:
      if (column_ < ring_.end()) column_ += ring_.twoByteAt(column_) ? 2 : 1;
      break;
    case ChatKey::Up:
    case ChatKey::Down:
      if (key == ChatKey::Up) ring_.previousLine();
      else ring_.nextLine();
      view_.redrawChatRows();
      column_ = 0;
      break;
    case ChatKey::Delete:
      // A syllable just finished is kept: Delete then only ends the
      // composition, and the column stays on a character's first byte.
      if (!finished && column_ < ring_.end()) {
        ring_.deleteAt(column_, ring_.twoByteAt(column_) ? 2 : 1);
        view_.redrawCurrentLine();
      }
      break;
  }
  placeCaretOverCharacter();
}

bool ChatProcessor::placeSyllable(std::uint16_t code) {
  const bool opened = inserted_ || ring_.insertAt(column_, 2);
  inserted_ = false;
  return opened && ring_.writeAt(column_, syllableBytes(code));
}

void ChatProcessor::commitSyllable(std::uint16_t code) {
  if (code == 0) return;
  if (!placeSyllable(code)) {  // no room left: the line ends where the column is
    ring_.cutAt(column_);
    return;
  }
  column_ += 2;
}

void ChatProcessor::compose(std::uint16_t code) {
  if (!inserted_) {
    // The syllable needs two cells before the line's limit. Where they do
    // not fit it is not taken into the line, as a typed byte is not, rather
    // than written over the line's last character or its NUL.
    inserted_ = ring_.insertAt(column_, 2);
    if (!inserted_) return;
  }
  ring_.writeAt(column_, syllableBytes(code));
}

void ChatProcessor::insertByte(char byte) {
  if (column_ + 1 > ChatRing::kTextLimit || !ring_.insertAt(column_, 1)) {
    ring_.cutAt(column_);  // a step past the limit ends the line at the column
    return;
  }
  ring_.writeAt(column_, std::string_view(&byte, 1));
  ++column_;
}

void ChatProcessor::character(std::uint16_t character) {
  const std::int16_t result = automaton_.getKey(character);
  bool wide = false;
  switch (result) {
    case kKeyToggle:
      // The automaton hands back the syllable it committed on the switch
      // and keeps its jamo until MakeCompleteCode.
      if (character != 0) {
        commitSyllable(character);
        automaton_.makeCompleteCode();
      }
      inserted_ = false;
      break;
    case kKeyEnglishBackspace:
      backspace();
      return;
    case kKeyEnglish:
    case kKeyOrdinary:
      insertByte(static_cast<char>(character & 0xFF));
      break;
    case kKeyErased:
      key(ChatKey::Delete);  // the opened cells go with the last jamo
      return;
    case kKeyCompletedThenKey:
      commitSyllable(automaton_.completedCode());
      insertByte(static_cast<char>(character & 0xFF));
      break;
    case kKeyCompletedNew:
      commitSyllable(automaton_.completedCode());
      compose(character);
      wide = inserted_;
      break;
    default:  // still composing: `character` is the syllable so far
      compose(character);
      wide = inserted_;
      break;
  }
  view_.redrawCurrentLine();
  view_.placeCaret(column_, wide);
}

void ChatProcessor::backspace() {
  if (automaton_.processingInput()) {
    character(8);
    return;
  }
  const bool atStart = column_ == 0;
  key(ChatKey::Left);
  if (!atStart) key(ChatKey::Delete);
}

void ChatProcessor::commitComposition() {
  if (!automaton_.processingInput()) return;
  commitSyllable(automaton_.makeCompleteCode());
  inserted_ = false;
  view_.redrawCurrentLine();
  view_.placeCaret(column_, false);
}

void ChatProcessor::insertCharacter(std::uint16_t code) {
  commitSyllable(code);
  inserted_ = false;
  view_.redrawCurrentLine();
  placeCaretOverCharacter();
}

void ChatProcessor::sendLine() {
  finishComposition();
  inserted_ = false;
  const std::string_view line = ring_.current();
  std::string text = head_;
  text.append(line);
  text.append(tail_);
  std::string wire = toHostCode(text, hostCode_, convert_);
  wire.push_back('\r');
  view_.send(wire);
  column_ = 0;
  if (!line.empty()) {
    ring_.rotateAfterSending();
    view_.redrawChatRows();
  }
  view_.placeCaret(0, false);
}

}  // namespace kesta::shell
