// Draws combination-code strings with the built-in fonts into a bitmap, the
// way the text output draws them: English bytes, special and KSSM special
// symbols, Hanja from a HANJA.FNT image, and composed Hangul syllables.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/font_header.h"
#include "fonts/glyph_index.h"

namespace kesta::fonts {

struct TextFonts {
  const FontHeader* hangul = nullptr;
  const FontHeader* english = nullptr;
  const FontHeader* special = nullptr;
  const FontHeader* kssm = nullptr;
  std::span<const uint8_t> hanja;  // HANJA.FNT bytes (16x16, set bit = ink); empty: Hanja not drawn
};

struct InkBitmap {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> ink;  // width x height, 1 = ink
  InkBitmap(int w, int h) : width(w), height(h), ink(static_cast<size_t>(w) * h, 0) {}
};

// Width in pixels of the string (up to a 0 byte or its end).
int textWidth(std::span<const uint8_t> text, const TextFonts& fonts);
// Draws the string with its top-left corner at (x, y); returns the x after it.
int drawText(InkBitmap& target, int x, int y, std::span<const uint8_t> text, const TextFonts& fonts);

// Draws glyphs first..first+count-1 of one font side by side (for showing a
// whole block, such as an English font's upper half); returns the x after them.
int drawGlyphRun(InkBitmap& target, int x, int y, const FontHeader& font, int first, int count);

// UTF-8 to the combination code: ASCII, Hangul syllables, compatibility
// jamo, and the KS X 1001 symbols and Hanja the built-in fonts hold.
// Returns false and names the first character it cannot convert in `error`.
bool utf8ToCombination(std::string_view utf8, std::vector<uint8_t>& out, std::string& error);

}  // namespace kesta::fonts
