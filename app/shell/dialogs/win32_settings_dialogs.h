// The phone-book, dialling and settings dialogs of the main window. Each runs
// modally over its neutral model; the main window re-reads what a dialog
// reports as changed.
#pragma once

#include <string_view>

namespace kesta::shell {

struct Shell;

// The dialog of a resource name ("DialDlg", "ModemDlg", "MacroDlg", ...);
// true when it reports a change the main window must take.
bool runSettingsDialog(Shell& shell, std::string_view name);

// The connection came up ("CONNECT" or a telnet connection's first data):
// ends the Dialing and Dial dialogs when a call is being placed.
void endDiallingDialogs(Shell& shell);

// "NotOpenDlg", titled "Failed Port": the serial port did not open.
void showFailedPortDialog(Shell& shell);

// One per dialog family (win32_dial_dialogs.cpp, win32_text_dialogs.cpp).
void runDialDialog(Shell& shell);
void runMacroDialog(Shell& shell);
void runAutoDialog(Shell& shell);
void runDirectoryDialog(Shell& shell);

}  // namespace kesta::shell
