// Hangul text output: every glyph is built into its class's one-cell
// monochrome rows (Hangul composed, or taken from the syllables composed
// before; Hanja read from the glyph file). On a DIB section of 24 or 32 bits
// whose DC maps and clips simply, the pixels are written straight into its
// bits. On other colour targets neighbouring cells are composed into a run
// bitmap of our own in the target's format, pixels in the text and paper
// colours (opaque), or the run's ink is laid over a copy of what the target
// shows there (transparent), and the run is copied out in one call. Other
// targets get a one-bit strip and raster operations.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "fonts/composer.h"
#include "fonts/glyph_index.h"
#include "hangul/win32_registry.h"
#include "xlat/hxlat_import.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace quilh32;
using kesta::hangul::CharClass;
using kesta::hangul::GlyphCell;
using kesta::hangul::TextCell;

namespace {

constexpr int kEnglishGlyphs = 256;
constexpr int kSpecialGlyphs = 128;
constexpr int kKssmGlyphs = 1053;
constexpr DWORD kPaintInkRop = 0x00BA0B29;  // D | (P & ~S): brush where the source is ink
constexpr int kRunPixels = 1024;            // widest run copied at once on colour targets

const uint8_t* bytes(LPCSTR s) { return reinterpret_cast<const uint8_t*>(s); }

int lineHeight(const HRegistration& r, int* ascent = nullptr, int* descent = nullptr) {
  const QuilFontHeader* e = r.english.header;
  const QuilFontHeader* h = r.hangul.header;
  const int ea = e != nullptr ? e->cellHeight - e->underlineRise : 0;
  const int ha = h != nullptr ? h->cellHeight - h->underlineRise : 0;
  const int ed = e != nullptr ? e->underlineRise : 0;
  const int hd = h != nullptr ? h->underlineRise : 0;
  const int a = ea > ha ? ea : ha, d = ed > hd ? ed : hd;
  if (ascent != nullptr) *ascent = a;
  if (descent != nullptr) *descent = d;
  return a + d;
}

// Rows of one-bit pixels (a set bit is paper) to be drawn: a glyph cell's, a
// kept syllable's, or a transparent run's mask.
struct CellRows {
  const uint8_t* rows;
  int rowBytes, width, height;
};

// Draws glyph cells onto one DC for the length of one call.
class GlyphPainter {
 public:
  GlyphPainter(HDC target, HRegistration& r) : target_(target), r_(r) {
    if (r.memoryDC == nullptr) r.memoryDC = CreateCompatibleDC(target);
    memory_ = r.memoryDC;
    transparent_ = GetBkMode(target) == TRANSPARENT;
    const COLORREF text = GetTextColor(target), paper = GetBkColor(target);
    colorBytes_ = (text >> 24) == 0 && (paper >> 24) == 0 ? colorBytesOf(target) : 0;
    if (direct_) {
      // Pixels go straight into the target's bits; see drawDirect.
      if (transparent_) ink_ = rrggbb(text);
      else r.expander.setColors(rrggbb(text), rrggbb(paper), colorBytes_);
      GdiFlush();  // what GDI still has to draw there is drawn before we write
    } else if (colorBytes_ != 0 && !transparent_) {
      // Opaque colour targets get their pixels made here and copied without conversion.
      r.expander.setColors(rrggbb(text), rrggbb(paper), colorBytes_);
    } else if (colorBytes_ != 0) {
      ink_ = rrggbb(text);
    } else if (transparent_) {
      // The source becomes a mask (ink 0, paper all ones) and the text colour a brush.
      textColor_ = SetTextColor(target, RGB(0, 0, 0));
      bkColor_ = SetBkColor(target, RGB(255, 255, 255));
      brush_ = CreateSolidBrush(textColor_);
      oldBrush_ = SelectObject(target, brush_);
    }
  }
  ~GlyphPainter() {
    flush();
    if (memory_ != nullptr) {
      if (oldBitmap_ != nullptr) SelectObject(memory_, oldBitmap_);
    }
    if (brush_ != nullptr) {
      SelectObject(target_, oldBrush_);
      DeleteObject(brush_);
      SetTextColor(target_, textColor_);
      SetBkColor(target_, bkColor_);
    }
  }
  GlyphPainter(const GlyphPainter&) = delete;
  GlyphPainter& operator=(const GlyphPainter&) = delete;

  bool ok() const { return memory_ != nullptr; }

  // Draws one character; false when its font is missing.
  bool draw(const TextCell& c, int x, int y) {
    switch (c.cls) {
      case CharClass::English:
        return drawFont(r_.english, c.lead, kEnglishGlyphs, x, y);
      case CharClass::Special:
        return drawFont(r_.special, kesta::hangul::specialGlyph(c.second), kSpecialGlyphs, x, y);
      case CharClass::KssmSpecial:
        return drawFont(r_.kssm, kesta::fonts::kssmGlyphIndex(c.lead, c.second), kKssmGlyphs, x, y);
      case CharClass::Hanja:
        drawHanja(c, x, y);
        return true;
      case CharClass::Hangul:
        drawHangul(c, x, y);
        return true;
      case CharClass::End:
        break;
    }
    return true;
  }

