#include "tests/wine/controls/support.h"

#include "fonts/builtin_fonts.h"
#include "xlat/xlat.h"

namespace ctest {

std::string combination(const char* utf8) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(kesta::fonts::utf8ToCombination(utf8, out, error)) << error;
  return std::string(out.begin(), out.end());
}

std::string cp949(const char* utf8) {
  return kesta::xlat::convert(kesta::xlat::Code::Utf8, kesta::xlat::Code::Cp949, std::string(utf8));
}

namespace {

const kesta::fonts::FontHeader* builtin(const char* face) {
  static kesta::fonts::FontHeader headers[kesta::fonts::kBuiltinFontCount];
  static bool made = false;
  if (!made) {
    kesta::fonts::makeBuiltinHeaders(headers);
    made = true;
  }
  const int i = kesta::fonts::builtinIndexOfFace(face);
  return i >= 0 ? &headers[i] : nullptr;
}

}  // namespace

kesta::fonts::InkBitmap expectedInk(const std::string& text, const char* hangulFace, const char* englishFace,
                                    const char* specialFace, std::span<const uint8_t> hanja) {
  kesta::fonts::TextFonts fonts;
  fonts.hanja = hanja;
  fonts.hangul = builtin(hangulFace);
  fonts.english = builtin(englishFace);
  fonts.special = builtin(specialFace);
  fonts.kssm = builtin("KSSMSpecial");
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  kesta::fonts::InkBitmap ink(kesta::fonts::textWidth(bytes, fonts), 16);
  kesta::fonts::drawText(ink, 0, 0, bytes, fonts);
  return ink;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(h, nullptr));
  DWORD got = 0;
  if (!ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
  bytes.resize(got);
  CloseHandle(h);
  return bytes;
}

std::string besideProgram(const char* name) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file(path, n);
  return file.substr(0, file.find_last_of("\\/") + 1) + name;
}

std::string inWindowsDirectory(const char* name) {
  char dir[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir, n) + "\\" + name;
}

Pixels capture(HWND window) {
  Pixels p;
  RECT client;
  GetClientRect(window, &client);
  p.width = client.right;
  p.height = client.bottom;
  p.rgb.assign(static_cast<size_t>(p.width) * p.height, 0);
  if (p.width == 0 || p.height == 0) return p;
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, p.width, p.height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const uint32_t* px = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < p.rgb.size(); ++i) p.rgb[i] = px[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return p;
}

int mismatches(const Pixels& pixels, const kesta::fonts::InkBitmap& ink, COLORREF inkColour, COLORREF paperColour) {
  // Pixels are 0xRRGGBB; COLORREF is 0x00BBGGRR.
  auto rgb = [](COLORREF c) { return static_cast<COLORREF>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); };
  int bad = 0;
  for (int y = 0; y < ink.height && y < pixels.height; ++y)
    for (int x = 0; x < ink.width && x < pixels.width; ++x) {
      const bool isInk = ink.ink[static_cast<size_t>(y) * ink.width + x] != 0;
      if (pixels.at(x, y) != rgb(isInk ? inkColour : paperColour)) ++bad;
    }
  if (ink.width > pixels.width || ink.height > pixels.height) ++bad;
  return bad;
}

// One top-level window serves every Parent in turn: making and mapping a new
// X window costs Wine about a second each time.
namespace {
HWND g_parentWindow = nullptr;
}

Parent::Parent() {
  if (g_parentWindow == nullptr || !IsWindow(g_parentWindow)) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ControlsTestParent";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    g_parentWindow = CreateWindowExA(0, "ControlsTestParent", "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                     600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  window_ = g_parentWindow;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Parent::~Parent() {
  while (HWND c = GetWindow(window_, GW_CHILD)) DestroyWindow(c);
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

HWND Parent::child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (c != nullptr) UpdateWindow(c);
  return c;
}

LRESULT CALLBACK Parent::proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Parent*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self != nullptr) {
    if (m == WM_COMMAND || m == WM_PARENTNOTIFY) self->notes.push_back({m, wp, lp});
    if ((m == WM_CTLCOLORSTATIC || m == WM_CTLCOLOREDIT) && self->ctlColourBrush != nullptr)
      return reinterpret_cast<LRESULT>(self->ctlColourBrush);
  }
  return DefWindowProcA(w, m, wp, lp);
}

namespace {
ModalDriver* g_driver = nullptr;

BOOL CALLBACK findClass(HWND w, LPARAM lp) {
  auto* found = reinterpret_cast<std::pair<const char*, HWND>*>(lp);
  char name[64];
  if (IsWindowVisible(w) && GetClassNameA(w, name, sizeof name) > 0 && lstrcmpiA(name, found->first) == 0) {
    found->second = w;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

ModalDriver::ModalDriver(const char* cls, std::function<void(HWND)> action) : cls_(cls), action_(std::move(action)) {
  g_driver = this;
  timer_ = SetTimer(nullptr, 0, 50, tick);
}

ModalDriver::~ModalDriver() {
  KillTimer(nullptr, timer_);
  g_driver = nullptr;
}

void CALLBACK ModalDriver::tick(HWND, UINT, UINT_PTR, DWORD) {
  ModalDriver* d = g_driver;
  if (d == nullptr || d->ran_) return;
  std::pair<const char*, HWND> found{d->cls_.c_str(), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), findClass, reinterpret_cast<LPARAM>(&found));
  if (found.second == nullptr) return;
  d->ran_ = true;
  d->action_(found.second);
}

DWORD WINAPI Watchdog::watch(LPVOID p) {
  auto* self = static_cast<Watchdog*>(p);
  if (WaitForSingleObject(self->done_, self->ms_) == WAIT_TIMEOUT) {
    fprintf(stderr, "watchdog: %s did not return\n", self->what_.c_str());
    fflush(stderr);
    ExitProcess(3);
  }
  return 0;
}

Watchdog::Watchdog(const char* what, DWORD milliseconds) : what_(what), ms_(milliseconds) {
  done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

Watchdog::~Watchdog() {
  SetEvent(done_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(done_);
}

void pressWithSpace(HWND control) {
  SetFocus(control);
  SendMessageA(control, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(control, WM_KEYUP, VK_SPACE, 0);
}

std::vector<HWND> childrenOfClass(HWND parent, const char* cls) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    char name[64];
    if (GetClassNameA(c, name, sizeof name) > 0 && lstrcmpiA(name, cls) == 0) out.push_back(c);
  }
  return out;
}

}  // namespace ctest
