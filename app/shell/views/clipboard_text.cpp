#include "app/shell/views/clipboard_text.h"

#include <cstring>

namespace kesta::shell {

std::string_view clipboardText(const char* block, std::size_t blockSize) {
  if (block == nullptr) return {};
  const void* nul = std::memchr(block, '\0', blockSize);
  const std::size_t length = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - block) : blockSize;
  return {block, length};
}

std::string_view pieceAt(std::string_view text, std::size_t offset, std::size_t pieceSize) {
  if (offset >= text.size() || pieceSize == 0) return {};
  return text.substr(offset, pieceSize);
}

}  // namespace kesta::shell
