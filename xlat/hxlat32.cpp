// HXLAT32.DLL: the Win32 face of the code converter.
//   ordinal 3  ConvertHangulCode(from, to, text): in place, never longer than
//              the input (capacity = input length + NUL); returns text
//   ordinal 4  ConvertHangulCodeEx(from, to, text, capacity): in place within
//              capacity bytes (NUL included); returns text
#include <windows.h>

#include <cstring>

#include "xlat/xlat.h"

extern "C" {

char* WINAPI ConvertHangulCode(int fromType, int toType, char* text) {
  if (text == nullptr) return nullptr;
  try {
    kesta::xlat::convertInPlace(fromType, toType, text, std::strlen(text) + 1);
  } catch (...) {
    // Nothing may cross the DLL boundary; the text stays as far as converted.
  }
  return text;
}

char* WINAPI ConvertHangulCodeEx(int fromType, int toType, char* text, UINT capacity) {
  if (text == nullptr) return nullptr;
  try {
    kesta::xlat::convertInPlace(fromType, toType, text, capacity);
  } catch (...) {
  }
  return text;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
