// What every phone-book and settings dialog does the same way: centring on
// opening, black text on a transparent background over a light grey brush
// (white in text fields), and moving texts between the model's encodings and
// the controls.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace kesta::shell {

// The dialog's centre on the desktop's (the owner's without a desktop
// window, the screen's when that is minimised), kept wholly on the screen.
void centreDialog(HWND dialog);

// WM_CTLCOLOR* answers for edits (white), lists, statics and the dialog
// itself (grey); 0 for any other message.
INT_PTR dialogColours(UINT message, WPARAM wParam);

// Control texts. The interface's own texts are UTF-8; the phone book holds
// the system's ANSI code; macros, auto-response, head, tail and search texts
// the internal code, which the Hangul line edit ("HCTLLineEdit") holds
// itself: those go to and from it as bytes, at most `limit` of them and never
// half a two-byte character. The other readings ask for the real length first.
std::wstring controlText(HWND dialog, int id);
void setUtf8Text(HWND dialog, int id, std::string_view utf8);
std::string ansiText(HWND dialog, int id);
void setAnsiText(HWND dialog, int id, std::string_view ansi);
std::string internalText(HWND dialog, int id, std::size_t limit);
void setInternalText(HWND dialog, int id, std::string_view internal);

// Prepares a Hangul line edit: its text limit in bytes, and the keyboard
// layout the main window types with (2 two-set, else three-set).
void prepareHangulEdit(HWND dialog, int id, std::size_t limit, int keyboard);

std::wstring fromAnsi(std::string_view ansi);
std::string toAnsi(const std::wstring& wide);

// A list box or drop-down list filled with UTF-8 items, `selected` chosen
// (-1 for none).
void fillList(HWND dialog, int id, const std::vector<std::string>& items, int selected, bool dropDown);
int selectedItem(HWND dialog, int id, bool dropDown);

}  // namespace kesta::shell
