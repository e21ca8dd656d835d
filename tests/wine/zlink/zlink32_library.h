// Loads ZLINK32.DLL by name and finds its four exports by name, as the
// program does for every transfer.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace kesta::zlink::test {

using TransferExport = int(__cdecl*)(HWND, UINT_PTR, const char*, int);

struct Zlink32 {
  Zlink32() {
    module = LoadLibraryA("ZLINK32.DLL");
    if (!module) return;
    wsz32 = find("wsz32");
    wrz32 = find("wrz32");
    wsz32s = find("wsz32s");
    wrz32s = find("wrz32s");
  }
  ~Zlink32() { unload(); }
  void unload() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }
  bool complete() const { return module && wsz32 && wrz32 && wsz32s && wrz32s; }
  TransferExport find(const char* name) {
    return reinterpret_cast<TransferExport>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  HMODULE module = nullptr;
  TransferExport wsz32 = nullptr;
  TransferExport wrz32 = nullptr;
  TransferExport wsz32s = nullptr;
  TransferExport wrz32s = nullptr;
};

}  // namespace kesta::zlink::test
