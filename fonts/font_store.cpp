#include "fonts/font_store.h"

#include <cstring>
#include <memory>
#include <new>

#include "fonts/effects.h"
#include "fonts/composer.h"
#include "fonts/name_key.h"

namespace kesta::fonts {
namespace {

bool endsInside(const char* field, size_t bytes) { return std::memchr(field, 0, bytes) != nullptr; }

// The highest set number a composition table picks in each part.
bool tableFits(const uint8_t* table, const FontHeader& h) {
  for (int i = 0; i < 22; ++i) {
    if ((table[i] & 15) >= h.initialSets || (table[i] >> 4) >= h.initialSets) return false;
    if ((table[22 + i] & 15) >= h.medialSets || (table[22 + i] >> 4) >= h.medialSets) return false;
    if (table[44 + i] >= h.finalSets) return false;
  }
  return true;
}

}  // namespace

int glyphCountOfKind(int kind) {
  switch (kind) {
    case kKindEnglish: return 256;
    case kKindSpecial: return 128;
    case kKindKssmSpecial: return 1053;
    default: return 0;
  }
}

int setGlyphCount(const FontHeader& h) { return h.finalSets * 27 + h.initialSets * 19 + h.medialSets * 21; }

bool isUsableModuleHeader(const FontHeader& h, const char* registeredFile) {
  if (!endsInside(h.fileName, kNameBytes) || !endsInside(h.faceName, kNameBytes) ||
      !endsInside(h.description, kDescriptionBytes))
    return false;
  if (h.kind < kKindHangul || h.kind > kKindKssmSpecial) return false;
  if (h.cellWidth <= 0 || h.cellWidth > 64 || h.cellWidth % 8 != 0 || h.cellHeight <= 0 || h.cellHeight > 64)
    return false;
  if (h.glyphBytes != h.cellWidth / 8 * h.cellHeight || h.glyphs == nullptr) return false;
  if (h.underlineRise < 0 || 2 * h.underlineRise > h.glyphBytes) return false;
  if (h.kind == kKindHangul) {
    if (h.initialSets == 0 || h.medialSets == 0 || h.finalSets == 0) return false;
    if (h.initialSets > 16 || h.medialSets > 16 || h.finalSets > 16) return false;
    if (h.composedFlag < 0 || h.composedFlag > 3) return false;
    const uint8_t* table =
        h.composedFlag == 3 ? h.compositionTable : hangul::builtinCompositionTable(h.composedFlag);
    if (table == nullptr || !tableFits(table, h)) return false;
  }
  if (registeredFile == nullptr || !namesEqualNoCase(h.fileName, kNameBytes, registeredFile, kNameBytes + 1))
    return false;
  return true;
}

FontStore::FontStore(FontHeader* builtins, ModuleHost& host) : builtins_(builtins), host_(host) {
  for (int i = 0; i < kBuiltinFontCount; ++i) entries_.push_back(&builtins_[i]);
}

int FontStore::lastIndex() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(entries_.size()) - 1;
}

FontHeader* FontStore::at(int index) const {
  std::lock_guard guard(lock_);
  return index >= 0 && index < static_cast<int>(entries_.size()) ? entries_[index] : nullptr;
}

int FontStore::findLocked(const char* name, int start, bool byFile) const {
  const int32_t key = nameKey(name, kNameBytes + 1);
  const int count = static_cast<int>(entries_.size());
  for (int i = start < 0 ? 0 : start; i < count; ++i) {
    const FontHeader* h = entries_[i];
    if (h == nullptr) continue;
    const char* entryName = byFile ? h->fileName : h->faceName;
    const int32_t entryKey = byFile ? h->fileNameKey : h->faceNameKey;
    if (entryKey == key && namesEqualNoCase(entryName, kNameBytes, name, kNameBytes + 1)) return i;
  }
  return count;
}

int FontStore::findFile(const char* file, int start) const {
  std::lock_guard guard(lock_);
  return findLocked(file, start, true);
}

int FontStore::findFace(const char* face, int start) const {
  std::lock_guard guard(lock_);
  return findLocked(face, start, false);
}

void FontStore::dropLocked(const char* file) {
  const int index = findLocked(file, kBuiltinFontCount, true);
  if (index >= static_cast<int>(entries_.size())) return;
  FontHeader* h = entries_[index];
  void* module = h->module;
  if (--h->referenceCount <= 0) entries_.erase(entries_.begin() + index);
  host_.unload(module);
}

