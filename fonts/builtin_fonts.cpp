#include "fonts/builtin_fonts.h"

#include <cstring>

#include "fonts/glyphs/glyph_blocks.h"
#include "fonts/name_key.h"

namespace kesta::fonts {
namespace {

struct BuiltinFont {
  const char* face;
  int kind;
  int cellWidth;
  const char* description;
  const uint8_t* glyphs;
};

const BuiltinFont kBuiltins[kBuiltinFontCount] = {
    {"InternalMyungjo", kKindHangul, 16, "Windows Internal Myungjo Font", glyphs::kGlyphsMyungjo},
    {"InternalGothic", kKindHangul, 16, "Windows Internal Gothic Font", glyphs::kGlyphsGothic},
    {"InternalPilgi", kKindHangul, 16, "Windows Internal Pilgi Font", glyphs::kGlyphsPilgi},
    {"InternalSammool", kKindHangul, 16, "Windows Internal Sammool Font", glyphs::kGlyphsSammool},
    {"KSSpecial", kKindSpecial, 16, "Windows Internal KS Speical Font", glyphs::kGlyphsKsSpecial},
    {"VaskeloSpecial", kKindSpecial, 16, "Windows Internal Vaskelo Special Font", glyphs::kGlyphsVaskeloSpecial},
    {"InternalRoman", kKindEnglish, 8, "Windows Internal Roman English Font", glyphs::kGlyphsRoman},
    {"InternalMokraRoman", kKindEnglish, 8, "Windows Internal Mokra Roman English Font", glyphs::kGlyphsMokraRoman},
    {"InternalMokraGothic", kKindEnglish, 8, "Windows Internal Mokra Gothic English Font",
     glyphs::kGlyphsMokraGothic},
    {"InternalET4000", kKindEnglish, 8, "Windows Internal ET4000 English Font", glyphs::kGlyphsEt4000},
    {"KSSMSpecial", kKindKssmSpecial, 16, "Windows Internal KSSM Special Font", glyphs::kGlyphsKssmSpecial},
};

void copyName(char* field, size_t bytes, const char* text) {
  std::memset(field, 0, bytes);
  std::strncpy(field, text, bytes - 1);
}

}  // namespace

void makeBuiltinHeaders(FontHeader* headers) {
  for (int i = 0; i < kBuiltinFontCount; ++i) {
    const BuiltinFont& b = kBuiltins[i];
    FontHeader& h = headers[i];
    std::memset(&h, 0, sizeof h);
    h.format = 1;
    h.cellWidth = b.cellWidth;
    h.cellHeight = 16;
    h.glyphBytes = b.cellWidth / 8 * 16;
    h.underlineRise = 2;
    h.referenceCount = 1;
    h.kind = b.kind;
    if (b.kind == kKindHangul) {
      h.composedFlag = 1;
      h.initialSets = 8;
      h.medialSets = 4;
      h.finalSets = 4;
    }
    // The store hands the glyphs out through a non-const field, but nothing writes them.
    h.glyphs = const_cast<uint8_t*>(b.glyphs);
    copyName(h.fileName, sizeof h.fileName, b.face);
    copyName(h.faceName, sizeof h.faceName, b.face);
    h.fileNameKey = nameKey(h.fileName, sizeof h.fileName);
    h.faceNameKey = nameKey(h.faceName, sizeof h.faceName);
    copyName(h.description, sizeof h.description, b.description);
  }
}

int builtinIndexOfFace(const char* face) {
  for (int i = 0; i < kBuiltinFontCount; ++i)
    if (namesEqualNoCase(kBuiltins[i].face, kNameBytes, face, kNameBytes + 1)) return i;
  return -1;
}

}  // namespace kesta::fonts
