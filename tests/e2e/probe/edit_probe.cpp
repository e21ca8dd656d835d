// e2e_probe edit DLL PREFIX TITLE: a window of the control library's dialog
// class PREFIX "Dlg" titled TITLE, holding a line edit (PREFIX "LineEdit",
// id 300) and a multi-line edit (PREFIX "Edit", id 301, ES_MULTILINE). DLL is
// the library's path; it is loaded at run time so one probe serves both
// builds. The test drives the window with real keys and clicks from outside
// and reads what the probe prints:
//
//   at line X Y W H / at multi X Y W H    each control's client area, screen pixels
//   ready
//   line LENGTH START END HEX             after every change of a control's text
//   multi LENGTH START END HEX            length, selection or caret (START = END
//                                         is the caret), polled every 30 ms
//   clip HEX                              after every change of the clipboard: its CF_TEXT
#include <windows.h>

#include <cstdio>
#include <string>

#include "probe/edit_probe.h"

namespace {

struct Watched {
  const char* name;
  HWND window;
  std::string last;
};

Watched g_watched[2];
DWORD g_clipboardSequence;

std::string hex(const char* bytes, size_t n) {
  std::string out;
  char two[3];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(bytes[i]));
    out += two;
  }
  return out.empty() ? "-" : out;
}

std::string stateOf(HWND edit) {
  char text[4096];
  const LRESULT n = SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return std::to_string(length) + " " + std::to_string(start) + " " + std::to_string(end) + " " +
         hex(text, n > 0 ? static_cast<size_t>(n) : 0);
}

void printClipboard() {
  std::string bytes;
  if (OpenClipboard(nullptr)) {
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        bytes = p;
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
  }
  std::printf("clip %s\n", hex(bytes.data(), bytes.size()).c_str());
}

void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD) {
  for (Watched& w : g_watched) {
    const std::string now = stateOf(w.window);
    if (now != w.last) {
      std::printf("%s %s\n", w.name, now.c_str());
      w.last = now;
    }
  }
  const DWORD sequence = GetClipboardSequenceNumber();
  if (sequence != g_clipboardSequence) {
    g_clipboardSequence = sequence;
    printClipboard();
  }
  std::fflush(stdout);
}

void printPlace(const char* name, HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("at %s %ld %ld %ld %ld\n", name, origin.x, origin.y, r.right, r.bottom);
}

}  // namespace

int editProbe(const char* library, const char* prefix, const char* title) {
  if (!LoadLibraryExA(library, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    std::printf("cannot load %s: error %lu\n", library, GetLastError());
    return 1;
  }
  const std::string p = prefix;
  HINSTANCE self = GetModuleHandleA(nullptr);
  HWND dialog = CreateWindowExA(0, (p + "Dlg").c_str(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420, 260,
                                nullptr, nullptr, self, nullptr);
  if (!dialog) {
    std::printf("cannot make a %sDlg window: error %lu\n", prefix, GetLastError());
    return 1;
  }
  HWND line = CreateWindowExA(0, (p + "LineEdit").c_str(), "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24,
                              dialog, reinterpret_cast<HMENU>(300), self, nullptr);
  HWND multi = CreateWindowExA(0, (p + "Edit").c_str(), "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 10, 50,
                               300, 120, dialog, reinterpret_cast<HMENU>(301), self, nullptr);
  if (!line || !multi) {
    std::printf("cannot make the edits: error %lu\n", GetLastError());
    return 1;
  }
  g_watched[0] = {"line", line, {}};
  g_watched[1] = {"multi", multi, {}};
  g_clipboardSequence = GetClipboardSequenceNumber();
  SetFocus(line);
  printPlace("line", line);
  printPlace("multi", multi);
  std::printf("ready\n");
  std::fflush(stdout);
  SetTimer(nullptr, 0, 30, poll);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