FontHeader* FontStore::select(char* face, FontHeader* current, int kind) {
  if (face == nullptr) return nullptr;
  const int32_t key = upperCaseAndKey(face, kNameBytes + 1);
  std::lock_guard guard(lock_);
  if (current != nullptr && current->module != nullptr) dropLocked(current->fileName);
  for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
    FontHeader* h = entries_[i];
    if (h == nullptr || h->kind != kind || h->faceNameKey != key ||
        !namesEqualNoCase(h->faceName, kNameBytes, face, kNameBytes + 1))
      continue;
    if (i < kBuiltinFontCount) return h;
    if (host_.load(h->fileName) == nullptr) return nullptr;
    ++h->referenceCount;
    return h;
  }
  return nullptr;
}

int FontStore::addModule(const char* file) {
  if (file == nullptr || std::memchr(file, 0, kNameBytes) == nullptr || file[0] == 0) return 0;
  void* module = host_.load(file);
  if (module == nullptr) return 0;
  std::lock_guard guard(lock_);
  if (findLocked(file, kBuiltinFontCount, true) < static_cast<int>(entries_.size())) {
    host_.unload(module);  // the entry already holds its own load
    return 1;
  }
  FontHeader* h = host_.headerOf(module);
  if (h == nullptr || !isUsableModuleHeader(*h, file)) {
    host_.unload(module);
    return 0;
  }
  h->fileNameKey = nameKey(h->fileName, kNameBytes);
  h->faceNameKey = nameKey(h->faceName, kNameBytes);
  try {
    entries_.push_back(h);
  } catch (const std::bad_alloc&) {
    host_.unload(module);
    return 0;
  }
  h->module = module;
  ++h->referenceCount;
  return 1;
}

int FontStore::dropReference(const char* file) {
  if (file == nullptr || std::memchr(file, 0, kNameBytes + 1) == nullptr) return 0;
  std::lock_guard guard(lock_);
  dropLocked(file);
  return 1;
}

int FontStore::enumerate(void* context, EnumerateFn callback, intptr_t value, void* data) {
  if (callback == nullptr) return 0;
  std::lock_guard guard(lock_);
  int result = 1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    result = callback(context, entries_[i], value, data);
    if (result == 0) break;
  }
  return result;
}

FontHeader* FontStore::createCopy(char* face, uint32_t flags) {
  if (face == nullptr) return nullptr;
  upperCaseAndKey(face, kNameBytes + 1);
  std::lock_guard guard(lock_);
  const int index = findLocked(face, 0, false);
  if (index >= static_cast<int>(entries_.size()) || entries_[index] == nullptr) return nullptr;
  const FontHeader& found = *entries_[index];
  std::unique_ptr<FontHeader> copy(new (std::nothrow) FontHeader(found));
  if (!copy) return nullptr;
  const size_t bytes = static_cast<size_t>(setGlyphCount(found)) * (found.cellWidth / 8) * found.cellHeight;
  // At least one byte, so that a font without sets still gets a (empty) block.
  std::unique_ptr<uint8_t[]> glyphs(new (std::nothrow) uint8_t[bytes == 0 ? 1 : bytes]());
  if (!glyphs) return nullptr;
  if (bytes != 0 && found.glyphs != nullptr) std::memcpy(glyphs.get(), found.glyphs, bytes);
  applyEffects({glyphs.get(), bytes}, found.glyphBytes, found.underlineRise, flags);
  copy->glyphs = glyphs.release();
  copy->module = nullptr;
  std::memset(copy->fileName, 0, sizeof copy->fileName);
  std::memset(copy->faceName, 0, sizeof copy->faceName);
  copy->fileNameKey = 0;
  copy->faceNameKey = 0;
  return copy.release();
}

int FontStore::deleteCopy(FontHeader* copy) {
  if (copy == nullptr || copy->glyphs == nullptr) return 0;
  delete[] copy->glyphs;
  delete copy;
  return 1;
}

void FontStore::unloadAll() {
  std::lock_guard guard(lock_);
  for (size_t i = kBuiltinFontCount; i < entries_.size(); ++i) {
    // The header lives inside the module: finish with it before the last unload.
    FontHeader* h = entries_[i];
    void* module = h->module;
    const int references = h->referenceCount;
    h->referenceCount = 0;
    for (int n = references; n > 0; --n) host_.unload(module);
  }
  entries_.resize(kBuiltinFontCount);
}

std::vector<std::string> FontStore::moduleFiles() const {
  std::lock_guard guard(lock_);
  std::vector<std::string> files;
  for (const FontHeader* h : entries_)
    if (h != nullptr && h->module != nullptr) files.emplace_back(h->fileName, strnlen(h->fileName, kNameBytes));
  return files;
}

}  // namespace kesta::fonts
