// The program's small dialogs: the host-name dialog and the file chooser.
#pragma once

#include <windows.h>

#include <string>

namespace kesta::shell {

inline constexpr int kHostNameEdit = 168;
inline constexpr std::size_t kHostTextLimit = 99;

// "OpenSocket": true with the typed host text (at most 99 characters) on OK.
bool runOpenSocketDialog(HINSTANCE instance, HWND owner, std::string& host);
// The open-file chooser; `filter` is the chooser's double-NUL list.
bool chooseFile(HWND owner, const char* filter, std::string& path);

}  // namespace kesta::shell