 private:
  bool drawFont(FontSlot& s, int glyph, int count, int x, int y) {
    if (s.header == nullptr || s.cellBitmap == nullptr) return false;
    // A code outside the block draws nothing; the caller still advances.
    if (kesta::hangul::fontGlyphCell(*s.header, glyph, count, s.cell)) add(s.cell, x, y);
    return true;
  }

  void drawHangul(const TextCell& c, int x, int y) {
    FontSlot& s = r_.hangul;
    if (x + s.cell.width <= 0 || y + s.cell.height <= 0) return;
    const uint8_t* rows = s.syllables.rows(static_cast<uint16_t>(c.lead << 8 | c.second), *s.header, s.cell.rowBytes,
                                           s.cell.height);
    if (rows == nullptr) return;
    const CellRows kept{rows, s.cell.rowBytes, s.cell.width, s.cell.height};
    if (direct_) {
      drawDirect(kept, x, y);
      return;
    }
    if (colorBytes_ != 0) {
      addToRun(kept, x, y);
      return;
    }
    std::memcpy(s.cell.rows.data(), rows, static_cast<size_t>(s.cell.rowBytes) * s.cell.height);
    add(s.cell, x, y);
  }

  void drawHanja(const TextCell& c, int x, int y) {
    GlyphCell& cell = r_.hanjaCell;
    if (r_.hanjaFile == INVALID_HANDLE_VALUE || r_.hanjaFile == nullptr || r_.hanjaBitmap == nullptr) return;
    if (x + cell.width <= 0 || y + cell.height <= 0) return;
    const int glyph = kesta::fonts::hanjaGlyphIndex(c.lead, c.second);
    if (glyph < 0) return;
    const int size = kesta::hangul::hanjaGlyphBytes(cell.width, cell.height);
    uint8_t scratch[64 * 64 / 8];
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(glyph) * size;
    DWORD got = 0;
    if (!SetFilePointerEx(r_.hanjaFile, at, nullptr, FILE_BEGIN) ||
        !ReadFile(r_.hanjaFile, scratch, static_cast<DWORD>(size), &got, nullptr) || got != static_cast<DWORD>(size))
      return;  // beyond the end of the file: nothing to draw
    if (kesta::hangul::hanjaGlyphCell({scratch, static_cast<size_t>(size)}, cell)) add(cell, x, y);
  }

  // A drawn cell joins the strip when it continues it; otherwise the strip is
  // copied out first. A cell that draws nothing breaks the strip, so what lies
  // under it stays as it was.
  void add(const GlyphCell& cell, int x, int y) {
    if (direct_) {
      drawDirect({cell.rows.data(), cell.rowBytes, cell.width, cell.height}, x, y);
      return;
    }
    if (colorBytes_ != 0) {
      addToRun({cell.rows.data(), cell.rowBytes, cell.width, cell.height}, x, y);
      return;
    }
    if (!strip_.empty() && (y != stripY_ || !strip_.append(cell, x))) flush();
    if (strip_.empty()) {
      strip_.append(cell, x);
      stripY_ = y;
    }
  }

 public:
  void flush() {
    if (colorBytes_ != 0) {
      flushRun();
      return;
    }
    if (strip_.empty() || memory_ == nullptr) return;
    const uint8_t* rows = strip_.rows();
    const int w = strip_.width(), h = strip_.height(), x = strip_.x();
    strip_.clear();
    HBITMAP bitmap = CreateBitmap(w, h, 1, 1, rows);
    if (bitmap == nullptr) return;
    HGDIOBJ previous = SelectObject(memory_, bitmap);
    if (oldBitmap_ == nullptr) oldBitmap_ = previous;
    if (!transparent_) {
      BitBlt(target_, x, stripY_, w, h, memory_, 0, 0, SRCCOPY);
    } else {
      BitBlt(target_, x, stripY_, w, h, memory_, 0, 0, SRCAND);
      BitBlt(target_, x, stripY_, w, h, memory_, 0, 0, kPaintInkRop);
    }
    SelectObject(memory_, oldBitmap_);
    DeleteObject(bitmap);
  }

 private:
  static COLORREF rrggbb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

