// The per-process store of fonts: the eleven built-in fonts at indices 0-10
// and, from 11 on, the headers of added font modules in the order they were
// added. Platform-neutral: loading and unloading modules goes through a
// ModuleHost, which the DLL implements with LoadLibrary and the tests fake.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "fonts/font_header.h"

namespace kesta::fonts {

inline constexpr int kBuiltinFontCount = 11;

class ModuleHost {
 public:
  virtual ~ModuleHost() = default;
  // Loads (or loads once more) the module; null on failure.
  virtual void* load(const char* file) = 0;
  virtual void unload(void* module) = 0;
  // The module's "GetQuilFontHeader" result; null when it has none.
  virtual FontHeader* headerOf(void* module) = 0;
};

// Whether a module's header may be used: names and description end inside
// their fields, a known kind, a usable cell, glyph bytes matching the cell,
// glyphs present, set counts and composition table consistent, and the file
// name is the one being registered.
bool isUsableModuleHeader(const FontHeader& header, const char* registeredFile);

// Called by enumerate() for every entry in order; returns non-zero to go on.
using EnumerateFn = int (*)(void* context, FontHeader* header, intptr_t value, void* data);

class FontStore {
 public:
  // `builtins` points at kBuiltinFontCount headers that outlive the store.
  FontStore(FontHeader* builtins, ModuleHost& host);
  FontStore(const FontStore&) = delete;
  FontStore& operator=(const FontStore&) = delete;

  int lastIndex() const;
  FontHeader* at(int index) const;  // null outside 0..lastIndex

  // First index from `start` whose file (face) name matches, else lastIndex + 1.
  int findFile(const char* file, int start) const;
  int findFace(const char* face, int start) const;

  // SelectQuilFont: upper-cases `face` in place, releases `current`, returns
  // the first entry of `kind` with that face name (a module entry loaded
  // once more), or null.
  FontHeader* select(char* face, FontHeader* current, int kind);
  // HAddFontResource: 1 when the module is registered (or already was).
  int addModule(const char* file);
  // Drops one reference to the module registered under `file`; 1 when the
  // name is a string of at most 260 characters, else 0.
  int dropReference(const char* file);
  // HEnumFonts: the last callback result (0 when the callback stopped the walk).
  int enumerate(void* context, EnumerateFn callback, intptr_t value, void* data);
  // CreateQuilFont: a private copy of the face (any kind) with `flags`
  // effects applied to its glyphs, or null. Upper-cases `face`.
  FontHeader* createCopy(char* face, uint32_t flags);
  // DeleteQuilFont: 1 when freed, 0 for a null header or glyph pointer.
  static int deleteCopy(FontHeader* copy);
  // UnloadFonts: every module unloaded as often as its reference count
  // says; the store keeps only the built-in fonts.
  void unloadAll();
  // File names of the module entries, in store order (for QUILF32.CFG).
  std::vector<std::string> moduleFiles() const;

  std::recursive_mutex& lock() { return lock_; }

 private:
  int findLocked(const char* name, int start, bool byFile) const;
  void dropLocked(const char* file);

  FontHeader* builtins_;
  ModuleHost& host_;
  std::vector<FontHeader*> entries_;
  mutable std::recursive_mutex lock_;
};

}  // namespace kesta::fonts
