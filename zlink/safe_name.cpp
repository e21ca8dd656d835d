#include "zlink/safe_name.h"

#include <cctype>

#include "zlink/file_info.h"
#include "zlink/file_open.h"

namespace kesta::zlink {

namespace {

constexpr size_t kMaxNameBytes = 255;

bool forbidden(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '<': case '>': case ':': case '"': case '/': case '\\': case '|': case '?': case '*':
      return true;
    default:
      return false;
  }
}

bool isDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  // Windows also ignores blanks before the extension ("CON .txt").
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper;
  for (char c : stem) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
      upper == "CONOUT$")
    return true;
  if (upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
      upper[3] <= '9')
    return true;
  return false;
}

}  // namespace

std::string safeFileName(std::string_view received) {
  std::string name(bareName(received));
  for (char& c : name) {
    if (forbidden(static_cast<unsigned char>(c))) c = '_';
  }
  // Windows drops trailing dots and blanks, which would turn "x." into "x"
  // and ".." into the parent directory.
  for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) name[i - 1] = '_';
  if (name.empty()) name = "_";
  if (isDeviceName(name)) name.insert(0, "_");
  if (name.size() > kMaxNameBytes) name.resize(kMaxNameBytes);
  return name;
}

std::string safeUtf8FileName(std::string_view received) {
  std::string name = safeFileName(received);
  // Replaces whatever does not decode, byte by byte, then keeps whole characters.
  std::string clean;
  for (std::size_t i = 0; i < name.size();) {
    std::size_t len = 1;
    auto b = static_cast<unsigned char>(name[i]);
    if (b >= 0x80) {
      len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
      if (i + len > name.size() || !isWellFormedUtf8(name.substr(i, len))) {
        clean += '_';
        ++i;
        continue;
      }
    }
    clean.append(name, i, len);
    i += len;
  }
  return clean;
}

}  // namespace kesta::zlink
