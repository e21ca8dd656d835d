// The registry of windows and device contexts, font selection into records,
// the library's start and end, and process attach and detach.
#include "hangul/win32_registry.h"

#include <cstring>
#include <new>

namespace quilh32 {
namespace {

CRITICAL_SECTION g_registryLock;
CRITICAL_SECTION g_menuLock;
HRegistration* g_head = nullptr;
int g_startCount = 0;
HANDLE g_hanjaFile = INVALID_HANDLE_VALUE;
int g_tabSize = 8;

struct Lock {
  Lock() { EnterCriticalSection(&g_registryLock); }
  ~Lock() { LeaveCriticalSection(&g_registryLock); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

struct SlotInfo {
  int kind;
  const char* defaultFace;
  const char* fallbackFace;
  bool hasBuffer;
};

SlotInfo infoOf(Slot slot) {
  switch (slot) {
    case Slot::Hangul: return {1, "InternalMyungjo", "InternalGothic", true};
    case Slot::English: return {2, "InternalRoman", "InternalMokraGothic", true};
    case Slot::Special: return {3, "KSSpecial", "KSSpecial", false};
    case Slot::Kssm: return {4, "KSSMSpecial", "KSSMSpecial", false};
  }
  return {1, "InternalMyungjo", "InternalGothic", true};
}

void copyFace(char* to, const char* from) {
  size_t n = 0;
  while (n + 1 < kFaceChars && from[n] != 0) ++n;
  std::memcpy(to, from, n);
  to[n] = 0;
}

// Installs `header` in the slot: a new cell bitmap and buffer in its cell size.
int install(FontSlot& s, QuilFontHeader* header, const char* face, bool hasBuffer) {
  s.syllables.clear();  // even for the same header: its glyphs may have been changed in place
  if (header == s.header && s.cellBitmap != nullptr) return 1;
  const int w = header->cellWidth, h = header->cellHeight;
  if (w <= 0 || h <= 0 || w % 8 != 0 || w > 64 || h > 64) return 0;
  HBITMAP bitmap = CreateBitmap(w, h, 1, 1, nullptr);
  if (bitmap == nullptr) return 0;
  try {
    s.cell.reset(w, h);
  } catch (const std::bad_alloc&) {
    DeleteObject(bitmap);
    return 0;
  }
  (void)hasBuffer;  // every slot keeps one cell of rows: symbols are widened like the rest
  if (s.cellBitmap != nullptr) DeleteObject(s.cellBitmap);
  s.cellBitmap = bitmap;
  s.header = header;
  copyFace(s.face, face);
  return 1;
}

void freeRecord(HRegistration* r, bool destroyMenuBitmaps) {
  for (FontSlot* s : {&r->hangul, &r->english, &r->special, &r->kssm})
    if (s->cellBitmap != nullptr) DeleteObject(s->cellBitmap);
  if (r->hanjaBitmap != nullptr) DeleteObject(r->hanjaBitmap);
  if (r->memoryDC != nullptr) DeleteDC(r->memoryDC);
  if (r->staging != nullptr) DeleteObject(r->staging);
  if (destroyMenuBitmaps)
    for (int i = 0; i < r->menuBitmapCount; ++i) DeleteObject(r->menuBitmaps[i]);
  delete[] r->menuBitmaps;
  delete r;
}

void push(HRegistration* r) {
  Lock lock;
  r->next = g_head;
  g_head = r;
}

}  // namespace

HANDLE libraryHanjaFile() { return g_hanjaFile; }
int tabSize() { return g_tabSize; }
void setTabSize(int size) { g_tabSize = size; }
CRITICAL_SECTION& menuLock() { return g_menuLock; }

FontSlot& slotOf(HRegistration* r, Slot slot) {
  switch (slot) {
    case Slot::English: return r->english;
    case Slot::Special: return r->special;
    case Slot::Kssm: return r->kssm;
    case Slot::Hangul: break;
  }
  return r->hangul;
}

HRegistration* findWindow(HWND window) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  Lock lock;
  for (HRegistration* r = g_head; r != nullptr; r = r->next)
    if (r->window == window) return r;
  return nullptr;
}

HRegistration* findDC(HDC dc) {
  if (dc == nullptr) return nullptr;
  Lock lock;
  for (HRegistration* r = g_head; r != nullptr; r = r->next)
    if (r->dc == dc) return r;
  return nullptr;
}

// Lets go of one reference to the module behind `header`: the store releases
// the current header of a select, and an empty face selects nothing.
void dropReference(QuilFontHeader* header) {
  char none[1] = "";
  SelectQuilFont(none, header, header->kind);
}

// Puts `header` into the slot. `referenced`: the caller took a reference for
// it, which the slot now holds (or which is dropped when the slot cannot
// take the header); the slot's previous reference goes.
int place(FontSlot& s, QuilFontHeader* header, bool referenced, const char* face, bool hasBuffer) {
  QuilFontHeader* old = s.header;
  const bool oldReferenced = s.holdsReference;
  if (install(s, header, face, hasBuffer) == 0) {
    if (referenced) dropReference(header);
    return 0;
  }
  copyFace(s.face, face);
  s.holdsReference = referenced;
  if (old != nullptr && oldReferenced) dropReference(old);
  return 1;
}

int selectByName(HRegistration* r, Slot slot, const char* face) {
  const SlotInfo info = infoOf(slot);
  // SelectQuilFont upper-cases the name it is given: hand it a copy.
  char asked[kFaceChars];
  copyFace(asked, face);
  char lookup[kFaceChars];
  copyFace(lookup, face);
  QuilFontHeader* header = SelectQuilFont(lookup, nullptr, info.kind);
  int result = 1;
  if (header == nullptr) {
    copyFace(lookup, info.fallbackFace);
    header = SelectQuilFont(lookup, nullptr, info.kind);
    result = 0;
  }
  if (header == nullptr) return 0;
  return place(slotOf(r, slot), header, true, asked, info.hasBuffer) != 0 ? result : 0;
}

// A header handed in takes a reference like a select by name when it is the
// store's own entry for its face; a caller's private copy takes none.
int selectByHeader(HRegistration* r, Slot slot, QuilFontHeader* header) {
  if (header == nullptr) return 0;
  const SlotInfo info = infoOf(slot);
  char lookup[kFaceChars];
  copyFace(lookup, header->faceName);
  QuilFontHeader* entry = SelectQuilFont(lookup, nullptr, header->kind);
  const bool referenced = entry == header;
  if (entry != nullptr && !referenced) dropReference(entry);
  return place(slotOf(r, slot), header, referenced, header->faceName, info.hasBuffer);
}

void releaseFonts(HRegistration* r) {
  for (Slot slot : {Slot::Hangul, Slot::English, Slot::Special, Slot::Kssm}) {
    FontSlot& s = slotOf(r, slot);
    if (s.header != nullptr && s.holdsReference) dropReference(s.header);
    s.holdsReference = false;
  }
}

int selectHanja(HRegistration* r, HANDLE file, int width, int height) {
  if (file == nullptr) {
    file = g_hanjaFile;
    width = height = 16;
  }
  if (width <= 0 || height <= 0 || width % 8 != 0 || width > 64 || height > 64) return 0;
  HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
  if (bitmap == nullptr) return 0;
  if (r->hanjaBitmap != nullptr) DeleteObject(r->hanjaBitmap);
  r->hanjaBitmap = bitmap;
  r->hanjaCell.reset(width, height);
  r->hanjaFile = file;
  r->hanjaWidth = width;
  r->hanjaHeight = height;
  return 1;
}

HRegistration* registerNew(HWND window, HDC dc, bool* allFound) {
  auto* r = new (std::nothrow) HRegistration;
  if (r == nullptr) return nullptr;
  r->window = window;
  r->dc = dc;
  bool all = true;
  for (Slot slot : {Slot::Hangul, Slot::English, Slot::Kssm, Slot::Special})
    if (selectByName(r, slot, infoOf(slot).defaultFace) == 0) all = false;
  selectHanja(r, nullptr, 16, 16);
  if (allFound != nullptr) *allFound = all;
  push(r);
  return r;
}

HRegistration* registerCopy(HDC dc, const HRegistration& from) {
  auto* r = new (std::nothrow) HRegistration;
  if (r == nullptr) return nullptr;
  r->dc = dc;
  for (Slot slot : {Slot::Hangul, Slot::English, Slot::Special, Slot::Kssm}) {
    QuilFontHeader* h = slotOf(const_cast<HRegistration*>(&from), slot).header;
    if (h != nullptr) selectByHeader(r, slot, h);
    else selectByName(r, slot, infoOf(slot).defaultFace);
  }
  selectHanja(r, nullptr, 16, 16);
  push(r);
  return r;
}

void unregister(HRegistration* r) {
  releaseFonts(r);
  {
    Lock lock;
    for (HRegistration** p = &g_head; *p != nullptr; p = &(*p)->next)
      if (*p == r) {
        *p = r->next;
        break;
      }
  }
  freeRecord(r, false);
}

bool takeDCSlot(HRegistration* r, HDC dc) {
  Lock lock;
  if (r->dc != nullptr) return false;
  r->dc = dc;
  return true;
}

void clearDCSlot(HRegistration* r) {
  Lock lock;
  r->dc = nullptr;
}

kesta::hangul::CellWidths cellWidths(const HRegistration& r) {
  kesta::hangul::CellWidths w;
  w.hangul = r.hangul.header != nullptr ? r.hangul.header->cellWidth : 16;
  w.english = r.english.header != nullptr ? r.english.header->cellWidth : 8;
  w.special = r.special.header != nullptr ? r.special.header->cellWidth : 16;
  w.kssm = r.kssm.header != nullptr ? r.kssm.header->cellWidth : 16;
  w.hanja = r.hanjaWidth;
  return w;
}

}  // namespace quilh32

using namespace quilh32;

QUILH32_API int WINAPI InitHangulLib(void) {
  if (g_startCount++ == 0) {
    char path[MAX_PATH + 16];
    const UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
      std::strcpy(path + n, "\\HANJA.FNT");
      g_hanjaFile = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
  }
  return 1;
}

QUILH32_API void WINAPI DestroyHangulLib(void) {
  if (g_startCount <= 0) return;
  if (--g_startCount != 0) return;
  if (g_hanjaFile != nullptr && g_hanjaFile != INVALID_HANDLE_VALUE) CloseHandle(g_hanjaFile);
  g_hanjaFile = INVALID_HANDLE_VALUE;
  UnloadFonts();
  HRegistration* list;
  {
    Lock lock;
    list = g_head;
    g_head = nullptr;
  }
  while (list != nullptr) {
    HRegistration* next = list->next;
    freeRecord(list, true);
    list = next;
  }
}

QUILH32_API int WINAPI RegisterWindow(HWND window) {
  if (window == nullptr) return 0;
  bool all = false;
  return registerNew(window, nullptr, &all) != nullptr && all ? 1 : 0;
}

QUILH32_API int WINAPI RegisterDC(HDC dc) {
  if (dc == nullptr) return 0;
  bool all = false;
  return registerNew(nullptr, dc, &all) != nullptr && all ? 1 : 0;
}

QUILH32_API int WINAPI RegisterDCWithWindow(HWND window, HDC dc) {
  if (window == nullptr) return RegisterDC(dc);
  HRegistration* r = findWindow(window);
  if (r == nullptr || dc == nullptr) return 0;
  if (takeDCSlot(r, dc)) return 1;
  return registerCopy(dc, *r) != nullptr ? 1 : 0;
}

QUILH32_API int WINAPI UnregisterWindow(HWND window) {
  HRegistration* r = findWindow(window);
  if (r == nullptr) return 0;
  unregister(r);
  return 1;
}

QUILH32_API int WINAPI UnregisterDC(HDC dc) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  unregister(r);
  return 1;
}

