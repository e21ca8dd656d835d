// Helpers of the template exports that the library's own dialogs share.
#pragma once

#include <windows.h>

#include <string>

#include "controls/dialog_template.h"

namespace hctl {

// A caller's string through the ANSI code page, as templates hold names.
std::u16string ansiToUtf16(const char* text);
kesta::controls::BaseUnits baseUnits();
// Runs a template modally; -1 (the dialog could not be made) becomes 0.
int runTemplate(HINSTANCE module, const void* dialogTemplate, HWND owner, DLGPROC procedure, LPARAM value);
// The module dialogs of an owner run from: the owner's, else the library's.
HINSTANCE moduleOf(HWND owner);
// Moves a dialog to the middle of the screen across and a third of the way down.
void placeDialog(HWND dialog);

}  // namespace hctl
