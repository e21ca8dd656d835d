// The 640-byte font record shared by the built-in fonts, font modules and
// copies made with CreateQuilFont. On win32 every field has the width and
// offset of the record (checked below); on 64-bit builds the handle and
// pointer fields are 8 bytes wide with natural alignment.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::fonts {

enum FontKind : int32_t { kKindHangul = 1, kKindEnglish = 2, kKindSpecial = 3, kKindKssmSpecial = 4 };

inline constexpr int kNameBytes = 260;
inline constexpr int kDescriptionBytes = 64;

struct FontHeader {
  int32_t format;          // 1 in every built-in font
  int32_t cellWidth;       // pixels
  int32_t cellHeight;      // pixels
  int32_t composedFlag;    // composition table: 0-2 built-in, 3 the font's own
  uint8_t initialSets;
  uint8_t medialSets;
  uint8_t finalSets;
  uint8_t reserved;
  int32_t glyphBytes;      // bytes per glyph
  int32_t underlineRise;   // also the font's descent
  void* module;            // module the header lives in; null for built-in fonts and copies
  int32_t referenceCount;
  uint8_t* glyphs;         // first glyph; a set bit is paper
  char fileName[kNameBytes];
  int32_t fileNameKey;
  char faceName[kNameBytes];
  int32_t faceNameKey;
  char description[kDescriptionBytes];
  const uint8_t* compositionTable;  // 66 bytes, used when composedFlag is 3
  int32_t kind;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(FontHeader) == 640, "FontHeader is 640 bytes");
static_assert(offsetof(FontHeader, glyphBytes) == 20);
static_assert(offsetof(FontHeader, module) == 28);
static_assert(offsetof(FontHeader, glyphs) == 36);
static_assert(offsetof(FontHeader, fileName) == 40);
static_assert(offsetof(FontHeader, fileNameKey) == 300);
static_assert(offsetof(FontHeader, faceName) == 304);
static_assert(offsetof(FontHeader, faceNameKey) == 564);
static_assert(offsetof(FontHeader, description) == 568);
static_assert(offsetof(FontHeader, compositionTable) == 632);
static_assert(offsetof(FontHeader, kind) == 636);
#endif

// Glyphs in a font's block: the three Hangul sets for kind 1, the fixed
// counts of the other kinds.
int glyphCountOfKind(int kind);
// Glyphs the header's set counts describe (what CreateQuilFont copies).
int setGlyphCount(const FontHeader& header);

}  // namespace kesta::fonts
