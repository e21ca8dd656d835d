#include "app/shell/window/win32_crash_report.h"

#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace kesta::shell {
namespace {

constexpr int kMostFrames = 48;

// "C:\kesta\QUILH32.dll+0x1a2b", or the bare address outside every module.
void describeAddress(DWORD64 address, char* text, size_t size) {
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(address)), &module) &&
      GetModuleFileNameA(module, name, sizeof name) != 0) {
    std::snprintf(text, size, "%s+0x%llx", name,
                  static_cast<unsigned long long>(address - reinterpret_cast<ULONG_PTR>(module)));
  } else {
    std::snprintf(text, size, "0x%llx", static_cast<unsigned long long>(address));
  }
}

void writeLine(HANDLE file, const char* text) {
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  WriteFile(file, "\r\n", 2, &written, nullptr);
}

HANDLE openReport() {
  char path[MAX_PATH + 32];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return INVALID_HANDLE_VALUE;
  char* slash = std::strrchr(path, '\\');
  std::strcpy(slash != nullptr ? slash + 1 : path, "kesta10.crash.txt");
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  return file;
}

void writeStack(HANDLE file, const CONTEXT& crashed) {
  CONTEXT context = crashed;  // StackWalk64 changes what it walks
  STACKFRAME64 frame{};
#if defined(_M_X64) || defined(__x86_64__)
  const DWORD machine = IMAGE_FILE_MACHINE_AMD64;
  frame.AddrPC.Offset = context.Rip;
  frame.AddrFrame.Offset = context.Rbp;
  frame.AddrStack.Offset = context.Rsp;
#else
  const DWORD machine = IMAGE_FILE_MACHINE_I386;
  frame.AddrPC.Offset = context.Eip;
  frame.AddrFrame.Offset = context.Ebp;
  frame.AddrStack.Offset = context.Esp;
#endif
  frame.AddrPC.Mode = frame.AddrFrame.Mode = frame.AddrStack.Mode = AddrModeFlat;
  HANDLE process = GetCurrentProcess();
  const bool symbols = SymInitialize(process, nullptr, TRUE) != FALSE;
  char line[MAX_PATH + 64];
  char where[MAX_PATH + 32];
  for (int i = 0; i < kMostFrames; ++i) {
    if (!StackWalk64(machine, process, GetCurrentThread(), &frame, &context, nullptr,
                     symbols ? SymFunctionTableAccess64 : nullptr, symbols ? SymGetModuleBase64 : nullptr,
                     nullptr) ||
        frame.AddrPC.Offset == 0) {
      break;
    }
    describeAddress(frame.AddrPC.Offset, where, sizeof where);
    std::snprintf(line, sizeof line, "  #%d %s", i, where);
    writeLine(file, line);
  }
  if (symbols) SymCleanup(process);
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
  HANDLE file = openReport();
  if (file == INVALID_HANDLE_VALUE) return EXCEPTION_CONTINUE_SEARCH;
  char line[MAX_PATH + 128];
  char where[MAX_PATH + 32];
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  describeAddress(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress), where, sizeof where);
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "";
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
  std::snprintf(line, sizeof line, "%s exception 0x%08lx at %s (thread %lu)", stamp,
                static_cast<unsigned long>(record.ExceptionCode), where,
                static_cast<unsigned long>(GetCurrentThreadId()));
  writeLine(file, line);
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    std::snprintf(line, sizeof line, "  %s of address 0x%llx",
                  record.ExceptionInformation[0] == 0 ? "read" : record.ExceptionInformation[0] == 1 ? "write"
                                                                                                  : "execution",
                  static_cast<unsigned long long>(record.ExceptionInformation[1]));
    writeLine(file, line);
  }
  writeStack(file, *exception->ContextRecord);
  CloseHandle(file);
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void installCrashReport() { SetUnhandledExceptionFilter(reportCrash); }

}  // namespace kesta::shell
