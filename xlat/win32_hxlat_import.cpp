// Ordinal 3 knows no capacity: it converts within the input's own length.
// Toward the codes that make text longer (the 7-bit code's shifts, UTF-8's
// three bytes for a syllable of two) the caller's spare room is lent to it
// as trailing spaces, which convert to themselves (after any shift-in);
// they are taken off again afterwards.
#include "xlat/hxlat_import.h"

#include <windows.h>

#include <cstring>
#include <string>

extern "C" char* WINAPI ConvertHangulCode(int fromType, int toType, char* text);

namespace kesta::xlat {
namespace {

constexpr int kSevenBitType = 7;
constexpr int kUtf8Type = 9;

std::size_t trailingSpaces(const char* text, std::size_t len) {
  std::size_t n = 0;
  while (n < len && text[len - 1 - n] == ' ') ++n;
  return n;
}

}  // namespace

std::size_t convertThroughDll(int fromType, int toType, char* text, std::size_t capacity) {
  if (text == nullptr || capacity == 0) return 0;
  const std::size_t len = strnlen(text, capacity - 1);
  text[len] = 0;
  const bool grows = toType == kSevenBitType || toType == kUtf8Type;
  if (!grows || fromType == toType || len + 1 == capacity) {
    ConvertHangulCode(fromType, toType, text);
    return std::strlen(text);
  }
  std::string padded(text, len);
  padded.append(capacity - 1 - len, ' ');
  ConvertHangulCode(fromType, toType, padded.data());
  std::size_t n = std::strlen(padded.c_str());
  // The text's own trailing spaces stay; the lent ones go. When the result
  // was cut inside the text itself, nothing of it is lent space.
  const std::size_t own = trailingSpaces(text, len);
  const std::size_t kept = n - trailingSpaces(padded.data(), n) + own;
  if (kept < n) n = kept;
  std::memcpy(text, padded.data(), n);
  text[n] = 0;
  return n;
}

std::string convertThroughDll(int fromType, int toType, std::string_view text) {
  // Every two bytes grow by at most two shifts, or to three UTF-8 letters
  // of three bytes (a partial syllable).
  std::string buffer(text);
  buffer.resize(text.size() * 5 + 3, '\0');
  const std::size_t n = convertThroughDll(fromType, toType, buffer.data(), buffer.size());
  buffer.resize(n);
  return buffer;
}

}  // namespace kesta::xlat
