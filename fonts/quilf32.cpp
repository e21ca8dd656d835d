// The Win32 face of the font store: DLL exports over the neutral FontStore,
// modules loaded with LoadLibrary, QUILF32.CFG in the Windows directory
// under the named mutex "QUILF32MUTEX".
#define QUILF32_BUILD
#include "fonts/quilf32.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "fonts/builtin_fonts.h"
#include "fonts/font_list_file.h"
#include "fonts/font_store.h"

namespace {

using kesta::fonts::FontHeader;
using kesta::fonts::FontStore;

class Win32ModuleHost : public kesta::fonts::ModuleHost {
 public:
  void* load(const char* file) override { return LoadLibraryA(file); }
  void unload(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
  FontHeader* headerOf(void* module) override {
    using GetHeaderFn = FontHeader*(WINAPI*)();
    auto fn = reinterpret_cast<GetHeaderFn>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "GetQuilFontHeader")));
    return fn != nullptr ? fn() : nullptr;
  }
};

FontHeader g_builtins[kesta::fonts::kBuiltinFontCount];
Win32ModuleHost g_host;
FontStore* g_store = nullptr;
HANDLE g_mutex = nullptr;
UINT g_fontChangeMessage = 0;

std::string fontListPath() {
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string path(dir, n);
  if (path.back() != '\\') path += '\\';
  return path + kesta::fonts::kFontListFileName;
}

// Holds the named mutex for one read or write of the font list.
class FontListLock {
 public:
  explicit FontListLock(bool openExisting) {
    handle_ = openExisting ? OpenMutexA(SYNCHRONIZE, FALSE, kesta::fonts::kFontListMutexName)
                           : CreateMutexA(nullptr, FALSE, kesta::fonts::kFontListMutexName);
    if (handle_ != nullptr && WaitForSingleObject(handle_, INFINITE) == WAIT_OBJECT_0) held_ = true;
  }
  ~FontListLock() {
    if (held_) ReleaseMutex(handle_);
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  bool held() const { return held_; }

 private:
  HANDLE handle_ = nullptr;
  bool held_ = false;
};

bool writeAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

QUILF32_API WORD WINAPI GetQuilFontVersion(void) { return 0x0100; }

QUILF32_API QuilFontHeader* WINAPI SelectQuilFont(LPSTR face, QuilFontHeader* current, int kind) {
  return g_store != nullptr ? g_store->select(face, current, kind) : nullptr;
}

QUILF32_API int WINAPI HAddFontResource(LPCSTR file) {
  return g_store != nullptr ? g_store->addModule(file) : 0;
}

QUILF32_API int WINAPI HRemoveFontResource(LPCSTR file) {
  if (g_store == nullptr || file == nullptr || IsBadStringPtrA(file, kesta::fonts::kNameBytes + 1)) return 0;
  return g_store->dropReference(file);
}

QUILF32_API int WINAPI HEnumFonts(void* context, QuilFontEnumProc callback, LPARAM value, void* data) {
  if (g_store == nullptr || callback == nullptr) return 0;
  // The neutral store calls a plain function; carry the stdcall callback through.
  struct Carry {
    QuilFontEnumProc callback;
    void* context;
  } carry{callback, context};
  return g_store->enumerate(
      &carry,
      [](void* c, FontHeader* header, intptr_t v, void* d) -> int {
        auto* k = static_cast<Carry*>(c);
        return k->callback(k->context, header, static_cast<LPARAM>(v), d);
      },
      static_cast<intptr_t>(value), data);
}

QUILF32_API QuilFontHeader* WINAPI CreateQuilFont(LPSTR face, int flags) {
  return g_store != nullptr ? g_store->createCopy(face, static_cast<uint32_t>(flags)) : nullptr;
}

QUILF32_API int WINAPI DeleteQuilFont(QuilFontHeader* header) { return FontStore::deleteCopy(header); }

QUILF32_API UINT WINAPI GetHwmFontChange(void) { return g_fontChangeMessage; }

QUILF32_API void WINAPI UnloadFonts(void) {
  if (g_store != nullptr) g_store->unloadAll();
}

QUILF32_API int WINAPI WriteFontNameProc(void*, QuilFontHeader* header, LPARAM, HANDLE file) {
  if (header == nullptr) return 0;
  if (header->module == nullptr) return 1;
  char record[kesta::fonts::kFontListRecordBytes] = {};
  std::memcpy(record, header->fileName, strnlen(header->fileName, sizeof record - 1));
  return writeAll(file, record, sizeof record) ? 1 : 0;
}

QUILF32_API void WINAPI ReadFontLists(void) {
  const std::string path = fontListPath();
  if (path.empty()) return;
  FontListLock lock(false);
  if (!lock.held()) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  uint8_t preamble[kesta::fonts::kFontListPreambleBytes];
  DWORD got = 0;
  if (ReadFile(file, preamble, sizeof preamble, &got, nullptr) && got == sizeof preamble &&
      kesta::fonts::fontListHeaderMatches(preamble)) {
    uint8_t record[kesta::fonts::kFontListRecordBytes];
    while (ReadFile(file, record, sizeof record, &got, nullptr) && got == sizeof record) {
      std::string name = kesta::fonts::fontListRecordName(record);
      if (!name.empty()) HAddFontResource(name.c_str());
    }
  }
  CloseHandle(file);
}

namespace {
int WINAPI writeRecord(void* context, QuilFontHeader* header, LPARAM value, void* file) {
  return WriteFontNameProc(context, header, value, static_cast<HANDLE>(file));
}
}  // namespace

QUILF32_API void WINAPI WriteFontLists(void) {
  const std::string path = fontListPath();
  if (path.empty() || g_store == nullptr) return;
  FontListLock lock(true);
  if (!lock.held()) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::vector<uint8_t> preamble = kesta::fonts::buildFontList({});
  if (writeAll(file, preamble.data(), static_cast<DWORD>(preamble.size()))) {
    HEnumFonts(nullptr, writeRecord, 0, file);
  }
  CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      kesta::fonts::makeBuiltinHeaders(g_builtins);
      g_store = new (std::nothrow) FontStore(g_builtins, g_host);
      if (g_store == nullptr) return FALSE;
      g_fontChangeMessage = RegisterWindowMessageA("HWM_FONTCHANGE");
      if (g_fontChangeMessage == 0) return FALSE;
      g_mutex = CreateMutexA(nullptr, FALSE, kesta::fonts::kFontListMutexName);
      ReadFontLists();
      break;
    case DLL_PROCESS_DETACH:
      if (g_mutex != nullptr) CloseHandle(g_mutex);
      g_mutex = nullptr;
      UnloadFonts();
      delete g_store;
      g_store = nullptr;
      break;
    default:
      break;
  }
  return TRUE;
}
