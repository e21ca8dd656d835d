// The keyboard automaton of each registered window: every export finds the
// window's record and hands its automaton to the neutral core (a window that
// is not registered gives a null record, and the core then returns 0).
#include "hangul/win32_registry.h"

namespace core = kesta::hangul;
using namespace quilh32;

namespace {

HAutomataState* automatonOf(HWND window) {
  HRegistration* r = findWindow(window);
  return r != nullptr ? &r->automaton : nullptr;
}

bool controlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

// After the mode toggle the recorded Control key state is flipped, so the
// space that follows is not taken for another toggle.
void flipRecordedControl() {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return;
  keys[VK_CONTROL] = keys[VK_CONTROL] == 0 ? 1 : 0;
  SetKeyboardState(keys);
}

}  // namespace

QUILH32_API int WINAPI InitAutomata(HWND w, int type) { return core::InitAutomata(automatonOf(w), type); }
QUILH32_API int WINAPI SetKbdType(HWND w, int type) { return core::SetKbdType(automatonOf(w), type); }
QUILH32_API int WINAPI GetKbdType(HWND w) { return core::GetKbdType(automatonOf(w)); }
QUILH32_API int WINAPI SetUserKbdType(HWND w, HStepRoutine step, HJamoToKeyRoutine i, HJamoToKeyRoutine m,
                                      HJamoToKeyRoutine f) {
  return core::SetUserKbdType(automatonOf(w), step, i, m, f);
}
QUILH32_API int WINAPI SetHangulMode(HWND w, int mode) { return core::SetHangulMode(automatonOf(w), mode); }
QUILH32_API int WINAPI IsInHangulMode(HWND w) { return core::IsInHangulMode(automatonOf(w)); }
QUILH32_API int WINAPI IsToggleKeyPressed(HWND w, int vk) {
  return core::IsToggleKeyPressed(automatonOf(w), vk, controlDown());
}
QUILH32_API short WINAPI GetKey(HWND w, WORD* key) {
  HAutomataState* s = automatonOf(w);
  if (s == nullptr || key == nullptr) return 0;
  const short result = core::GetKey(s, key, controlDown());
  if (result == core::kKeyToggle) flipRecordedControl();
  return result;
}
QUILH32_API WORD WINAPI GetCompletedCode(HWND w) { return core::GetCompletedCode(automatonOf(w)); }
QUILH32_API WORD WINAPI GetCurrentCode(HWND w) { return core::GetCurrentCode(automatonOf(w)); }
QUILH32_API int WINAPI GetCurrentKeys(HWND w, WORD* i, WORD* m, WORD* f) {
  return core::GetCurrentKeys(automatonOf(w), i, m, f);
}
QUILH32_API WORD WINAPI MakeCompleteCode(HWND w) { return core::MakeCompleteCode(automatonOf(w)); }
QUILH32_API int WINAPI ClearCodes(HWND w) { return core::ClearCodes(automatonOf(w)); }
QUILH32_API int WINAPI IsProcessingInput(HWND w) { return core::IsProcessingInput(automatonOf(w)); }
QUILH32_API int WINAPI WasProcessingInput(HWND w) { return core::WasProcessingInput(automatonOf(w)); }
QUILH32_API short WINAPI Automata2(HAutomataState* s, WORD* key) { return core::Automata2(s, key); }
QUILH32_API short WINAPI Automata3(HAutomataState* s, WORD* key) { return core::Automata3(s, key); }
QUILH32_API WORD WINAPI Cho2Key(HAutomataState* s, WORD jamo) { return core::Cho2Key(s, jamo); }
QUILH32_API WORD WINAPI Jung2Key(HAutomataState* s, WORD jamo) { return core::Jung2Key(s, jamo); }
QUILH32_API WORD WINAPI Jong2Key(HAutomataState* s, WORD jamo) { return core::Jong2Key(s, jamo); }
QUILH32_API int WINAPI DisableIME(DWORD) { return 0; }
QUILH32_API int WINAPI EnableIME(DWORD, DWORD) { return 0; }
