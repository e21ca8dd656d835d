#include "fonts/text_render.h"
#include "xlat/xlat.h"

#include <cstdio>

#include "fonts/glyphs/glyph_blocks.h"
#include "fonts/composer.h"

namespace kesta::fonts {
namespace {

void setInk(InkBitmap& t, int x, int y) {
  if (x >= 0 && y >= 0 && x < t.width && y < t.height) t.ink[static_cast<size_t>(y) * t.width + x] = 1;
}

// Draws rows of `rowBytes` bytes; `inkBit` says whether a set bit is ink.
void drawRows(InkBitmap& t, int x, int y, const uint8_t* rows, int width, int height, int rowBytes, bool inkBit) {
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) {
      const bool bit = rows[r * rowBytes + c / 8] & (0x80 >> (c % 8));
      if (bit == inkBit) setInk(t, x + c, y + r);
    }
}

void drawGlyph(InkBitmap& t, int x, int y, const FontHeader* font, int glyph, int count) {
  if (font == nullptr || font->glyphs == nullptr || glyph < 0 || glyph >= count) return;
  drawRows(t, x, y, font->glyphs + static_cast<size_t>(glyph) * font->glyphBytes, font->cellWidth,
           font->cellHeight, font->cellWidth / 8, false);
}

int cellWidth(const FontHeader* font, int fallback) { return font != nullptr ? font->cellWidth : fallback; }

// Walks the string: calls draw(x, lead, second) per character and returns the width.
template <typename Draw>
int walk(std::span<const uint8_t> text, const TextFonts& fonts, Draw draw) {
  int x = 0;
  for (size_t i = 0; i < text.size() && text[i] != 0;) {
    const uint8_t lead = text[i];
    if (lead < 0x80) {
      draw(x, lead, 0);
      x += cellWidth(fonts.english, 8);
      ++i;
      continue;
    }
    // A lead byte at the very end has no second byte: it ends the string.
    if (i + 1 >= text.size()) break;
    const uint8_t second = text[i + 1];
    draw(x, lead, second);
    if (lead == 0xD4) x += cellWidth(fonts.special, 16);
    else if (lead >= 0xD9 && lead <= 0xDE) x += cellWidth(fonts.kssm, 16);
    else if (lead >= 0xE0 && lead <= 0xF9) x += 16;
    else x += cellWidth(fonts.hangul, 16);
    i += 2;
  }
  return x;
}

}  // namespace

int drawGlyphRun(InkBitmap& target, int x, int y, const FontHeader& font, int first, int count) {
  const int total = font.kind == kKindHangul ? setGlyphCount(font) : glyphCountOfKind(font.kind);
  for (int g = first; g < first + count; ++g, x += font.cellWidth) drawGlyph(target, x, y, &font, g, total);
  return x;
}

int textWidth(std::span<const uint8_t> text, const TextFonts& fonts) {
  return walk(text, fonts, [](int, uint8_t, uint8_t) {});
}

int drawText(InkBitmap& target, int x0, int y, std::span<const uint8_t> text, const TextFonts& fonts) {
  const int width = walk(text, fonts, [&](int dx, uint8_t lead, uint8_t second) {
    const int x = x0 + dx;
    if (lead < 0x80) {
      drawGlyph(target, x, y, fonts.english, lead, 256);
    } else if (lead == 0xD4) {
      drawGlyph(target, x, y, fonts.special, second - 0x80, 128);
    } else if (lead >= 0xD9 && lead <= 0xDE) {
      drawGlyph(target, x, y, fonts.kssm, kssmGlyphIndex(lead, second), 1053);
    } else if (lead >= 0xE0 && lead <= 0xF9) {
      const int glyph = hanjaGlyphIndex(lead, second);
      if (glyph >= 0 && static_cast<size_t>(glyph + 1) * 32 <= fonts.hanja.size())
        drawRows(target, x, y, fonts.hanja.data() + glyph * 32, 16, 16, 2, true);
    } else if (fonts.hangul != nullptr) {
      uint8_t cell[64 * 64 / 8 * 2];
      const int rowBytes = hangul::composedRowBytes(fonts.hangul->cellWidth);
      if (hangul::composeSyllable(static_cast<uint16_t>(lead << 8 | second), *fonts.hangul, cell))
        drawRows(target, x, y, cell, fonts.hangul->cellWidth, fonts.hangul->cellHeight, rowBytes, false);
    }
  });
  return x0 + width;
}

namespace {

void push16(std::vector<uint8_t>& out, uint16_t code) {
  out.push_back(static_cast<uint8_t>(code >> 8));
  out.push_back(static_cast<uint8_t>(code));
}

bool decodeUtf8(std::string_view s, size_t& i, uint32_t& cp) {
  const uint8_t b = static_cast<uint8_t>(s[i]);
  int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + extra >= s.size()) return false;
  cp = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const uint8_t c = static_cast<uint8_t>(s[i + k]);
    if ((c & 0xC0) != 0x80) return false;
    cp = cp << 6 | (c & 0x3F);
  }
  i += extra + 1;
  return true;
}

}  // namespace

bool utf8ToCombination(std::string_view utf8, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp = 0;
    const size_t at = i;
    if (!decodeUtf8(utf8, i, cp)) {
      error = "the text is not valid UTF-8 at byte " + std::to_string(at);
      return false;
    }
    if (cp == 0) {
      error = "the text holds a NUL at byte " + std::to_string(at);
      return false;
    }
    // Hangul, compatibility jamo, KS X 1001 symbols and Hanja all have a
    // combination code; anything else has no built-in glyph.
    const uint16_t code = cp < 0x80 ? static_cast<uint16_t>(cp) : xlat::unicodeToJohab(cp);
    if (code == 0) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
      error = std::string("no built-in glyph for ") + name;
      return false;
    }
    if (code < 0x80) out.push_back(static_cast<uint8_t>(code));
    else push16(out, code);
  }
  return true;
}

}  // namespace kesta::fonts
