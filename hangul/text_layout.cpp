#include "hangul/text_layout.h"

#include <algorithm>
#include <cstring>

#include "fonts/composer.h"

namespace kesta::hangul {
namespace {

bool isBreak(uint8_t c, bool wordBreak) { return c == '\n' || (wordBreak && (c == ' ' || c == '\t')); }

}  // namespace

CharClass classOf(uint8_t lead) {
  if (lead == 0) return CharClass::End;
  if (lead < 0x80) return CharClass::English;
  if (lead == 0xD4) return CharClass::Special;
  if (lead >= 0xD9 && lead <= 0xDE) return CharClass::KssmSpecial;
  if (lead >= 0xE0 && lead <= 0xF9) return CharClass::Hanja;
  return CharClass::Hangul;
}

int advanceOf(CharClass c, const CellWidths& w) {
  switch (c) {
    case CharClass::English: return w.english;
    case CharClass::Special: return w.special;
    case CharClass::KssmSpecial: return w.kssm;
    case CharClass::Hanja: return w.hanja;
    case CharClass::Hangul: return w.hangul;
    case CharClass::End: break;
  }
  return 0;
}

std::vector<TextCell> layoutCells(const uint8_t* text, int length, const CellWidths& widths, bool skipLineEnds,
                                  int* endX) {
  std::vector<TextCell> cells;
  layoutCells(text, length, widths, skipLineEnds, endX, cells);
  return cells;
}

void layoutCells(const uint8_t* text, int length, const CellWidths& widths, bool skipLineEnds, int* endX,
                 std::vector<TextCell>& cells) {
  cells.clear();
  int x = 0;
  for (int i = 0; text != nullptr && i < length && text[i] != 0;) {
    const CharClass cls = classOf(text[i]);
    if (cls == CharClass::English) {
      if (!(skipLineEnds && (text[i] == '\r' || text[i] == '\n')))
        cells.push_back({i, x, cls, text[i], 0}), x += widths.english;
      ++i;
      continue;
    }
    if (i + 1 >= length) break;
    cells.push_back({i, x, cls, text[i], text[i + 1]});
    x += advanceOf(cls, widths);
    i += 2;
  }
  if (endX != nullptr) *endX = x;
}

std::vector<TextCell> layoutTabbedCells(const uint8_t* text, int length, const CellWidths& widths, TabStops stops,
                                        int tabBase, int* endX) {
  std::vector<TextCell> cells;
  layoutTabbedCells(text, length, widths, stops, tabBase, endX, cells);
  return cells;
}

void layoutTabbedCells(const uint8_t* text, int length, const CellWidths& widths, TabStops stops, int tabBase,
                       int* endX, std::vector<TextCell>& cells) {
  cells.clear();
  int x = 0;
  for (int i = 0; text != nullptr && i < length && text[i] != 0;) {
    const CharClass cls = classOf(text[i]);
    if (cls == CharClass::English) {
      if (text[i] == '\t') x = tabBase + stops.next();
      else cells.push_back({i, x, cls, text[i], 0}), x += widths.english;
      ++i;
      continue;
    }
    if (i + 1 >= length) break;
    cells.push_back({i, x, cls, text[i], text[i + 1]});
    x += advanceOf(cls, widths);
    i += 2;
  }
  if (endX != nullptr) *endX = x;
}

int textExtentWidth(const uint8_t* text, int length, const CellWidths& widths) {
  return tabbedExtentWidth(text, length, widths, TabStops(0, nullptr, widths.english));
}

int TabStops::next() {
  if (count_ == 0 || positions_ == nullptr) return 8 * englishWidth_;
  if (count_ == 1) return positions_[0];
  if (used_ < count_) return positions_[used_++];
  return englishWidth_;
}

int tabbedExtentWidth(const uint8_t* text, int length, const CellWidths& widths, TabStops stops) {
  int width = 0;
  for (int i = 0; text != nullptr && i < length && text[i] != 0;) {
    if (text[i] >= 0x80) {
      width += widths.hangul;
      i += 2;
    } else {
      width += text[i] == '\t' ? stops.next() : widths.english;
      ++i;
    }
  }
  return width;
}

std::string expandTabs(const uint8_t* text, int length, int tabSize) {
  std::string out;
  if (tabSize < 1) tabSize = 1;
  for (int i = 0; text != nullptr && i < length && text[i] != 0; ++i) {
    if (text[i] == '\t') {
      do out.push_back(' ');
      while (out.size() % static_cast<size_t>(tabSize) != 0);
    } else {
      out.push_back(static_cast<char>(text[i]));
    }
  }
  return out;
}

int terminatedLength(const uint8_t* text, int limit) {
  int n = 0;
  while (text != nullptr && n < limit && text[n] != 0) ++n;
  return n;
}

std::vector<TextLine> layoutLines(const uint8_t* text, int length, int width, bool wordBreak,
                                  const std::function<int(const uint8_t*, int)>& measure) {
  std::vector<TextLine> lines;
  int y = 0;
  auto emit = [&](int offset, int count) { lines.push_back({offset, count, y++}); };
  int pos = 0;  // line start
  int k = 0;    // bytes of the candidate line
  while (pos < length) {
    int b = pos + k;
    while (b < length && !isBreak(text[b], wordBreak)) ++b;
    if (b >= length) {
      if (k >= 1 && measure(text + pos, length - pos) > width) {
        emit(pos, k);
        pos += k;
      }
      emit(pos, length - pos);
      break;
    }
    const bool fits = measure(text + pos, b - pos) <= width;
    if (fits) {
      k = b - pos + 1;
    } else if (k >= 1) {
      emit(pos, k);
      pos += k;
      k = 0;
    } else {
      // A word wider than the line at its start: the whole word on a line of its own.
      emit(pos, text[b] == '\n' ? b - pos : b - pos + 1);
      pos = b + 1;
      continue;
    }
    if (text[b] == '\n') {
      emit(pos, b - pos);
      pos = b + 1;
      k = 0;
    }
  }
  return lines;
}

void GlyphCell::reset(int w, int h) {
  width = w;
  height = h;
  rowBytes = composedRowBytes(w);
  rows.assign(static_cast<size_t>(rowBytes) * h, 0xFF);
}

void GlyphCell::fillPaper() { std::fill(rows.begin(), rows.end(), 0xFF); }

bool GlyphStrip::append(const GlyphCell& cell, int x) {
  if (width_ == 0) {
    x_ = x;
    height_ = cell.height;
    cellBytes_.clear();
    cellWidths_.clear();
  } else if (x != x_ + width_ || cell.height != height_) {
    return false;
  }
  const int bytes = cell.width / 8;
  size_t at = cellBytes_.size();
  cellBytes_.resize(at + static_cast<size_t>(bytes) * cell.height);
  for (int r = 0; r < cell.height; ++r) {
    const uint8_t* row = &cell.rows[static_cast<size_t>(r) * cell.rowBytes];
    for (int b = 0; b < bytes; ++b) cellBytes_[at++] = row[b];
  }
  cellWidths_.push_back(cell.width);
  width_ += cell.width;
  return true;
}

const uint8_t* GlyphStrip::rows() {
  rowBytes_ = composedRowBytes(width_);
  rows_.assign(static_cast<size_t>(rowBytes_) * height_, 0xFF);
  int byteX = 0;  // cell widths are whole bytes
  const uint8_t* src = cellBytes_.data();
  for (int w : cellWidths_) {
    const int bytes = w / 8;
    for (int r = 0; r < height_; ++r) {
      uint8_t* out = &rows_[static_cast<size_t>(r) * rowBytes_ + byteX];
      for (int b = 0; b < bytes; ++b) out[b] = *src++;
    }
    byteX += bytes;
  }
  return rows_.data();
}

void paintRows(const uint8_t* rows, int rowBytes, int width, int height, uint8_t* pixels, int stride,
               int bytesPerPixel, uint32_t ink, uint32_t paper, bool keepPaper) {
  const uint8_t ib = static_cast<uint8_t>(ink), ig = static_cast<uint8_t>(ink >> 8), ir = static_cast<uint8_t>(ink >> 16);
  const uint8_t pb = static_cast<uint8_t>(paper), pg = static_cast<uint8_t>(paper >> 8),
                pr = static_cast<uint8_t>(paper >> 16);
  const bool four = bytesPerPixel == 4;
  for (int r = 0; r < height; ++r) {
    const uint8_t* row = rows + static_cast<size_t>(r) * rowBytes;
    uint8_t* out = pixels + static_cast<size_t>(r) * stride;
    for (int c = 0; c < width; ++c, out += bytesPerPixel) {
      if (keepPaper && (c & 7) == 0 && row[c >> 3] == 0xFF && c + 8 <= width) {
        // Eight pixels of paper left as they are.
        c += 7;
        out += 7 * bytesPerPixel;
        continue;
      }
      const bool isPaper = (row[c >> 3] & (0x80 >> (c & 7))) != 0;
      if (isPaper) {
        if (keepPaper) continue;
        out[0] = pb, out[1] = pg, out[2] = pr;
      } else {
        out[0] = ib, out[1] = ig, out[2] = ir;
      }
      if (four) out[3] = 0;
    }
  }
}

void InkExpander::setColors(uint32_t ink, uint32_t paper, int bytesPerPixel) {
  if (!table_.empty() && ink == ink_ && paper == paper_ && bytesPerPixel == bytesPerPixel_) return;
  ink_ = ink, paper_ = paper, bytesPerPixel_ = bytesPerPixel;
  table_.resize(256 * 8 * static_cast<size_t>(bytesPerPixel));
  filled_.reset();
}

void InkExpander::fill(uint8_t value) {
  const size_t size = 8 * static_cast<size_t>(bytesPerPixel_);
  paintRows(&value, 1, 8, 1, &table_[value * size], static_cast<int>(size), bytesPerPixel_, ink_, paper_, false);
  filled_.set(value);
}

namespace {

// One fixed-size copy an entry, so that it compiles to a few moves.
template <int kBytesPerPixel>
void expandRows(InkExpander& table, const uint8_t* rows, int rowBytes, int bytes, int height, uint8_t* pixels,
                int stride) {
  constexpr size_t kEntry = 8 * kBytesPerPixel;
  for (int r = 0; r < height; ++r) {
    const uint8_t* row = rows + static_cast<size_t>(r) * rowBytes;
    uint8_t* out = pixels + static_cast<size_t>(r) * stride;
    for (int b = 0; b < bytes; ++b, out += kEntry) std::memcpy(out, table.entry(row[b]), kEntry);
  }
}

}  // namespace

void InkExpander::paint(const uint8_t* rows, int rowBytes, int bytes, int height, uint8_t* pixels, int stride) {
  if (bytesPerPixel_ == 4) expandRows<4>(*this, rows, rowBytes, bytes, height, pixels, stride);
  else expandRows<3>(*this, rows, rowBytes, bytes, height, pixels, stride);
}

void SyllableCache::clear() {
  font_ = nullptr;
  cellBytes_ = 0;
  entries_ = 0;
  std::fill(slots_.begin(), slots_.end(), 0);
}

const uint8_t* SyllableCache::rows(uint16_t code, const fonts::FontHeader& font, int rowBytes, int height) {
  const size_t cellBytes = static_cast<size_t>(rowBytes) * height;
  if (&font != font_ || cellBytes != cellBytes_) {
    clear();
    font_ = &font;
    cellBytes_ = cellBytes;
  }
  // Syllable codes have their high bit set; anything else is composed each time.
  uint16_t* slot = nullptr;
  if (code & 0x8000) {
    if (slots_.empty()) slots_.assign(0x8000, 0);
    slot = &slots_[code & 0x7FFF];
    if (*slot == kNothing) return nullptr;
    if (*slot != 0) return &store_[(*slot - 1) * cellBytes_];
    if (entries_ == kEntries) {
      std::fill(slots_.begin(), slots_.end(), 0);
      entries_ = 0;
    }
  }
  const size_t end = (static_cast<size_t>(entries_) + 1) * cellBytes_;
  if (store_.size() < end) store_.resize(end);
  uint8_t* at = &store_[end - cellBytes_];
  if (!composeSyllable(code, font, {at, cellBytes_})) {
    if (slot != nullptr) *slot = kNothing;
    return nullptr;
  }
  if (slot != nullptr) *slot = static_cast<uint16_t>(++entries_);
  return at;
}

int specialGlyph(uint8_t second) { return second >= 0x80 ? second - 0x80 : -1; }

bool fontGlyphCell(const fonts::FontHeader& font, int index, int glyphCount, GlyphCell& cell) {
  cell.fillPaper();
  const int srcRow = font.cellWidth / 8;
  if (font.glyphs == nullptr || index < 0 || index >= glyphCount || cell.width != font.cellWidth ||
      cell.height != font.cellHeight || srcRow * font.cellHeight > font.glyphBytes)
    return false;
  const uint8_t* src = font.glyphs + static_cast<size_t>(index) * font.glyphBytes;
  for (int r = 0; r < cell.height; ++r)
    for (int b = 0; b < srcRow; ++b) cell.rows[static_cast<size_t>(r) * cell.rowBytes + b] = src[r * srcRow + b];
  return true;
}

bool hanjaGlyphCell(std::span<const uint8_t> glyph, GlyphCell& cell) {
  cell.fillPaper();
  const int srcRow = cell.width / 8;
  if (glyph.size() < static_cast<size_t>(srcRow) * cell.height) return false;
  for (int r = 0; r < cell.height; ++r)
    for (int c = 0; c < srcRow; ++c)
      cell.rows[static_cast<size_t>(r) * cell.rowBytes + c] = static_cast<uint8_t>(~glyph[r * srcRow + c]);
  return true;
}

}  // namespace kesta::hangul
