// Shared by the QUILH32 tests: the library started once with HANJA.FNT in
// the Windows directory, memory bitmaps to draw on, and the picture the
// neutral composer and font store predict for a string.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts/builtin_fonts.h"
#include "fonts/font_store.h"
#include "fonts/text_render.h"
#include "hangul/quilh32.h"

namespace qtest {

std::string moduleDir();
std::vector<uint8_t> readWholeFile(const std::string& path);

// The Hanja glyph file as the library reads it.
const std::vector<uint8_t>& hanjaBytes();

// Built-in headers of the neutral store, by face name.
const kesta::fonts::FontHeader& builtin(const char* face);

// The default fonts of a new record, with HANJA.FNT.
kesta::fonts::TextFonts defaultFonts();

// The combination code of UTF-8 text (fails the test on a character without glyph).
std::string combination(const char* utf8);

// A registered memory DC with a bitmap of the given depth (1, 24 or 32) selected.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height, int bits);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Takes the picture as it is now; pixel() reads the last capture.
  void capture();
  // 0xRRGGBB; on a 1-bit bitmap 0xFFFFFF for a set bit, 0 otherwise.
  COLORREF pixel(int x, int y) const;
  // A pattern that differs from pixel to pixel (so "left as it was" can be seen).
  void paintPattern();
  COLORREF patternAt(int x, int y) const;

 private:
  HDC display_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint8_t* dib_ = nullptr;
  std::vector<uint8_t> rows_;
  int width_, height_, bits_;
};

inline COLORREF rgb(int r, int g, int b) { return static_cast<COLORREF>(r << 16 | g << 8 | b); }

}  // namespace qtest
