// Shared by the control library tests: a parent window that records what its
// controls report, pixels read back from windows, the pictures the font store
// predicts, a driver that acts inside modal dialogs, and a watchdog.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "fonts/text_render.h"

namespace ctest {

// The combination code of UTF-8 text.
std::string combination(const char* utf8);
// Code page 949 bytes of UTF-8 text (the code of the W forms).
std::string cp949(const char* utf8);

// Ink of the string drawn with built-in faces at (0, 0), as the font store predicts.
kesta::fonts::InkBitmap expectedInk(const std::string& text, const char* hangulFace, const char* englishFace,
                                    const char* specialFace = "KSSpecial", std::span<const uint8_t> hanja = {});

// A whole file's bytes (empty when it cannot be read), and the paths of a
// file beside the program and in the Windows directory.
std::vector<uint8_t> fileBytes(const std::string& path);
std::string besideProgram(const char* name);
std::string inWindowsDirectory(const char* name);

// The window's client pixels (0xRRGGBB), read from its DC.
struct Pixels {
  int width = 0, height = 0;
  std::vector<COLORREF> rgb;
  COLORREF at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels capture(HWND window);
// Counts pixels of the window's top-left area that differ from ink/paper as
// predicted (ink where the bitmap has ink, paper elsewhere).
int mismatches(const Pixels& pixels, const kesta::fonts::InkBitmap& ink, COLORREF inkColour, COLORREF paperColour);

// A visible top-level window that records WM_COMMAND and WM_PARENTNOTIFY.
class Parent {
 public:
  Parent();
  ~Parent();
  HWND hwnd() const { return window_; }
  struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Note> notes;
  HBRUSH ctlColourBrush = nullptr;  // returned for WM_CTLCOLORSTATIC and WM_CTLCOLOREDIT when set
  HWND child(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h);

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
};

// Runs `action` once, from inside the next modal loop of this thread, on the
// first window of the class that appears (polled by a timer); returns
// whether it ran.
class ModalDriver {
 public:
  ModalDriver(const char* cls, std::function<void(HWND)> action);
  ~ModalDriver();
  bool ran() const { return ran_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  std::string cls_;
  std::function<void(HWND)> action_;
  bool ran_ = false;
  UINT_PTR timer_ = 0;
};

// Ends the process with a message when not disarmed within the time.
class Watchdog {
 public:
  Watchdog(const char* what, DWORD milliseconds);
  ~Watchdog();

 private:
  static DWORD WINAPI watch(LPVOID self);
  HANDLE done_;
  HANDLE thread_;
  std::string what_;
  DWORD ms_;
};

// Presses a control: space down and up, as the keyboard does.
void pressWithSpace(HWND control);
// All children of a window of one class, in sibling order.
std::vector<HWND> childrenOfClass(HWND parent, const char* cls);

}  // namespace ctest