  // 3 or 4 for targets of 24 or 32 bits a pixel, else 0 (the monochrome
  // path). A memory DC whose bitmap is a DIB section we can write into
  // ourselves sets direct_.
  int colorBytesOf(HDC dc) {
    int bits = 0;
    if (GetObjectType(dc) == OBJ_MEMDC) {
      DIBSECTION section{};
      const int got = GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof section, &section);
      if (got == 0) return 0;
      bits = section.dsBm.bmBitsPixel;
      if (got == sizeof section && (bits == 24 || bits == 32)) direct_ = directTarget(dc, section);
    } else {
      bits = GetDeviceCaps(dc, BITSPIXEL);
    }
    return bits == 24 ? 3 : bits == 32 ? 4 : 0;
  }

  // A DIB section of plain RGB pixels, with logical coordinates that are
  // device pixels moved by an offset and one clip rectangle (or none at
  // all): then a copy through GDI would put exactly the bytes we can put
  // there ourselves. Anything else (mapping modes, transforms, mirrored
  // layouts, clip regions of several rectangles) goes through GDI.
  bool directTarget(HDC dc, const DIBSECTION& section) {
    if (section.dsBm.bmBits == nullptr || section.dsBmih.biCompression != BI_RGB) return false;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0) return false;
    RECT box;
    const int kind = GetClipBox(dc, &box);
    if (kind != SIMPLEREGION && kind != NULLREGION) return false;
    POINT origin{0, 0};
    if (!LPtoDP(dc, &origin, 1)) return false;
    offset_ = origin;
    const int width = section.dsBm.bmWidth, height = section.dsBm.bmHeight;
    if (kind == NULLREGION) {
      clip_ = {0, 0, 0, 0};
    } else {
      clip_ = {std::max<LONG>(box.left + origin.x, 0), std::max<LONG>(box.top + origin.y, 0),
               std::min<LONG>(box.right + origin.x, width), std::min<LONG>(box.bottom + origin.y, height)};
    }
    stride_ = section.dsBm.bmWidthBytes;
    bits_ = static_cast<uint8_t*>(section.dsBm.bmBits);
    if (clip_.left < clip_.right && clip_.top < clip_.bottom) {
      const HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
      if (bitmap != r_.probedBitmap || section.dsBm.bmBits != r_.probedBits) {
        int bottomUp = rowsBottomUp(dc, section);
        if (bottomUp < 0) return false;
        r_.probedBitmap = bitmap, r_.probedBits = section.dsBm.bmBits, r_.probedBottomUp = bottomUp != 0;
      }
      if (r_.probedBottomUp) {  // the first row in memory is the last on the screen
        bits_ += static_cast<ptrdiff_t>(height - 1) * stride_;
        stride_ = -stride_;
      }
    }
    return true;
  }

  // Whether the section's rows lie bottom-up in memory (1) or top-down (0);
  // -1 when it cannot be told. GetObject gives the height positive either
  // way, so a pixel inside the clip is changed in memory, GDI is asked what
  // it shows there, and the byte is put back.
  int rowsBottomUp(HDC dc, const DIBSECTION& section) {
    const int height = section.dsBm.bmHeight;
    const int x = clip_.left;
    int y = clip_.top;
    if (y == height - 1 - y && y + 1 < clip_.bottom) ++y;
    if (y == height - 1 - y) return 0;  // the one row that lies where it is either way
    uint8_t* byte = static_cast<uint8_t*>(section.dsBm.bmBits) + static_cast<ptrdiff_t>(y) * section.dsBm.bmWidthBytes +
                    x * (section.dsBm.bmBitsPixel / 8);
    const uint8_t was = *byte;
    const COLORREF before = GetPixel(dc, x - offset_.x, y - offset_.y);
    *byte = static_cast<uint8_t>(was ^ 0x80);
    const COLORREF after = GetPixel(dc, x - offset_.x, y - offset_.y);
    *byte = was;
    if (before == CLR_INVALID || after == CLR_INVALID) return -1;
    return before == after ? 1 : 0;
  }

  // Writes a cell's pixels into the target's bits, inside the clip: opaque,
  // eight pixels of a glyph byte at once from the colour table; transparent,
  // the ink pixels alone.
  void drawDirect(const CellRows& cell, int x, int y) {
    const int dx = x + offset_.x, dy = y + offset_.y;
    const int left = std::max<int>(dx, clip_.left), right = std::min<int>(dx + cell.width, clip_.right);
    const int top = std::max<int>(dy, clip_.top), bottom = std::min<int>(dy + cell.height, clip_.bottom);
    if (left >= right || top >= bottom) return;
    const int bpp = colorBytes_;
    if (transparent_) {
      if (bpp == 4) layInk<4>(cell, dx, dy, left, top, right, bottom);
      else layInk<3>(cell, dx, dy, left, top, right, bottom);
      return;
    }
    if (left == dx && right == dx + cell.width) {
      if (bpp == 4) paintWholeRows<4>(cell, dx, dy, top, bottom);
      else paintWholeRows<3>(cell, dx, dy, top, bottom);
      return;
    }
    // Cut at the sides: the part of each byte's eight pixels inside.
    const int firstByte = (left - dx) / 8, lastByte = (right - dx - 1) / 8;
    for (int py = top; py < bottom; ++py) {
      const uint8_t* row = &cell.rows[static_cast<size_t>(py - dy) * cell.rowBytes];
      uint8_t* line = bits_ + static_cast<ptrdiff_t>(py) * stride_;
      for (int b = firstByte; b <= lastByte; ++b) {
        const int bx = dx + 8 * b;  // the byte's first pixel
        const int from = std::max(bx, left), to = std::min(bx + 8, right);
        std::memcpy(line + static_cast<ptrdiff_t>(from) * bpp, r_.expander.entry(row[b]) + (from - bx) * bpp,
                    static_cast<size_t>(to - from) * bpp);
      }
    }
  }

  // Opaque, the cell's whole width: eight pixels of each glyph byte at once.
  template <int kBytes>
  void paintWholeRows(const CellRows& cell, int dx, int dy, int top, int bottom) {
    constexpr size_t kEntry = 8 * kBytes;
    const int bytes = cell.width / 8;
    for (int py = top; py < bottom; ++py) {
      const uint8_t* row = &cell.rows[static_cast<size_t>(py - dy) * cell.rowBytes];
      uint8_t* out = bits_ + static_cast<ptrdiff_t>(py) * stride_ + static_cast<ptrdiff_t>(dx) * kBytes;
      for (int b = 0; b < bytes; ++b, out += kEntry) std::memcpy(out, r_.expander.entry(row[b]), kEntry);
    }
  }

  // Transparent: the text colour on the cell's ink pixels between left and
  // right, top and bottom (device pixels; the cell's top left at dx, dy).
  // A glyph byte whose eight pixels all lie inside is laid at once: its
  // pixels are read, the ink pixels replaced through a mask of the byte's
  // bits, and all eight written back (the paper ones as they were); a byte
  // cut by the sides pixel by pixel.
  template <int kBytes>
  void layInk(const CellRows& cell, int dx, int dy, int left, int top, int right, int bottom) {
    constexpr int kWords = kBytes;  // eight pixels are 3 or 4 words of 8 bytes
    const auto& masks = inkMasks<kBytes>();
    uint64_t pattern[kWords];  // eight pixels of the text colour
    {
      uint8_t pixels[8 * kBytes] = {};
      for (int i = 0; i < 8; ++i) {
        pixels[i * kBytes] = static_cast<uint8_t>(ink_);
        pixels[i * kBytes + 1] = static_cast<uint8_t>(ink_ >> 8);
        pixels[i * kBytes + 2] = static_cast<uint8_t>(ink_ >> 16);
      }
      std::memcpy(pattern, pixels, sizeof pixels);
    }
#if defined(__SSE2__)
    // 16 bytes at a time in SSE registers, and the last 8 of 24 in a
    // general one (never through a buffer of all of them: read back wider
    // than it was written, that stalls).
    const __m128i ink0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i ink1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + kWords - 2));
    auto lay = [&](uint8_t* out, unsigned ink) {
      const uint64_t* mask = masks[ink].data();
      auto blend16 = [](uint8_t* at, const uint64_t* m, __m128i colour) {
        const __m128i where = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
        const __m128i was = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at),
                         _mm_or_si128(_mm_andnot_si128(where, was), _mm_and_si128(where, colour)));
      };
      blend16(out, mask, ink0);
      if constexpr (kWords == 4) {
        blend16(out + 16, mask + 2, ink1);
      } else {
        uint64_t word;
        std::memcpy(&word, out + 16, 8);
        word = (word & ~mask[2]) | (pattern[2] & mask[2]);
        std::memcpy(out + 16, &word, 8);
      }
    };
