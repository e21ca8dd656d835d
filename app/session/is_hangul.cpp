#include "app/session/is_hangul.h"

#include <cstring>

#include "app/session/terminal_types.h"

namespace kesta::session {

int IsHangul(const char* text, std::size_t length, std::size_t index) {
  if (text == nullptr || index >= length) return 0;
  std::size_t at = 0;
  for (;;) {
    bool twoByte = isLeadByte(static_cast<unsigned char>(text[at]));
    std::size_t next = at + (twoByte ? 2 : 1);
    if (index < next) return !twoByte ? 0 : (index == at ? 1 : 2);
    at = next;
  }
}

std::size_t identityConverter(int, int, char* text, std::size_t capacity) {
  if (text == nullptr || capacity == 0) return 0;
  std::size_t length = strnlen(text, capacity);
  if (length == capacity) text[--length] = '\0';
  return length;
}

}  // namespace kesta::session
