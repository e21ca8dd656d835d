// The two edit classes are registered with the others so that dialogs naming
// them can be created; their editing behaviour (keys, caret, selection,
// scrolling) lives in the edit-control files that build on this library.
// Until then they keep their colour bits and state words and otherwise act as
// plain windows.
#include "controls/hctl.h"

HCTL_API LRESULT WINAPI HCTL_FN(LineEditWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HCTL_API LRESULT WINAPI HCTL_FN(EditWndFn)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