#else
    // Without SSE2 (a 32-bit build for older processors): 8 bytes at a time.
    auto lay = [&](uint8_t* out, unsigned ink) {
      const uint64_t* mask = masks[ink].data();
      for (int w = 0; w < kWords; ++w) {
        uint64_t word;
        std::memcpy(&word, out + 8 * w, 8);
        word = (word & ~mask[w]) | (pattern[w] & mask[w]);
        std::memcpy(out + 8 * w, &word, 8);
      }
    };
#endif
    if (left == dx && right == dx + cell.width) {
      // The whole width: a row without ink is passed over; in one with ink
      // every byte is laid, with no choice to make byte by byte.
      const int bytes = cell.width / 8;
      for (int py = top; py < bottom; ++py) {
        const uint8_t* row = &cell.rows[static_cast<size_t>(py - dy) * cell.rowBytes];
        unsigned paper = 0xFF;
        for (int b = 0; b < bytes; ++b) paper &= row[b];
        if (paper == 0xFF) continue;  // every byte all paper
        uint8_t* out = bits_ + static_cast<ptrdiff_t>(py) * stride_ + static_cast<ptrdiff_t>(dx) * kBytes;
        for (int b = 0; b < bytes; ++b, out += 8 * kBytes) lay(out, static_cast<uint8_t>(~row[b]));
      }
      return;
    }
    const int firstByte = (left - dx) / 8, lastByte = (right - dx - 1) / 8;
    for (int py = top; py < bottom; ++py) {
      const uint8_t* row = &cell.rows[static_cast<size_t>(py - dy) * cell.rowBytes];
      uint8_t* line = bits_ + static_cast<ptrdiff_t>(py) * stride_;
      for (int b = firstByte; b <= lastByte; ++b) {
        const int bx = dx + 8 * b;  // the byte's first pixel
        unsigned ink = static_cast<uint8_t>(~row[b]);  // bit 7 is the byte's first pixel
        if (ink == 0) continue;
        uint8_t* out = line + static_cast<ptrdiff_t>(bx) * kBytes;
        if (bx >= left && bx + 8 <= right) {
          lay(out, ink);
          continue;
        }
        if (bx < left) ink &= 0xFFu >> (left - bx);
        if (bx + 8 > right) ink &= 0xFFu << (bx + 8 - right);
        for (; ink != 0; ink &= ink - 1) {
          const int bit = __builtin_ctz(ink);  // 7 for the first pixel
          uint8_t* px = out + static_cast<ptrdiff_t>(7 - bit) * kBytes;
          std::memcpy(px, reinterpret_cast<const uint8_t*>(pattern), kBytes);
        }
      }
    }
  }

  // For each byte of ink bits (a set bit is ink, bit 7 the first pixel),
  // its eight pixels' bytes with all ones where a pixel is ink.
  template <int kBytes>
  static const std::array<std::array<uint64_t, kBytes>, 256>& inkMasks() {
    static const auto table = [] {
      std::array<std::array<uint64_t, kBytes>, 256> t{};
      for (int v = 0; v < 256; ++v) {
        uint8_t bytes[8 * kBytes] = {};
        for (int i = 0; i < 8; ++i)
          if (v & (0x80 >> i)) std::memset(bytes + i * kBytes, 0xFF, kBytes);
        std::memcpy(t[v].data(), bytes, sizeof bytes);
      }
      return t;
    }();
    return table;
  }

  // A run bitmap of the target's depth at least `height` rows tall, selected
  // into the memory DC; false when none can be made.
  bool selectRunBitmap(int height) {
    const int depth = colorBytes_ * 8;
    if (r_.staging == nullptr || r_.stagingDepth != depth || r_.stagingHeight < height) {
      if (r_.staging != nullptr) {
        if (r_.stagingSelected) SelectObject(memory_, r_.memoryDefault);
        r_.stagingSelected = false;
        DeleteObject(r_.staging);
        r_.staging = nullptr;
      }
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = kRunPixels;
      info.bmiHeader.biHeight = -std::max(height, 16);
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = static_cast<WORD>(depth);
      info.bmiHeader.biCompression = BI_RGB;
      r_.staging = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &r_.stagingBits, nullptr, 0);
      if (r_.staging == nullptr) return false;
      r_.stagingHeight = -info.bmiHeader.biHeight;
      r_.stagingDepth = depth;
    }
    // It stays selected from call to call (the monochrome strips put it
    // back when they are done).
    if (!r_.stagingSelected) {
      HGDIOBJ previous = SelectObject(memory_, r_.staging);
      if (previous == nullptr) return false;
      if (r_.memoryDefault == nullptr) r_.memoryDefault = previous;
      r_.stagingSelected = true;
    }
    GdiFlush();  // the last copy out of the bitmap is done before it is written
    return true;
  }

  // Colour targets: the cell is painted into the run bitmap beside the run
  // it continues; a cell elsewhere, or one the bitmap has no room for, starts a new run.
  void addToRun(const CellRows& cell, int x, int y) {
    if (runWidth_ > 0 &&
        (y != runY_ || x != runX_ + runWidth_ || cell.height != runHeight_ || runWidth_ + cell.width > kRunPixels))
      flushRun();
    if (runWidth_ == 0) {
      if (cell.width > kRunPixels || !selectRunBitmap(cell.height)) return;
      runX_ = x, runY_ = y, runHeight_ = cell.height;
    }
    const int depth = r_.stagingDepth;
    const int stride = (kRunPixels * depth / 8 + 3) & ~3;
    uint8_t* bits = static_cast<uint8_t*>(r_.stagingBits);
    const int bytes = cell.width / 8;  // cell widths are whole bytes
    if (transparent_) {
      // The ink waits in a one-bit mask until the run is copied out.
      constexpr size_t kMaskStride = kRunPixels / 8;
      std::vector<uint8_t>& mask = r_.runMask;
      if (mask.size() < kMaskStride * cell.height) mask.resize(kMaskStride * cell.height);
      for (int row = 0; row < cell.height; ++row) {
        uint8_t* to = &mask[row * kMaskStride + runWidth_ / 8];
        const uint8_t* from = &cell.rows[static_cast<size_t>(row) * cell.rowBytes];
        for (int b = 0; b < bytes; ++b) to[b] = from[b];
      }
    } else {
      r_.expander.paint(cell.rows, cell.rowBytes, bytes, cell.height, bits + runWidth_ * (depth / 8), stride);
    }
    runWidth_ += cell.width;
  }

  void flushRun() {
    if (runWidth_ == 0) return;
    if (transparent_) {
      // Under Wine two plain copies and our own painting beat a raster
      // operation with a one-bit source (converted pixel by pixel).
      BitBlt(memory_, 0, 0, runWidth_, runHeight_, target_, runX_, runY_, SRCCOPY);
      GdiFlush();
      bits_ = static_cast<uint8_t*>(r_.stagingBits);
      stride_ = (kRunPixels * colorBytes_ + 3) & ~3;
      const CellRows run{r_.runMask.data(), kRunPixels / 8, runWidth_, runHeight_};
      if (colorBytes_ == 4) layInk<4>(run, 0, 0, 0, 0, runWidth_, runHeight_);
      else layInk<3>(run, 0, 0, 0, 0, runWidth_, runHeight_);
    }
    BitBlt(target_, runX_, runY_, runWidth_, runHeight_, memory_, 0, 0, SRCCOPY);
    runWidth_ = 0;
  }

  HDC target_;
  HRegistration& r_;
  HDC memory_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  bool transparent_ = false;
  COLORREF textColor_ = 0, bkColor_ = 0;
  HBRUSH brush_ = nullptr;
  int colorBytes_ = 0;
  bool direct_ = false;  // pixels written straight into the target's DIB section
  uint8_t* bits_ = nullptr;  // the top row of the pixels written: the target's, or the run bitmap's
  ptrdiff_t stride_ = 0;     // bytes from one row to the next below it
  RECT clip_{};              // device pixels that may be written
  POINT offset_{};           // device pixels of the logical origin
  COLORREF ink_ = 0;  // 0xRRGGBB, transparent colour targets
  int runX_ = 0, runY_ = 0, runWidth_ = 0, runHeight_ = 0;
  kesta::hangul::GlyphStrip strip_;
  int stripY_ = 0;
  HGDIOBJ oldBrush_ = nullptr;
};

