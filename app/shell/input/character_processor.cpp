#include "app/shell/input/character_processor.h"

#include <cstring>
#include <string>

namespace kesta::shell {

using namespace kesta::hangul;

std::string_view CharacterProcessor::toHost(std::string_view internal) {
  // UTF-8 takes up to three bytes for each letter of a two-byte code (a
  // partial syllable spells up to three), 7-bit code adds its shifts: the
  // text is cut to what surely fits.
  const std::size_t limit = converted_.size() / 5 - 4;
  const std::size_t piece = internal.size() < limit ? internal.size() : limit;
  std::memcpy(converted_.data(), internal.data(), piece);
  converted_[piece] = '\0';
  const std::size_t length = convert_ != nullptr ? convert_(kInternalCode, hostCode_, converted_.data(), converted_.size())
                                                 : piece;
  return {converted_.data(), length < converted_.size() ? length : converted_.size()};
}

void CharacterProcessor::sendCharacter(std::uint16_t code) {
  if (code == 0) return;
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  view_.send(toHost(std::string_view(bytes, 2)));
}

void CharacterProcessor::sendByte(std::uint16_t character) {
  const char byte = static_cast<char>(character & 0xFF);
  view_.send(std::string_view(&byte, 1));
}

void CharacterProcessor::character(std::uint16_t character) {
  const std::int16_t result = automaton_.getKey(character);
  switch (result) {
    case kKeyToggle:
      view_.recreateCaret(false);
      // The automaton hands back the syllable it committed on the switch and
      // keeps its jamo until MakeCompleteCode, which must come next or the
      // next key would complete the same syllable a second time.
      if (character != 0) {
        sendCharacter(character);
        automaton_.makeCompleteCode();
      }
      break;
    case kKeyEnglish:
    case kKeyEnglishBackspace:
    case kKeyOrdinary:
      sendByte(character);
      break;
    case kKeyErased:
      view_.recreateCaret(false);
      view_.eraseSyllable();
      break;
    case kKeyCompletedThenKey:
      sendCharacter(automaton_.completedCode());
      sendByte(character);
      view_.recreateCaret(false);
      break;
    case kKeyCompletedNew: {
      const std::uint16_t completed = automaton_.completedCode();
      const std::uint16_t next = automaton_.currentCode();
      const char bytes[2] = {static_cast<char>(completed >> 8), static_cast<char>(completed & 0xFF)};
      const std::string_view host = toHost(std::string_view(bytes, 2));
      const std::string sent(host);
      view_.drawSyllable(2, next);
      view_.send(sent);
      break;
    }
    default:  // still composing: `character` is the syllable so far
      view_.recreateCaret(true);
      view_.drawSyllable(0, character);
      break;
  }
}

void CharacterProcessor::backspace() {
  if (automaton_.processingInput()) {
    character(8);
    return;
  }
  const char byte = 8;
  view_.send(std::string_view(&byte, 1));
}

void CharacterProcessor::commitComposition() {
  if (!automaton_.processingInput()) return;
  sendCharacter(automaton_.makeCompleteCode());
  view_.recreateCaret(false);
}

void CharacterProcessor::carriageReturn() {
  commitComposition();
  const char byte = 13;
  view_.send(std::string_view(&byte, 1));
  view_.recreateCaret(false);
}

}  // namespace kesta::shell