QUILH32_API int WINAPI UnregisterDCWithWindow(HWND, HDC dc) {
  HRegistration* r = findDC(dc);
  if (r == nullptr) return 0;
  if (r->window != nullptr && IsWindow(r->window)) clearDCSlot(r);
  else unregister(r);
  return 1;
}

namespace {

int selectFont(HRegistration* r, Slot slot, LPCSTR face, QuilFontHeader* header) {
  if (r == nullptr) return 0;
  if (face != nullptr && selectByName(r, slot, face) != 0) return 1;
  if (header != nullptr) return selectByHeader(r, slot, header);
  return 0;
}

// The symbol forms for DCs: by name only without a header, by header only without a name.
int selectSymbolObject(HRegistration* r, Slot slot, LPCSTR face, QuilFontHeader* header) {
  if (r == nullptr) return 0;
  if (face != nullptr && header == nullptr) return selectByName(r, slot, face);
  if (face == nullptr && header != nullptr) return selectByHeader(r, slot, header);
  return 0;
}

int copyFaceOut(const FontSlot& s, int size, LPSTR buffer) {
  if (buffer == nullptr || size <= 0) return 0;
  int n = 0;
  while (n < size - 1 && s.face[n] != 0) ++n;
  std::memcpy(buffer, s.face, n);
  buffer[n] = 0;
  return n;
}

}  // namespace

