// The platform-neutral half of the Hangul text output: how a combination-code
// string splits into characters and cells, how wide it is, how tabs expand,
// how DrawText breaks it into lines, and the 1-bit cell of each glyph (rows
// padded to 16 bits, a set bit is paper) that the Win32 face copies out.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "fonts/font_header.h"

namespace kesta::hangul {

enum class CharClass { End, English, Special, KssmSpecial, Hanja, Hangul };

// Class of a character by its first byte.
CharClass classOf(uint8_t lead);
inline bool isTwoByteClass(CharClass c) { return c != CharClass::End && c != CharClass::English; }

struct CellWidths {
  int hangul = 16;
  int english = 8;
  int hanja = 16;
  int special = 16;
  int kssm = 16;
};
int advanceOf(CharClass c, const CellWidths& widths);

// Tab stops of the tabbed calls: count 0 with no positions, 8 English cells;
// count 1, the first position for every tab; otherwise the next position for
// each successive tab. Tabs beyond the last listed position count one English
// cell (the list is never read past its count).
class TabStops {
 public:
  TabStops(int count, const int* positions, int englishWidth)
      : count_(count < 0 ? 0 : count), positions_(positions), englishWidth_(englishWidth) {}
  int next();

 private:
  int count_;
  const int* positions_;
  int englishWidth_;
  int used_ = 0;
};

// One character of a string: where it starts in the string and on the line.
struct TextCell {
  int offset = 0;  // byte index of the first byte
  int x = 0;       // pixels from the start of the string
  CharClass cls = CharClass::English;
  uint8_t lead = 0;
  uint8_t second = 0;
};

// The characters of `text` up to a 0 byte or the end of `length` bytes. A lead
// byte that is the last counted byte has no second byte inside the string and
// ends the walk. With skipLineEnds, CR and LF take no cell and no room.
std::vector<TextCell> layoutCells(const uint8_t* text, int length, const CellWidths& widths,
                                  bool skipLineEnds = false, int* endX = nullptr);
// The same into `cells` (emptied first), whose room is kept from call to call.
void layoutCells(const uint8_t* text, int length, const CellWidths& widths, bool skipLineEnds, int* endX,
                 std::vector<TextCell>& cells);

// As layoutCells, but a tab takes no cell and moves x to tabBase + the next
// stop (tabBase is the tab origin less the string's x).
std::vector<TextCell> layoutTabbedCells(const uint8_t* text, int length, const CellWidths& widths, TabStops stops,
                                        int tabBase, int* endX = nullptr);
void layoutTabbedCells(const uint8_t* text, int length, const CellWidths& widths, TabStops stops, int tabBase,
                       int* endX, std::vector<TextCell>& cells);

// Width of the extent: two-byte characters count the Hangul cell width, other
// bytes the English cell width, a tab 8 English cell widths.
int textExtentWidth(const uint8_t* text, int length, const CellWidths& widths);

// Width of the tabbed extent: as textExtentWidth, with tabs from `stops`.
int tabbedExtentWidth(const uint8_t* text, int length, const CellWidths& widths, TabStops stops);

// Tabs replaced by spaces up to the next multiple of tabSize characters
// (columns counted in bytes from the start of the string, so a two-byte
// character takes two columns, as wide as two English cells).
std::string expandTabs(const uint8_t* text, int length, int tabSize);

// Length of a string up to its terminator, at most `limit` bytes.
int terminatedLength(const uint8_t* text, int limit);

// One line of a multi-line DrawText layout.
struct TextLine {
  int offset = 0;
  int length = 0;
  int y = 0;  // lines from the top, in units of the line height
};

// Breaks text into lines for DrawText: breaks at LF, and with wordBreak also
// after a space or tab, so that each line fits `width` as `measure` counts. A
// word wider than the width at the start of a line stands whole on its own
// line. Returns the lines in order.
std::vector<TextLine> layoutLines(const uint8_t* text, int length, int width, bool wordBreak,
                                  const std::function<int(const uint8_t*, int)>& measure);

// Rows of one cell: composedRowBytes(width) x height.
struct GlyphCell {
  int width = 0;
  int height = 0;
  int rowBytes = 0;
  std::vector<uint8_t> rows;  // a set bit is paper
  void reset(int w, int h);
  void fillPaper();
};

// Neighbouring cells of one height joined into one strip of rows (padded to
// 16 bits, a set bit is paper), so that a run of text is copied out at once.
class GlyphStrip {
 public:
  // Appends the cell at x; false (and nothing changed) when the strip is not
  // empty and the cell does not continue it at its right edge with the same height.
  bool append(const GlyphCell& cell, int x);
  void clear() { width_ = 0; }
  bool empty() const { return width_ == 0; }
  int x() const { return x_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int rowBytes() const { return rowBytes_; }
  // Rows of the strip; valid until the next append.
  const uint8_t* rows();

 private:
  int x_ = 0, width_ = 0, height_ = 0, rowBytes_ = 0;
  std::vector<uint8_t> cellBytes_;  // each cell's rows unpadded, cell after cell
  std::vector<int> cellWidths_;
  std::vector<uint8_t> rows_;
};

// Paints 1-bit rows (a set bit is paper) into pixels of 3 or 4 bytes (blue,
// green, red[, 0]) as the screen and colour bitmaps hold them: ink takes
// `ink`, paper takes `paper`, or with keepPaper stays as it was. Colours are
// 0x00RRGGBB.
void paintRows(const uint8_t* rows, int rowBytes, int width, int height, uint8_t* pixels, int stride,
               int bytesPerPixel, uint32_t ink, uint32_t paper, bool keepPaper);

// Paints 1-bit rows (a set bit is paper) as pixels of 3 or 4 bytes eight at
// a time, from a table of byte values' eight pixels in the two colours
// (0x00RRGGBB). An entry is made the first time its byte value is met, so
// text whose colours change from call to call pays only for what it uses.
// The result is paintRows' without keepPaper.
class InkExpander {
 public:
  void setColors(uint32_t ink, uint32_t paper, int bytesPerPixel);
  // `bytes` bytes of each of `height` rows, so 8 * bytes pixels a row.
  void paint(const uint8_t* rows, int rowBytes, int bytes, int height, uint8_t* pixels, int stride);
  // The eight pixels of one byte value.
  const uint8_t* entry(uint8_t value) {
    if (!filled_.test(value)) fill(value);
    return &table_[value * 8 * static_cast<size_t>(bytesPerPixel_)];
  }

