#include "zlink/file_open.h"

#include <cwchar>

namespace kesta::zlink {

namespace {

// Decodes one character at text[i]; returns its length, or 0 when the bytes
// there are no well-formed character.
std::size_t decodeOne(const std::string& text, std::size_t i, char32_t* out) {
  auto b = static_cast<unsigned char>(text[i]);
  if (b < 0x80) {
    *out = b;
    return 1;
  }
  std::size_t len;
  char32_t u;
  unsigned low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2; u = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3; u = b & 0x0F;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4; u = b & 0x07;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    auto c = static_cast<unsigned char>(text[i + k]);
    if (c < (k == 1 ? low : 0x80u) || c > (k == 1 ? high : 0xBFu)) return 0;
    u = u << 6 | (c & 0x3F);
  }
  *out = u;
  return len;
}

}  // namespace

std::u16string utf8ToUtf16(const std::string& utf8) {
  std::u16string wide;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t u = 0xFFFD;
    std::size_t len = decodeOne(utf8, i, &u);
    i += len ? len : 1;
    if (u >= 0x10000) {
      wide += static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10));
      wide += static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<char16_t>(u);
    }
  }
  return wide;
}

bool isWellFormedUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t u;
    std::size_t len = decodeOne(text, i, &u);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::FILE* openTransferFile(const std::string& path, const char* mode, bool utf8) {
#if defined(_WIN32)
  if (utf8) {
    std::u16string widePath = utf8ToUtf16(path);
    std::wstring wideMode;
    for (const char* m = mode; *m; ++m) wideMode += static_cast<wchar_t>(*m);
    return _wfopen(reinterpret_cast<const wchar_t*>(widePath.c_str()), wideMode.c_str());
  }
#else
  (void)utf8;  // paths are bytes here
#endif
  return std::fopen(path.c_str(), mode);
}

}  // namespace kesta::zlink
