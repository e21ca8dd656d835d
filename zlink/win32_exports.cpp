// ZLINK32.DLL: load and unload, and the four transfer exports. The exports
// leave the stack to their callers and are named in zlink32.def.
#include <cstring>

#include "zlink/win32_channels.h"
#include "zlink/win32_meter.h"
#include "zlink/win32_session.h"

using namespace kesta::zlink;

namespace {

// Copies text into a fixed field; false when it does not fit.
bool copyPath(char (&field)[256], const char* text) {
  field[0] = '\0';
  if (!text) return false;
  size_t length = std::strlen(text);
  if (length >= sizeof field) return false;
  std::memcpy(field, text, length + 1);
  return true;
}

// The exports' fourth argument names the code of the host's file names:
// 9 for UTF-8, and the path given is UTF-8 too; anything else (the program
// has always passed 0) keeps names and paths in the ANSI code page.
constexpr int kUtf8NameCode = 9;

int runSerial(HWND owner, HANDLE port, const char* path, int direction, int nameCode) {
  TransferSession& s = library().session;
  if (library().running.load()) return 0;  // one session at a time
  library().utf8Names = nameCode == kUtf8NameCode;
  s.telnetMode = 0;
  s.socket = INVALID_SOCKET;
  s.direction = direction;
  bool fits = copyPath(direction == kDirectionSend ? s.filePath : s.directory, path);
  // A path that does not fit leaves no connection: the dialog says
  // "Error in Initializing..." and waits for Cancel.
  s.connection = fits ? port : nullptr;
  s.writeRequest.Offset = s.writeRequest.OffsetHigh = 0;
  s.readRequest.Offset = s.readRequest.OffsetHigh = 0;
  return runProgressDialog(owner);
}

int runTelnet(HWND owner, UINT_PTR socket, const char* path, int direction, int nameCode) {
  Library& lib = library();
  TransferSession& s = lib.session;
  if (lib.running.load()) return 0;
  lib.utf8Names = nameCode == kUtf8NameCode;
  lib.lastOwner = owner;
  s.telnetMode = 1;
  s.direction = direction;
  bool fits = copyPath(direction == kDirectionSend ? s.filePath : s.directory, path);
  s.socket = fits ? static_cast<SOCKET>(socket) : INVALID_SOCKET;
  s.connection = kTelnetMarker;
  static const uint8_t kBinaryOn[] = {kTelnetIac, kTelnetDo, kTelnetBinary, kTelnetIac, kTelnetWill, kTelnetBinary};
  static const uint8_t kBinaryOff[] = {kTelnetIac, kTelnetDont, kTelnetBinary};
  SOCKET raw = static_cast<SOCKET>(socket);
  sendRaw(raw, kBinaryOn, sizeof kBinaryOn);
  int result = runProgressDialog(owner);
  sendRaw(raw, kBinaryOff, sizeof kBinaryOff);
  return result;
}

}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl wsz32(HWND owner, HANDLE port, const char* file, int nameCode) {
  return runSerial(owner, port, file, kDirectionSend, nameCode);
}

__declspec(dllexport) int __cdecl wrz32(HWND owner, HANDLE port, const char* directory, int nameCode) {
  return runSerial(owner, port, directory, kDirectionReceive, nameCode);
}

__declspec(dllexport) int __cdecl wsz32s(HWND owner, UINT_PTR socket, const char* file, int nameCode) {
  return runTelnet(owner, socket, file, kDirectionSend, nameCode);
}

__declspec(dllexport) int __cdecl wrz32s(HWND owner, UINT_PTR socket, const char* directory, int nameCode) {
  return runTelnet(owner, socket, directory, kDirectionReceive, nameCode);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      library().instance = instance;
      library().elapsedSeconds = 0;
      registerMeterClass(instance);
      buildSession();
      break;
    case DLL_PROCESS_DETACH:
      unregisterMeterClass(instance);
      tearDownSession();
      break;
  }
  return TRUE;
}

}  // extern "C"