 private:
  void fill(uint8_t value);
  uint32_t ink_ = 0, paper_ = 0;
  int bytesPerPixel_ = 0;
  std::vector<uint8_t> table_;  // 256 entries of 8 pixels
  std::bitset<256> filled_;
};

// Syllables composed with one font, kept by code, so that a syllable met
// again is copied rather than composed again. Up to kEntries are kept; a
// full cache starts over. Another font (or cell size) starts it over too.
class SyllableCache {
 public:
  static constexpr int kEntries = 4096;
  // The syllable's rows as composeSyllable makes them into a cell of
  // `rowBytes` x `height`; null when it draws nothing. Valid until the next call.
  const uint8_t* rows(uint16_t code, const fonts::FontHeader& font, int rowBytes, int height);
  void clear();
  int size() const { return entries_; }

 private:
  static constexpr uint16_t kNothing = 0xFFFF;
  const fonts::FontHeader* font_ = nullptr;
  size_t cellBytes_ = 0;
  std::vector<uint16_t> slots_;  // by code & 0x7FFF: 0 not yet met, kNothing, or entry number + 1
  std::vector<uint8_t> store_;   // entry after entry
  int entries_ = 0;
};

// The special block's glyph number; -1 when the second byte is outside it.
// (The KSSM special and Hanja numbers are the font library's, glyph_index.h.)
int specialGlyph(uint8_t second);

// Copies glyph `index` of a font block into the cell (rows widened to 16 bits).
// False, and the cell all paper, when the index is outside the font's block.
bool fontGlyphCell(const fonts::FontHeader& font, int index, int glyphCount, GlyphCell& cell);
// A glyph read from a Hanja file (a set bit is ink) into the cell, inverted.
bool hanjaGlyphCell(std::span<const uint8_t> glyph, GlyphCell& cell);
// Glyph bytes of one Hanja glyph of the given cell.
inline int hanjaGlyphBytes(int width, int height) { return width / 8 * height; }

}  // namespace kesta::hangul
