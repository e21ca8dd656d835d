// The main window's message switch. Each message goes to one handler; the
// handlers live beside it (creation, painting and shutdown here, the
// connections in win32_connection.cpp, the bars in win32_bars.cpp).
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>
#include <mmsystem.h>

#include <algorithm>
#include <ctime>

#include "app/settings/startup_settings.h"
#include "app/settings/window_size.h"
#include "app/settings/zoom_setting.h"
#include "app/shell/input/command_ids.h"
#include "app/shell/window/win32_picture.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"
#include "app/shell/window/window_placement.h"
#include "controls/hctl.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

namespace kesta::shell {

Shell::Shell(HWND w, HINSTANCE i)
    : window(w),
      instance(i),
      language(languageForCodePage(GetACP())),
      files(profile, settings::hostFileStore()),
      host(*this),
      replies(*this),
      autoResponses(files),
      terminal(target, host, xlat::convertThroughDll),
      pipeline(terminal, host, autoResponses),
      telnetProtocol(replies, host),
      telnetReader(telnetProtocol, pipeline),
      automaton(w),
      keys(*this),
      processor(automaton, keys, xlat::convertThroughDll),
      chatRows(*this),
      chat(automaton, chatRing, chatRows, xlat::convertThroughDll),
      reception(*this),
      holds(reception),
      passedScreen(terminal.pages(), holds),
      selection(holds),
      modeFace(*this),
      modes(automaton, processor, chat, passedScreen, selection, modeFace),
      captureTaps(*this),
      capture(captureFiles, captureTaps, host) {
  clickCursor = LoadCursorA(i, "MyCursor1");
  sendingCursor = LoadCursorA(i, "MyCursor2");
}

Shell* shellOf(HWND window) { return reinterpret_cast<Shell*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

namespace {

session::Colour colourOf(std::uint32_t value) { return value & 0xFFFFFF; }

void updateGeometry(Shell& shell) {
  RECT client{};
  GetClientRect(shell.window, &client);
  shell.target.setGeometry(
      session::ScreenGeometry::forClient(client.right, client.bottom, shell.cellWidth, shell.cellHeight, shell.zoom));
}

int menuHeight() { return GetSystemMetrics(SM_CYMENU); }
int captionHeight() { return GetSystemMetrics(SM_CYCAPTION); }

TrackSize minimumSize(const Shell& shell) {
  return minimumTrackSize(shell.cellWidth * shell.zoom, shell.cellHeight * shell.zoom, menuHeight(), captionHeight());
}

// The saved factor, or the one the screen's DPI asks for.
int startingZoom(const Shell& shell) {
  if (const auto saved = settings::readZoom(shell.files)) return *saved;
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return settings::zoomForDpi(dpi);
}

// The window's outer size for a client size, from the window's own styles,
// so a saved size comes back exactly (no drift from start to start).
SIZE outerSizeFor(HWND window, int clientWidth, int clientHeight) {
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), GetMenu(window) != nullptr,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void placeWindow(Shell& shell, const std::optional<settings::WindowSize>& saved) {
  RECT client{};
  GetClientRect(shell.window, &client);
  int width = client.right, height = client.bottom;
  if (saved && usableSavedSize(*saved)) {
    width = saved->width;
    height = saved->height;
  }
  const SIZE outer = outerSizeFor(shell.window, width, height);
  // Grown to fit the zoomed terminal.
  const TrackSize minimum = minimumSize(shell);
  const WindowRect r = centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                       std::max<int>(outer.cx, minimum.width), std::max<int>(outer.cy, minimum.height));
  MoveWindow(shell.window, r.left, r.top, r.width, r.height, FALSE);
}

void checkMenuItem(Shell& shell, int command, bool on) {
  CheckMenuItem(GetMenu(shell.window), command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT onCreate(HWND window, const CREATESTRUCTA* create) {
  auto* shell = new Shell(window, create->hInstance);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shell));
  shell->target.attach(window);
  if (const auto* start = static_cast<const StartParameters*>(create->lpCreateParams)) {
    shell->startHost = start->host;
    shell->background = start->background;
  }

  const settings::StartupSettings loaded = settings::loadStartupSettings(shell->files);
  shell->voice = loaded.voice;
  shell->music = loaded.music;
  shell->hangul = loaded.hangul;
  shell->colors = loaded.colors;
  checkMenuItem(*shell, IDM_VOICE_SUPPORT, shell->voice.on);
  checkMenuItem(*shell, IDM_BACKGROUND_MUSIC, shell->music.on);

  shell->transferLibraryPin = LoadLibraryA("ZLINK32.DLL");
  InitHangulLib();
  RegisterWindow(window);
  HCTLGetVersion();  // makes sure the control library is loaded for the dialogs
  InitAutomata(window, shell->hangul.keyboard);
  shell->zoom = startingZoom(*shell);
  useHangulFace(*shell);
  shell->terminal.setHostCode(shell->hangul.codeNumber());
  shell->processor.setHostCode(shell->hangul.codeNumber());
  shell->chat.setHostCode(shell->hangul.codeNumber());

  placeWindow(*shell, loaded.windowSize);
  updateGeometry(*shell);
  shell->terminal.reset(colourOf(shell->colors.text), colourOf(shell->colors.background));
  shell->terminal.startBelowPicture();

  const ShellTexts& texts = shellTexts(shell->language);
  shell->paneTexts = {std::string(texts.disconnected), std::string(texts.english), std::string(texts.captured),
                      ConnectionClock::kZero, ""};
  SetTimer(window, kClockTimer, 1000, nullptr);
  return 0;
}

void onStartOfOperation(Shell& shell) {
  ScreenPicture welcome(settings::loadPicture(shell.files, settings::kWelcomePicture));
  if (!welcome.empty()) shell.target.stretchIntoPage(shell.terminal.pages().currentPage(), 20, welcome.info(), welcome.bits());
  ShowWindow(shell.window, SW_SHOW);
  UpdateWindow(shell.window);
  openSerialAtStart(shell);
  playCue(shell, "start.wav");
  if (shell.music.on) shell.host.startMusic();
  if (!shell.startHost.empty() && !openTelnet(shell, shell.startHost)) {
    const ShellTexts& texts = shellTexts(shell.language);
    messageBoxUtf8(shell.window, texts.socketError, texts.socketErrorTitle, MB_OK);
  }
}

void drawFrame(HDC dc, const RECT& area, int outside, COLORREF topLeft, COLORREF bottomRight) {
  const RECT r{area.left - outside, area.top - outside, area.right + outside, area.bottom + outside};
  HPEN light = CreatePen(PS_SOLID, 1, topLeft), dark = CreatePen(PS_SOLID, 1, bottomRight);
  HGDIOBJ old = SelectObject(dc, light);
  MoveToEx(dc, r.left, r.bottom, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right, r.top);
  SelectObject(dc, dark);
  LineTo(dc, r.right, r.bottom);
  LineTo(dc, r.left, r.bottom);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
}

void onPaint(Shell& shell) {
  PAINTSTRUCT paint;
  HDC dc = HBeginPaint(shell.window, &paint);
  RECT client{};
  GetClientRect(shell.window, &client);
  if (shell.background != nullptr) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, shell.background);
    BITMAP info{};
    GetObject(shell.background, sizeof info, &info);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  const auto& g = shell.target.geometry();
  shell.target.beginBatch(dc);
  // While the passed-screen view is open the window shows its page, not the live one.
  if (shell.modes.paintedPage() == PaintedPage::PassedScreenView) {
    shell.passedScreen.repaint();
  } else {
    shell.terminal.pages().repaint(shell.terminal.state().displayOffset, shell.modes.chatOpen());
  }
  shell.target.endBatch();
  const RECT area{g.leftMargin, g.topMargin, g.leftMargin + g.windowWidth(), g.topMargin + g.windowHeight()};
  paintChatArea(shell);
  drawFrame(dc, area, 5, RGB(255, 255, 255), RGB(0, 0, 0));
  drawFrame(dc, area, 1, RGB(0, 0, 0), RGB(255, 255, 255));
  HEndPaint(shell.window, &paint);
}

void onSize(Shell& shell) {
  shell.host.hideCaret();
  updateGeometry(shell);
  createBars(shell);
  InvalidateRect(shell.window, nullptr, TRUE);
  shell.modes.placeCaret();
}

void onTimer(Shell& shell, UINT_PTR timer) {
  if (timer == kClockTimer) {
    std::time_t now = std::time(nullptr);
    setPaneText(shell, kPaneClock, timeOfDayText(*std::localtime(&now)));
  } else if (timer == kConnectionTimer) {
    shell.connectionClock.tick();
    setPaneText(shell, kPaneConnectedTime, shell.connectionClock.text());
  }
}

void onClose(Shell& shell) {
  const ShellTexts& texts = shellTexts(shell.language);
  if (messageBoxUtf8(shell.window, texts.exitQuestion, texts.exitTitle, MB_OKCANCEL) != IDOK) return;
  if (shell.music.on) shell.host.stopMusic();
  if (shell.voice.on) shell.host.playWaveAndWait(shell.files.path("\\wav\\end.wav"));
  DestroyWindow(shell.window);
}

void onDestroy(Shell& shell) {
  KillTimer(shell.window, kClockTimer);
  KillTimer(shell.window, kConnectionTimer);
  shell.capture.stop();
  closeTelnet(shell);
  closeSerial(shell);
  shell.terminal.pages().freeAllPages();
  RECT client{};
  GetClientRect(shell.window, &client);
  if (auto size = sizeToSave(IsIconic(shell.window) != 0, client.right, client.bottom)) {
    settings::writeWindowSize(shell.files, *size);
  }
  if (shell.transferLibraryPin != nullptr) FreeLibrary(shell.transferLibraryPin);
  PostQuitMessage(0);
}

}  // namespace

