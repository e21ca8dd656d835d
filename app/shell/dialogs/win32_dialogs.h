// The program's small dialogs: the host-name dialog and the file chooser.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace kesta::shell {

inline constexpr int kHostNameEdit = 168;
inline constexpr std::size_t kHostTextLimit = 99;

// "OpenSocket": true with the typed host text (at most 99 characters) on OK.
bool runOpenSocketDialog(HINSTANCE instance, HWND owner, std::string& host);
// The open-file chooser; `filter` is the chooser's double-NUL list. The
// title, first directory and default extension are optional (null).
bool chooseFile(HWND owner, const char* filter, std::string& path, const char* title = nullptr,
                const char* directory = nullptr, const char* extension = nullptr);
// The same through the Unicode chooser, for a UTF-8 host: the chosen path
// comes back in UTF-8, so a file of any name can be sent.
bool chooseFileUtf8(HWND owner, const char* filter, std::string& path, const char* title, const char* directory,
                    const char* extension);
// The save-file chooser titled `title`, starting in `directory`; choosing
// an existing file asks before it is replaced.
bool chooseSaveFile(HWND owner, const char* filter, const char* title, const std::string& directory,
                    const char* extension, std::string& path);

// A one-line text dialog: its resource name and its Hangul line edit.
struct LineDialog {
  const char* name;
  int edit;
  std::size_t limit;  // bytes
};
inline constexpr LineDialog kSearchDialog{"SearchDlg", 170, 100};
inline constexpr LineDialog kHeadDialog{"HeadDlg", 132, 79};
inline constexpr LineDialog kTailDialog{"TailDlg", 133, 79};

// Runs `dialog` with `text` (internal code) in its edit, typed with the
// keyboard layout `keyboard`; on OK `text` is what the edit holds.
bool runLineDialog(HINSTANCE instance, HWND owner, const LineDialog& dialog, int keyboard, std::string& text);

}  // namespace kesta::shell
