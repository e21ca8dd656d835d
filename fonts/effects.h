// The glyph effects of CreateQuilFont, applied to a block of glyphs in
// which a set bit is paper and a clear bit is ink.
#pragma once

#include <cstdint>
#include <span>

namespace kesta::fonts {

enum EffectFlags : uint32_t {
  kEffectWiden = 0x01,
  kEffectUnderline = 0x02,
  kEffectShadow = 0x04,
  kEffectScreen = 0x08,
  kEffectOutline = 0x10,
};

// Applies the effects named in `flags` in the order widen, underline,
// shadow, screen, outline. `block` holds whole glyphs of `glyphBytes`
// bytes; a trailing partial glyph is left alone.
void applyEffects(std::span<uint8_t> block, int glyphBytes, int underlineRise, uint32_t flags);

}  // namespace kesta::fonts
