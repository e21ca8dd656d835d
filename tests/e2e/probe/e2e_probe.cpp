// A small Windows program the end-to-end harness runs inside the test's Wine
// prefix, to check the prefix itself and to ask Windows what X cannot tell:
//
//   e2e_probe acp                         prints the ANSI code page
//   e2e_probe profile SECTION KEY         prints GetProfileStringA(SECTION, KEY, "NULL")
//   e2e_probe client TITLE                prints "x y w h" of the client area of
//                                         the top-level window TITLE, in screen pixels
//   e2e_probe com PORT STEP...            opens PORT (e.g. COM1) and runs the steps
//                                         in order: send:TEXT writes TEXT (\r, \n,
//                                         \xHH are understood), expect:TEXT reads
//                                         until TEXT has arrived (10 s at most)
//   e2e_probe statustext TITLE            prints the texts of the parts of the status bar
//                                         (class msctls_statusbar32) of window TITLE, one
//                                         a line, UTF-8
//   e2e_probe resources                   loads the program's bitmaps, icon and cursors
//                                         (linked into the probe) and prints their sizes
//   e2e_probe window TITLE R G B          a window of that colour with a status bar
//                                         ("Ready 준비", "00:00:00"), which prints "char XX" for every WM_CHAR and
//                                         "click X Y" for every left click
//                                         (client coordinates); 'q' ends it
//   e2e_probe texts TITLE                 prints "CLASS: TEXT" (UTF-8) for every child window of
//                                         the top-level window TITLE
//   e2e_probe edit DLL PREFIX TITLE       the control library's edits on its dialog
//                                         class, reporting their state (edit_probe.cpp)
//
// Exit status 0 on success, 1 on failure, 2 on bad arguments.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "probe/edit_probe.h"

namespace {

std::string unescape(const char* s) {
  std::string out;
  for (; *s; ++s) {
    if (*s != '\\' || !s[1]) { out += *s; continue; }
    ++s;
    switch (*s) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 'x':
        if (s[1] && s[2]) {
          char hex[3] = {s[1], s[2], 0};
          out += static_cast<char>(std::strtoul(hex, nullptr, 16));
          s += 2;
        }
        break;
      default: out += *s;
    }
  }
  return out;
}

void printBytes(const char* what, const std::string& bytes) {
  std::printf("%s \"", what);
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127 && c != '"' && c != '\\') std::putchar(c);
    else std::printf("\\x%02x", c);
  }
  std::printf("\"\n");
  std::fflush(stdout);
}

int comChat(int argc, char** argv) {
  HANDLE port = CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    std::printf("cannot open %s: error %lu\n", argv[2], GetLastError());
    return 1;
  }
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(port, &dcb);
  dcb.BaudRate = 38400;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  if (!SetCommState(port, &dcb)) std::printf("SetCommState failed: error %lu (going on)\n", GetLastError());
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 5000};  // reads return at once with what is queued
  SetCommTimeouts(port, &timeouts);
  int status = 0;
  std::string received;
  for (int i = 3; i < argc && status == 0; ++i) {
    if (std::strncmp(argv[i], "send:", 5) == 0) {
      const std::string text = unescape(argv[i] + 5);
      DWORD written = 0;
      if (!WriteFile(port, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written != text.size()) {
        std::printf("write failed: error %lu\n", GetLastError());
        status = 1;
      }
      printBytes("sent", text);
    } else if (std::strncmp(argv[i], "expect:", 7) == 0) {
      const std::string want = unescape(argv[i] + 7);
      const DWORD deadline = GetTickCount() + 10000;
      while (received.find(want) == std::string::npos && GetTickCount() < deadline) {
        char buffer[256];
        DWORD got = 0;
        if (ReadFile(port, buffer, sizeof buffer, &got, nullptr) && got > 0) received.append(buffer, got);
        else Sleep(20);
      }
      const size_t at = received.find(want);
      printBytes(at == std::string::npos ? "missing" : "received", received);
      if (at == std::string::npos) status = 1;
      else received.erase(0, at + want.size());
    } else {
      std::printf("unknown step %s\n", argv[i]);
      status = 2;
    }
  }
  CloseHandle(port);
  return status;
}

COLORREF g_colour;

