// The eleven built-in fonts: their headers (per process, since the store
// writes reference counts) over the read-only generated glyph blocks.
#pragma once

#include "fonts/font_header.h"
#include "fonts/font_store.h"

namespace kesta::fonts {

// Fills `headers` (kBuiltinFontCount entries) in table order 0-10.
void makeBuiltinHeaders(FontHeader* headers);

// Index of the built-in font with this face name (any case), or -1.
int builtinIndexOfFace(const char* face);

}  // namespace kesta::fonts
