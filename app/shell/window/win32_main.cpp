// The program's entry: the main window class, the hidden main window, the
// logo, and the message loop with the accelerator table first.
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/shell/input/command_ids.h"
#include "app/shell/window/win32_crash_report.h"
#include "app/shell/window/win32_shell.h"
#include "hangul/quilh32.h"

using namespace kesta::shell;

namespace {

// The command line's first word, if any: a host to open by telnet at the
// start of operation.
std::string hostFromCommandLine(const char* line) {
  std::string text = line != nullptr ? line : "";
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto end = text.find_first_of(" \t", first);
  std::string word = text.substr(first, end == std::string::npos ? std::string::npos : end - first);
  if (word.size() >= 2 && word.front() == '"' && word.back() == '"') word = word.substr(1, word.size() - 2);
  return word;
}

bool registerMainClass(HINSTANCE instance, Language language) {
  WNDCLASSA c{};
  c.lpfnWndProc = mainWindowProcedure;
  c.cbWndExtra = sizeof(LONG_PTR);  // the serial-port record
  c.hInstance = instance;
  c.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KESTA));
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  c.lpszMenuName = language == Language::Korean ? "HangulMenu" : MAKEINTRESOURCEA(IDR_ENGLISH_MENU);
  c.lpszClassName = kWindowTitle;
  return RegisterClassA(&c) != 0;
}

// GetMessage hands out posted messages (the socket's and the serial port's
// notifications) before keyboard and mouse input, so while a host floods the
// screen a typed key would wait until the flood stops. Waiting input is
// taken first: a user can always interrupt a long listing.
bool nextMessage(MSG& message) {
  if (HIWORD(GetQueueStatus(QS_INPUT)) != 0 &&
      (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
       PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))) {
    return true;
  }
  return GetMessageA(&message, nullptr, 0, 0) > 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
  installCrashReport();
  const Language language = languageForCodePage(GetACP());
  if (previous == nullptr && !registerMainClass(instance, language)) return 0;
  registerLogoClass(instance);

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  StartParameters start;
  start.host = hostFromCommandLine(commandLine);
  start.background = LoadBitmapA(instance, "BackgroundBitmap");

  HWND window = CreateWindowExA(0, kWindowTitle, kWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                instance, &start);
  if (window == nullptr) return 0;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  createBars(*shellOf(window));

  openLogo(instance, window, shellOf(window)->files);

  MSG message;
  // After an Alt accelerator the Alt key's release would put the window into
  // menu mode (and the next keys would be lost to the menu): it is swallowed.
  bool swallowAltRelease = false;
  while (nextMessage(message)) {
    if (swallowAltRelease && (message.message == WM_SYSKEYUP || message.message == WM_KEYUP) &&
        message.wParam == VK_MENU) {
      swallowAltRelease = false;
      continue;
    }
    if (TranslateAcceleratorA(window, accelerators, &message)) {
      if (message.message == WM_SYSKEYDOWN) swallowAltRelease = true;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  UnregisterWindow(window);
  DestroyHangulLib();
  if (start.background != nullptr) DeleteObject(start.background);
  return static_cast<int>(message.wParam);
}