struct TabbedArgs {
  int count;
  const int* positions;
  int origin;
};

// HTextOut, HTextOut2 and HTabbedTextOut: 1, or 0 without record, without
// Hangul font, or when a symbol font is missing.
int textOut(HDC dc, int x, int y, LPCSTR text, int length, bool skipLineEnds, const TabbedArgs* tabs) {
  HRegistration* r = findDC(dc);
  if (r == nullptr || r->hangul.header == nullptr || text == nullptr) return 0;
  const auto widths = cellWidths(*r);
  const UINT align = GetTextAlign(dc);
  SetTextAlign(dc, 0);
  if (align & TA_UPDATECP) {
    POINT p;
    GetCurrentPositionEx(dc, &p);
    x = p.x;
    y = p.y;
  }
  const int lineY = y;
  int width = 0;
  if ((align & TA_CENTER) == TA_CENTER || (align & TA_CENTER) == TA_RIGHT) {
    width = tabs != nullptr
                ? kesta::hangul::tabbedExtentWidth(bytes(text), length, widths,
                                                   kesta::hangul::TabStops(tabs->count, tabs->positions, widths.english))
                : kesta::hangul::textExtentWidth(bytes(text), length, widths);
    x -= (align & TA_CENTER) == TA_CENTER ? width / 2 : width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) y -= r->hangul.header->cellHeight - r->hangul.header->underlineRise;
  int endX = 0;
  std::vector<TextCell>& cells = r->cells;
  if (tabs != nullptr)
    kesta::hangul::layoutTabbedCells(bytes(text), length, widths,
                                     kesta::hangul::TabStops(tabs->count, tabs->positions, widths.english),
                                     tabs->origin - x, &endX, cells);
  else
    kesta::hangul::layoutCells(bytes(text), length, widths, skipLineEnds, &endX, cells);
  int result = 1;
  {
    GlyphPainter painter(dc, *r);
    if (!painter.ok()) result = 0;
    for (size_t i = 0; result != 0 && i < cells.size(); ++i)
      if (!painter.draw(cells[i], x + cells[i].x, y)) result = 0;
  }
  if (align & TA_UPDATECP) MoveToEx(dc, x + endX, lineY, nullptr);
  SetTextAlign(dc, align);
  return result;
}