QUILH32_API int WINAPI SelectHangul(HWND w, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findWindow(w), Slot::Hangul, f, h);
}
QUILH32_API int WINAPI HSelectHangulObject(HDC d, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findDC(d), Slot::Hangul, f, h);
}
QUILH32_API int WINAPI SelectEnglish(HWND w, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findWindow(w), Slot::English, f, h);
}
QUILH32_API int WINAPI HSelectEnglishObject(HDC d, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findDC(d), Slot::English, f, h);
}
QUILH32_API int WINAPI SelectSpecial(HWND w, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findWindow(w), Slot::Special, f, h);
}
QUILH32_API int WINAPI HSelectSpecialObject(HDC d, LPCSTR f, QuilFontHeader* h) {
  return selectSymbolObject(findDC(d), Slot::Special, f, h);
}
QUILH32_API int WINAPI SelectKSSMSpecial(HWND w, LPCSTR f, QuilFontHeader* h) {
  return selectFont(findWindow(w), Slot::Kssm, f, h);
}
QUILH32_API int WINAPI HSelectKSSMSpecialObject(HDC d, LPCSTR f, QuilFontHeader* h) {
  return selectSymbolObject(findDC(d), Slot::Kssm, f, h);
}
QUILH32_API int WINAPI SelectHanja(HWND w, HANDLE file, int cw, int ch) {
  HRegistration* r = findWindow(w);
  return r != nullptr ? selectHanja(r, file, cw, ch) : 0;
}
QUILH32_API int WINAPI HSelectHanjaObject(HDC d, HANDLE file, int cw, int ch) {
  HRegistration* r = findDC(d);
  return r != nullptr ? selectHanja(r, file, cw, ch) : 0;
}
QUILH32_API int WINAPI HGetTextFace(HDC d, int size, LPSTR buffer) {
  HRegistration* r = findDC(d);
  return r != nullptr ? copyFaceOut(r->hangul, size, buffer) : 0;
}
QUILH32_API int WINAPI HGetSpecialTextFace(HDC d, int size, LPSTR buffer) {
  HRegistration* r = findDC(d);
  return r != nullptr ? copyFaceOut(r->special, size, buffer) : 0;
}
QUILH32_API int WINAPI HGetKSSMSpecialTextFace(HDC d, int size, LPSTR buffer) {
  HRegistration* r = findDC(d);
  return r != nullptr ? copyFaceOut(r->kssm, size, buffer) : 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeCriticalSection(&g_registryLock);
    InitializeCriticalSection(&g_menuLock);
  } else if (reason == DLL_PROCESS_DETACH) {
    DeleteCriticalSection(&g_menuLock);
    DeleteCriticalSection(&g_registryLock);
  }
  return TRUE;
}
