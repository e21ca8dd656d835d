#include "app/shell/dialogs/text_cut.h"

#include "app/session/is_hangul.h"

namespace kesta::shell {

std::string cutAtCharacter(std::string_view text, std::size_t maxBytes) {
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t width = session::isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    // A lead byte at the very end has no second byte: it is not a character.
    if (end + width > text.size() || end + width > maxBytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

}  // namespace kesta::shell