DWORD packExtent(int width, int height) {
  return static_cast<DWORD>(static_cast<uint16_t>(width)) | static_cast<DWORD>(static_cast<uint16_t>(height)) << 16;
}

// A copy of the string converted from `fromType` to the combination code;
// false when it cannot be allocated.
bool convertedCopy(LPCSTR text, int length, int fromType, std::vector<char>& out) {
  if (text == nullptr) return false;
  const int n = length < 0 ? static_cast<int>(std::strlen(text)) : length;
  try {
    out.assign(static_cast<size_t>(n) * 2 + 2, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::memcpy(out.data(), text, static_cast<size_t>(n));
  const size_t converted = kesta::xlat::convertThroughDll(fromType, 1, out.data(), out.size());
  out.resize(converted + 1);
  return true;
}

}  // namespace

QUILH32_API int WINAPI HTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  return textOut(dc, x, y, text, length, false, nullptr);
}

QUILH32_API int WINAPI HTextOut2(HDC dc, int x, int y, LPCSTR text, int length) {
  return textOut(dc, x, y, text, length, true, nullptr);
}

QUILH32_API LONG WINAPI HTabbedTextOut(HDC dc, int x, int y, LPCSTR text, int length, int tabCount,
                                       const int* tabPositions, int tabOrigin) {
  const TabbedArgs tabs{tabCount, tabPositions, tabOrigin};
  if (textOut(dc, x, y, text, length, false, &tabs) == 0 && findDC(dc) == nullptr) return 0;
  return static_cast<LONG>(HGetTabbedTextExtent(dc, text, length, tabCount, tabPositions));
}

