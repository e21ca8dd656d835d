// Inside QUILH32: the registration records of windows and device contexts,
// the registry lock, library state and font selection into a record.
#pragma once

#include <windows.h>

#include <vector>

#include "hangul/quilh32.h"
#include "hangul/text_layout.h"

namespace quilh32 {

inline constexpr int kFaceChars = 260;

// One registered font of a record: header, face name as asked for, cell
// bitmap (and, for Hangul and English, the row buffer of one cell).
struct FontSlot {
  QuilFontHeader* header = nullptr;
  bool holdsReference = false;  // one reference to the header's module is ours
  char face[kFaceChars] = {};
  HBITMAP cellBitmap = nullptr;
  kesta::hangul::GlyphCell cell;
  kesta::hangul::SyllableCache syllables;  // Hangul: syllables composed with the header
};

struct HRegistration {
  HRegistration* next = nullptr;
  HDC dc = nullptr;
  HWND window = nullptr;
  HBITMAP* menuBitmaps = nullptr;
  int menuBitmapCount = 0;
  FontSlot hangul;
  HAutomataState automaton{};
  HANDLE hanjaFile = nullptr;
  int hanjaWidth = 16;
  int hanjaHeight = 16;
  HBITMAP hanjaBitmap = nullptr;
  kesta::hangul::GlyphCell hanjaCell;
  FontSlot special;
  FontSlot kssm;
  FontSlot english;
  // The memory DC glyphs are copied from, the bitmap one run of text is
  // composed into on colour targets (pixels, or a one-bit mask), and the
  // table that colours its pixels, kept from call to call (drawing only).
  HDC memoryDC = nullptr;
  HBITMAP staging = nullptr;
  void* stagingBits = nullptr;
  int stagingHeight = 0, stagingDepth = 0;  // rows, bits a pixel
  bool stagingSelected = false;             // into the memory DC
  HGDIOBJ memoryDefault = nullptr;          // the memory DC's bitmap before any of ours
  kesta::hangul::InkExpander expander;
  std::vector<kesta::hangul::TextCell> cells;  // the cells of the string being drawn
  std::vector<uint8_t> runMask;                 // transparent runs: the ink, one bit a pixel
  // The DIB section last drawn into directly, and whether its rows lie
  // bottom-up in memory.
  HGDIOBJ probedBitmap = nullptr;
  void* probedBits = nullptr;
  bool probedBottomUp = false;
};

enum class Slot { Hangul, English, Special, Kssm };

// Library state.
HANDLE libraryHanjaFile();
int tabSize();
void setTabSize(int size);
CRITICAL_SECTION& menuLock();

// Lookups under the registry lock: the newest record of a live window, or
// the record whose device-context field is the DC.
HRegistration* findWindow(HWND window);
HRegistration* findDC(HDC dc);

// A new record with the default fonts, pushed on the registry. `allFound`
// is false when a fallback font had to be used.
HRegistration* registerNew(HWND window, HDC dc, bool* allFound);
// A new DC record with the fonts of `from`, by header (the Hanja setting is not copied).
HRegistration* registerCopy(HDC dc, const HRegistration& from);
void unregister(HRegistration* record);
// Sets the window record's DC slot under the lock; false when it was taken.
bool takeDCSlot(HRegistration* record, HDC dc);
void clearDCSlot(HRegistration* record);

// Font selection into a record: 1, or 0 on fallback or failure.
int selectByName(HRegistration* record, Slot slot, const char* face);
int selectByHeader(HRegistration* record, Slot slot, QuilFontHeader* header);
int selectHanja(HRegistration* record, HANDLE file, int width, int height);

FontSlot& slotOf(HRegistration* record, Slot slot);

// The record's cell widths for layout.
kesta::hangul::CellWidths cellWidths(const HRegistration& record);

}  // namespace quilh32
