#include "app/settings/win32_profile.h"

#include <windows.h>

#include <vector>

namespace kesta::settings {

std::string Win32Profile::readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     std::size_t bufferSize) const {
  if (bufferSize == 0) return {};
  std::string sectionText(section), keyText(key), defaultText(defaultValue);
  std::vector<char> buffer(bufferSize, '\0');
  DWORD got = GetProfileStringA(sectionText.c_str(), keyText.c_str(), defaultText.c_str(), buffer.data(),
                                static_cast<DWORD>(bufferSize));
  if (got >= bufferSize) got = static_cast<DWORD>(bufferSize - 1);
  return std::string(buffer.data(), got);
}

}  // namespace kesta::settings