QUILH32_API DWORD WINAPI HGetTextExtent(HDC dc, LPCSTR text, int length) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  return packExtent(kesta::hangul::textExtentWidth(bytes(text), length, cellWidths(*r)), lineHeight(*r));
}

QUILH32_API BOOL WINAPI HGetTextExtentPoint32(HDC dc, LPCSTR text, int length, SIZE* size) {
  HRegistration* r = findDC(dc);
  if (r == nullptr || size == nullptr) return 0;
  size->cx = kesta::hangul::textExtentWidth(bytes(text), length, cellWidths(*r));
  size->cy = lineHeight(*r);
  return 1;
}

QUILH32_API DWORD WINAPI HGetTabbedTextExtent(HDC dc, LPCSTR text, int length, int tabCount, const int* tabPositions) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  const auto widths = cellWidths(*r);
  const int width = kesta::hangul::tabbedExtentWidth(bytes(text), length, widths,
                                                     kesta::hangul::TabStops(tabCount, tabPositions, widths.english));
  return packExtent(width, lineHeight(*r));
}

QUILH32_API int WINAPI HGetTextMetrics(HDC dc, HTextMetric* m) {
  HRegistration* r = findDC(dc);
  if (r == nullptr || m == nullptr) return 0;
  int ascent = 0, descent = 0;
  m->height = lineHeight(*r, &ascent, &descent);
  m->ascent = ascent;
  m->descent = descent;
  m->internalLeading = 0;
  m->externalLeading = 0;
  const auto w = cellWidths(*r);
  m->hangulWidth = w.hangul;
  m->englishWidth = w.english;
  m->hanjaWidth = r->hanjaFile != nullptr ? w.hanja : 0;
  m->specialWidth = w.special;
  m->kssmSpecialWidth = w.kssm;
  return 1;
}

QUILH32_API int WINAPI IsHangul(LPCSTR text, int index) {
  if (text == nullptr || index < 0) return 0;
  const uint8_t* s = bytes(text);
  // Walk from the start: only there is the character boundary known.
  for (int i = 0; i <= index;) {
    if (s[i] == 0) return 0;
    if (s[i] < 0x80) {
      if (i == index) return 0;
      ++i;
      continue;
    }
    if (i == index) return 1;
    if (s[i + 1] == 0) return 0;
    if (i + 1 == index) return 2;
    i += 2;
  }
  return 0;
}

QUILH32_API void WINAPI SetTabSize(int size) { setTabSize(size); }

QUILH32_API int WINAPI HExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, int length,
                                   const int* advances) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  if ((options & ETO_CLIPPED) && rect != nullptr) {
    RECT device = *rect;
    LPtoDP(dc, reinterpret_cast<POINT*>(&device), 2);
    HRGN region = CreateRectRgnIndirect(&device);
    if (region == nullptr) return 0;
    const int selected = SelectClipRgn(dc, region);
    DeleteObject(region);
    if (selected == ERROR) return 0;
  }
  if ((options & ETO_OPAQUE) && rect != nullptr) {
    HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
    FillRect(dc, rect, brush);
    DeleteObject(brush);
  }
  const bool updateCP = (GetTextAlign(dc) & TA_UPDATECP) != 0;
  if (text == nullptr) return 1;
  if (advances == nullptr) {
    if (updateCP) MoveToEx(dc, x, y, nullptr);
    return HTextOut(dc, x, y, text, length);
  }
  int last = 0;
  for (int i = 0; i < length && text[i] != 0;) {
    // i stays on a character boundary, so the lead byte alone gives the width.
    const int n = static_cast<uint8_t>(text[i]) >= 0x80 ? 2 : 1;
    if (i + n > length) break;
    if (updateCP) MoveToEx(dc, x, y, nullptr);
    HTextOut(dc, x, y, text + i, n);
    last = advances[i + n - 1];
    x += last;
    i += n;
  }
  if (updateCP) MoveToEx(dc, x > last ? x : last, y, nullptr);
  return 1;
}

