// Window procedures still to come: the default behaviour for now.
#include "controls/hctl.h"

#define PENDING(name) \
  HCTL_API LRESULT WINAPI HCTL_FN(name)(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
PENDING(StaticWndFn)
PENDING(BitmapButtonWndFn)
PENDING(ButtonWndFn)
PENDING(RadioButtonWndFn)
PENDING(CheckBoxWndFn)
PENDING(LineEditWndFn)
PENDING(EditWndFn)
