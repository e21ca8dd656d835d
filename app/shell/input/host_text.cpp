#include "app/shell/input/host_text.h"

#include <algorithm>

namespace kesta::shell {

namespace {
constexpr int kInternalCode = CharacterProcessor::kInternalCode;
constexpr int kClipboardCode = 6;
constexpr int kUtf8Code = 9;

// One conversion with room for the longest result (UTF-8 takes up to three
// bytes for each letter of a two-byte code, 7-bit code its shifts). A NUL
// ends the converter's text: text after it is dropped.
std::string converted(std::string_view text, int from, int to, SendConverter convert) {
  if (convert == nullptr || from == to) return std::string(text);
  std::string buffer(text.size() * 5 + 16, '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
  const std::size_t length = convert(from, to, buffer.data(), buffer.size());
  buffer.resize(std::min(length, buffer.size()));
  return buffer;
}
}  // namespace

std::string toHostCode(std::string_view internal, int hostCode, SendConverter convert) {
  return converted(internal, kInternalCode, hostCode, convert);
}

std::string gridToHostCode(std::string_view grid, int gridCode, int hostCode, SendConverter convert) {
  if (gridCode == hostCode) return std::string(grid);
  return toHostCode(grid, hostCode, convert);
}

std::string gridToUtf8(std::string_view grid, int gridCode, SendConverter convert) {
  return converted(converted(grid, gridCode, kInternalCode, convert), kInternalCode, kUtf8Code, convert);
}

std::string gridToClipboardBytes(std::string_view grid, int gridCode, int hostCode, SendConverter convert) {
  if (gridCode == hostCode) return std::string(grid);
  return converted(grid, gridCode, kClipboardCode, convert);
}

std::string utf8ToHostCode(std::string_view utf8, int hostCode, SendConverter convert) {
  // A UTF-8 host takes the text as it is, characters without an internal code included.
  if (hostCode == kUtf8Code) return std::string(utf8);
  return toHostCode(converted(utf8, kUtf8Code, kInternalCode, convert), hostCode, convert);
}

}  // namespace kesta::shell
