// The logo window: shown for five seconds at start while the main window
// waits hidden. Its creation makes the capture, upload and download folders;
// its closing starts the main window's operation.
#include <memory>

#include "app/settings/picture.h"
#include "app/shell/window/win32_picture.h"
#include "app/shell/window/win32_shell.h"

namespace kesta::shell {

namespace {
constexpr char kLogoClass[] = "Logo";
constexpr UINT_PTR kLogoTimer = 1;
constexpr int kLogoWidth = 500;
constexpr int kLogoHeight = 375;

struct Logo {
  HWND mainWindow = nullptr;
  std::unique_ptr<ScreenPicture> picture;
  int ticks = 0;
};

struct LogoStart {
  HWND mainWindow;
  const settings::SettingsFiles* files;
};

void makeFolders(const std::string& home) {
  SetCurrentDirectoryA(home.c_str());
  for (const char* folder : {"cap", "up", "down"}) {
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(folder, nullptr);
  }
}

LRESULT CALLBACK logoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* logo = reinterpret_cast<Logo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      const auto* start = static_cast<const LogoStart*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      logo = new Logo;
      logo->mainWindow = start->mainWindow;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(logo));
      makeFolders(start->files->homeDirectory());
      SetTimer(window, kLogoTimer, 1000, nullptr);
      logo->picture = std::make_unique<ScreenPicture>(settings::loadPicture(*start->files, settings::kLogoPicture));
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (logo != nullptr && logo->picture) logo->picture->draw(dc, 0, 0);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER:
      if (logo != nullptr && wParam == kLogoTimer && ++logo->ticks > 4) SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE: {
      HWND mainWindow = logo != nullptr ? logo->mainWindow : nullptr;
      KillTimer(window, kLogoTimer);
      if (logo != nullptr) logo->picture.reset();
      DestroyWindow(window);
      if (mainWindow != nullptr) SendMessageA(mainWindow, kStartOfOperation, 0, 0);
      return 0;
    }
    case WM_NCDESTROY:
      delete logo;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

bool registerLogoClass(HINSTANCE instance) {
  WNDCLASSA c{};
  c.style = CS_OWNDC | CS_SAVEBITS;
  c.lpfnWndProc = logoProcedure;
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_WAIT);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  c.lpszClassName = kLogoClass;
  return RegisterClassA(&c) != 0;
}

HWND openLogo(HINSTANCE instance, HWND mainWindow, const settings::SettingsFiles& files) {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - kLogoWidth / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - kLogoHeight / 2;
  LogoStart start{mainWindow, &files};
  HWND logo = CreateWindowExA(WS_EX_TOOLWINDOW, kLogoClass, "", WS_POPUP | WS_BORDER, x, y, kLogoWidth, kLogoHeight,
                              nullptr, nullptr, instance, &start);
  if (logo != nullptr) ShowWindow(logo, SW_SHOWNOACTIVATE);
  return logo;
}

}  // namespace kesta::shell
