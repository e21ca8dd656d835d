// UTF-8 texts of the shell shown through the W forms of the system, so the
// Korean interface draws the same under any code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kesta::shell {

// Text of a code page as UTF-16.
inline std::wstring widenFrom(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

inline std::wstring widen(std::string_view utf8) { return widenFrom(CP_UTF8, utf8); }
// Paths from the settings and the choosers are in the ANSI code page.
inline std::wstring widenAnsi(std::string_view text) { return widenFrom(CP_ACP, text); }

inline std::string narrowUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

inline int messageBoxUtf8(HWND owner, std::string_view text, std::string_view caption, UINT flags) {
  return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), flags);
}

}  // namespace kesta::shell
