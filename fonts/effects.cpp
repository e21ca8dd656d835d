#include "fonts/effects.h"

#include <memory>
#include <new>

namespace kesta::fonts {
namespace {

// Effects work on ink (a set bit below is ink) and store paper again.
void widen(std::span<uint8_t> block) {
  for (uint8_t& b : block) {
    uint8_t ink = static_cast<uint8_t>(~b);
    // The leftmost pixel of a byte has no left neighbour in the byte and keeps its value.
    b = static_cast<uint8_t>(~(ink | ink >> 1));
  }
}

void underline(std::span<uint8_t> block, int glyphBytes, int rise) {
  const int start = glyphBytes - 2 * rise;
  if (start < 0 || start + 2 > glyphBytes) return;
  for (size_t g = 0; g + glyphBytes <= block.size(); g += glyphBytes) {
    block[g + start] = 0;
    block[g + start + 1] = 0;
  }
}

// Shadow (outline = false): own ink, plus own ink moved right within its
// byte, plus own ink moved 2 bytes forward.
// Outline: own ink moved left and right and 2 bytes forward and back. The
// result keeps only the spread ink where the glyph had none.
void spread(std::span<uint8_t> block, int glyphBytes, bool outline) {
  // One scratch block for ink, moved ink and the sum. The font is built for a
  // caller across a DLL boundary: without memory the effect is left out.
  std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[static_cast<size_t>(glyphBytes) * 3]);
  if (!scratch) return;
  uint8_t* ink = scratch.get();
  uint8_t* moved = ink + glyphBytes;
  uint8_t* all = moved + glyphBytes;
  for (size_t g = 0; g + glyphBytes <= block.size(); g += glyphBytes) {
    uint8_t* glyph = block.data() + g;
    for (int i = 0; i < glyphBytes; ++i) {
      ink[i] = static_cast<uint8_t>(~glyph[i]);
      moved[i] = static_cast<uint8_t>(ink[i] | ink[i] >> 1);
      if (outline) moved[i] |= static_cast<uint8_t>(ink[i] << 1);
      all[i] = moved[i];
    }
    for (int i = 0; i < glyphBytes; ++i) {
      if (i + 2 < glyphBytes) all[i + 2] |= ink[i];
      if (outline && i >= 2) all[i - 2] |= ink[i];
    }
    for (int i = 0; i < glyphBytes; ++i) glyph[i] = static_cast<uint8_t>(~(all[i] & ~ink[i]));
  }
}

void screen(std::span<uint8_t> block) {
  static const uint8_t mask[4] = {0x55, 0x55, 0xAA, 0xAA};
  for (size_t i = 0; i < block.size(); ++i) block[i] &= mask[i % 4];
}

}  // namespace

void applyEffects(std::span<uint8_t> block, int glyphBytes, int underlineRise, uint32_t flags) {
  if (glyphBytes <= 0) return;
  if (flags & kEffectWiden) widen(block);
  if (flags & kEffectUnderline) underline(block, glyphBytes, underlineRise);
  if (flags & kEffectShadow) spread(block, glyphBytes, false);
  if (flags & kEffectScreen) screen(block);
  if (flags & kEffectOutline) spread(block, glyphBytes, true);
}

}  // namespace kesta::fonts