void useHangulFace(Shell& shell) {
  const std::string face(settings::hangulFontFace(shell.hangul.font));
  shell.target.setHangulFace(face);
  if (HDC dc = HGetDC(shell.window)) {
    if (!face.empty()) HSelectHangulObject(dc, face.c_str(), nullptr);
    HTextMetric metrics{};
    if (HGetTextMetrics(dc, &metrics) && metrics.height > 0 && metrics.englishWidth > 0) {
      shell.cellHeight = metrics.height;
      shell.cellWidth = metrics.englishWidth;
      shell.wideCaret = metrics.hangulWidth > 0 ? metrics.hangulWidth : 2 * metrics.englishWidth;
    }
    HReleaseDC(shell.window, dc);
  }
  updateGeometry(shell);
}

void setZoom(Shell& shell, int factor) {
  factor = std::clamp(factor, settings::kMinZoom, settings::kMaxZoom);
  if (factor == shell.zoom) return;
  const int from = shell.zoom;
  shell.zoom = factor;
  settings::writeZoom(shell.files, factor);
  shell.host.hideCaret();
  RECT outer{};
  GetWindowRect(shell.window, &outer);
  const WindowRect now{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
  const WindowRect r = zoomedWindow(now, from, factor, shell.cellWidth, shell.cellHeight, minimumSize(shell),
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  // Moving the window sizes it again (WM_SIZE); a window that keeps its size
  // still needs the new geometry.
  MoveWindow(shell.window, r.left, r.top, r.width, r.height, TRUE);
  updateGeometry(shell);
  InvalidateRect(shell.window, nullptr, TRUE);
  shell.modes.placeCaret();
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return onCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
  Shell* shell = shellOf(window);
  if (shell == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case kStartOfOperation:
      onStartOfOperation(*shell);
      return 0;
    case WM_SIZE:
      onSize(*shell);
      return 0;
    case WM_PAINT:
      onPaint(*shell);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the background picture covers the whole client area
    case WM_GETMINMAXINFO: {
      const TrackSize min = minimumSize(*shell);
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{min.width, min.height};
      return 0;
    }
    case WM_SETFOCUS:
      shell->hasFocus = true;
      CreateCaret(window, nullptr, shell->cellWidth * shell->zoom, shell->cellHeight * shell->zoom);
      shell->caretShown = false;
      shell->modes.placeCaret();
      return 0;
    case WM_KILLFOCUS:
      shell->host.hideCaret();
      DestroyCaret();
      shell->hasFocus = false;
      return 0;
    case WM_TIMER:
      onTimer(*shell, wParam);
      return 0;
    case WM_KEYDOWN:
      keyDown(*shell, wParam);
      return 0;
    case WM_CHAR:
      characterTyped(*shell, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      mouseMove(*shell, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      leftButtonDown(*shell, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      leftButtonUp(*shell);
      return 0;
    case WM_RBUTTONDOWN:
      rightButtonDown(*shell, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_COMMAND:
      runCommand(*shell, LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      if (answerTooltip(*shell, lParam)) return 0;
      break;
    case WM_COMMNOTIFY:
      drainSerial(*shell, reinterpret_cast<HANDLE>(wParam));
      return 0;
    case kSocketMessage:
      socketNotification(*shell, wParam, lParam);
      return 0;
    case WM_CLOSE:
      onClose(*shell);
      return 0;
    case WM_DESTROY:
      onDestroy(*shell);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete shell;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace kesta::shell