QUILH32_API int WINAPI HDrawText(HDC dc, LPCSTR text, int length, RECT* rect, UINT flags) {
  HRegistration* r = findDC(dc);
  if (r == nullptr || text == nullptr || rect == nullptr) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  HTextMetric m{};
  HGetTextMetrics(dc, &m);
  const int lineH = m.height + ((flags & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const int tabChars = (flags & DT_TABSTOP) ? static_cast<int>((flags >> 8) & 0xFF) : 8;
  const bool updateCP = (GetTextAlign(dc) & TA_UPDATECP) != 0;
  const bool wordBreak = (flags & DT_WORDBREAK) && !updateCP;

  std::string expanded;
  const uint8_t* s = bytes(text);
  if (flags & DT_EXPANDTABS) {
    expanded = kesta::hangul::expandTabs(s, length, tabChars);
    s = reinterpret_cast<const uint8_t*>(expanded.data());
    length = static_cast<int>(expanded.size());
  }
  const auto widths = cellWidths(*r);
  auto measure = [&](const uint8_t* p, int n) { return kesta::hangul::textExtentWidth(p, n, widths); };

  if (flags & DT_CALCRECT) {
    if (flags & DT_SINGLELINE) {
      rect->bottom = rect->top + lineH;
      rect->right = rect->left + measure(s, length);
    } else {
      // Without word breaks the lines end only at line feeds.
      const auto lines = kesta::hangul::layoutLines(s, length, wordBreak ? rect->right - rect->left : 0x7FFFFFFF,
                                                    wordBreak, measure);
      const int count = lines.empty() ? 1 : static_cast<int>(lines.size());
      rect->bottom = rect->top + count * lineH;
    }
    return lineH;
  }

  HRGN clip = nullptr;
  if (!(flags & DT_NOCLIP)) {
    clip = CreateRectRgnIndirect(rect);
    if (clip != nullptr) SelectClipRgn(dc, clip);
  }
  auto drawLine = [&](const uint8_t* p, int n, int y) {
    int x = rect->left;
    const int w = measure(p, n);
    if (flags & DT_RIGHT) x = rect->right - w;
    else if (flags & DT_CENTER) x = rect->left + (rect->right - rect->left - w) / 2;
    if (updateCP) MoveToEx(dc, x, y, nullptr);
    HTextOut2(dc, x, y, reinterpret_cast<LPCSTR>(p), n);
  };
  if (flags & DT_SINGLELINE) {
    int y = rect->top;
    if ((flags & DT_VCENTER) && rect->bottom - rect->top > lineH) y = rect->top + (rect->bottom - rect->top - lineH) / 2;
    else if (flags & DT_BOTTOM) y = rect->bottom - lineH;
    drawLine(s, length, y);
  } else {
    const auto lines = kesta::hangul::layoutLines(s, length, rect->right - rect->left, wordBreak, measure);
    for (const auto& line : lines) drawLine(s + line.offset, line.length, rect->top + line.y * lineH);
  }
  if (clip != nullptr) DeleteObject(clip);
  return lineH;
}

QUILH32_API int WINAPI WTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  std::vector<char> copy;
  if (!convertedCopy(text, length, 6, copy)) return 0;
  return HTextOut(dc, x, y, copy.data(), static_cast<int>(copy.size()) - 1);
}

QUILH32_API int WINAPI WTextOut2(HDC dc, int x, int y, LPCSTR text, int length) {
  std::vector<char> copy;
  if (!convertedCopy(text, length, 8, copy)) return 0;
  return HTextOut2(dc, x, y, copy.data(), static_cast<int>(copy.size()) - 1);
}

QUILH32_API int WINAPI WDrawText(HDC dc, LPCSTR text, int length, RECT* rect, UINT flags) {
  std::vector<char> copy;
  if (!convertedCopy(text, length, 8, copy)) return 0;
  return HDrawText(dc, copy.data(), static_cast<int>(copy.size()) - 1, rect, flags);
}

QUILH32_API int WINAPI WExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, int length,
                                   const int* advances) {
  std::vector<char> copy;
  if (!convertedCopy(text, length, 8, copy)) return 0;
  return HExtTextOut(dc, x, y, options, rect, copy.data(), static_cast<int>(copy.size()) - 1, advances);
}