LRESULT CALLBACK probeWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      HBRUSH brush = CreateSolidBrush(g_colour);
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_CHAR:
      std::printf("char %02x\n", static_cast<unsigned>(wp) & 0xFFFF);
      std::fflush(stdout);
      if (wp == 'q') DestroyWindow(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      std::printf("click %d %d\n", static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      std::fflush(stdout);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

int showWindow(char** argv) {
  g_colour = RGB(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  WNDCLASSA wc{};
  wc.lpfnWndProc = probeWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "KestaE2EProbe";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 1;
  InitCommonControls();
  HWND status = CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"", hwnd, 50);
  int edges[2] = {200, -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready 준비"));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"00:00:00"));
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

std::string utf8(const wchar_t* text) {
  char out[1024];
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return n > 0 ? std::string(out) : std::string();
}

int statusText(const char* title) {
  HWND hwnd = FindWindowA(nullptr, title);
  HWND status = hwnd ? FindWindowExA(hwnd, nullptr, "msctls_statusbar32", nullptr) : nullptr;
  if (!status) {
    std::printf("no status bar\n");
    return 1;
  }
  // SB_GETTEXTW writes into the status bar's own process: lend it a buffer
  // there and read the text back.
  DWORD pid = 0;
  GetWindowThreadProcessId(status, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  void* remote = process ? VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) : nullptr;
  if (!remote) {
    std::printf("cannot reach the status bar's process: error %lu\n", GetLastError());
    if (process) CloseHandle(process);
    return 1;
  }
  const int parts = static_cast<int>(SendMessageW(status, SB_GETPARTS, 0, 0));
  for (int i = 0; i < parts; ++i) {
    wchar_t text[1024] = {0};
    SIZE_T got = 0;
    WriteProcessMemory(process, remote, text, sizeof text, &got);
    SendMessageW(status, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, text, sizeof text - sizeof(wchar_t), &got);
    std::printf("%s\n", utf8(text).c_str());
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return 0;
}

BOOL CALLBACK printChildText(HWND child, LPARAM) {
  char cls[128] = {};
  GetClassNameA(child, cls, sizeof cls);
  wchar_t text[1024] = {};
  GetWindowTextW(child, text, 1024);
  std::printf("%s: %s\n", cls, utf8(text).c_str());
  return TRUE;
}

int childTexts(const char* title) {
  HWND hwnd = FindWindowA(nullptr, title);
  if (!hwnd) {
    std::printf("no window\n");
    return 1;
  }
  EnumChildWindows(hwnd, printChildText, 0);
  return 0;
}

void printBitmap(const char* name, HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap && GetObjectA(bitmap, sizeof info, &info)) std::printf("bitmap %s %ld %ld\n", name, info.bmWidth, info.bmHeight);
  else std::printf("bitmap %s missing\n", name);
}

void printIcon(const char* kind, const char* name, HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) {
    std::printf("%s %s missing\n", kind, name);
    return;
  }
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  // A monochrome image keeps its AND and XOR masks in one bitmap of twice the height.
  std::printf("%s %s %ld %ld hotspot %lu %lu\n", kind, name, mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2,
              info.xHotspot, info.yHotspot);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

int resources() {
  HINSTANCE self = GetModuleHandleA(nullptr);
  printBitmap("100", LoadBitmapA(self, MAKEINTRESOURCEA(100)));
  for (const char* name : {"PhoneBitmap", "DialBitmap", "LogoBitmap", "BackgroundBitmap"})
    printBitmap(name, LoadBitmapA(self, name));
  printIcon("icon", "400", static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(400), IMAGE_ICON, 32, 32, 0)));
  printIcon("icon", "400-small", static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(400), IMAGE_ICON, 16, 16, 0)));
  for (const char* name : {"MyCursor1", "MyCursor2"}) printIcon("cursor", name, LoadCursorA(self, name));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "acp" && argc == 2) {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (command == "profile" && argc == 4) {
    char value[260];
    GetProfileStringA(argv[2], argv[3], "NULL", value, sizeof value);
    std::printf("%s\n", value);
    return 0;
  }
  if (command == "client" && argc == 3) {
    HWND hwnd = FindWindowA(nullptr, argv[2]);
    if (!hwnd) {
      std::printf("no window\n");
      return 1;
    }
    RECT r;
    GetClientRect(hwnd, &r);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (command == "caret" && argc == 3) {
    // The caret of the window's thread, in the window's client coordinates.
    HWND hwnd = FindWindowA(nullptr, argv[2]);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!hwnd || !GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) || info.hwndCaret == nullptr) {
      std::printf("no caret\n");
      return 1;
    }
    std::printf("%ld %ld %ld %ld\n", info.rcCaret.left, info.rcCaret.top, info.rcCaret.right - info.rcCaret.left,
                info.rcCaret.bottom - info.rcCaret.top);
    return 0;
  }
  if (command == "com" && argc >= 3) return comChat(argc, argv);
  if (command == "window" && argc == 6) return showWindow(argv);
  if (command == "resources" && argc == 2) return resources();
  if (command == "statustext" && argc == 3) return statusText(argv[2]);
  if (command == "texts" && argc == 3) return childTexts(argv[2]);
  if (command == "edit" && argc == 5) return editProbe(argv[2], argv[3], argv[4]);
  std::fprintf(stderr, "usage: e2e_probe acp | profile SECTION KEY | client TITLE | caret TITLE | com PORT STEP... | resources | statustext TITLE | window TITLE R G B | texts TITLE | edit DLL PREFIX TITLE\n");
  return 2;
}
