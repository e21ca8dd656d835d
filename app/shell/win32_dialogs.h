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
// The save-file chooser, starting in `directory`.
bool chooseSaveFile(HWND owner, const char* filter, const std::string& directory, const char* extension,
                    std::string& path);

inline constexpr int kLineDialogEdit = 170;
// A one-line text dialog ("SearchDlg", "HeadDlg", "TailDlg"): `text` in the
// internal code, shown on opening and replaced on OK (at most 100 bytes).
bool runLineDialog(HINSTANCE instance, HWND owner, const char* name, std::string& text);

}  // namespace kesta::shell
