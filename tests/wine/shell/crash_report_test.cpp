// A crash writes kesta10.crash.txt beside the program: a child copy of this
// test installs the report and writes through a null pointer.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/shell/window/win32_crash_report.h"

namespace {

std::string ownPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string reportPath() {
  std::string path = ownPath();
  return path.substr(0, path.find_last_of('\\') + 1) + "kesta10.crash.txt";
}

__attribute__((noinline)) void writeThroughNull(volatile int* where) { *where = 42; }

LPTOP_LEVEL_EXCEPTION_FILTER report = nullptr;

// The report, then the end of the child without the system's debugger or
// crash dialog (which would wait for a click).
LONG WINAPI reportAndEnd(EXCEPTION_POINTERS* exception) {
  report(exception);
  return EXCEPTION_EXECUTE_HANDLER;
}

int crashChild() {
  kesta::shell::installCrashReport();
  report = SetUnhandledExceptionFilter(reportAndEnd);
  writeThroughNull(nullptr);
  return 0;
}

DWORD runChild() {
  std::string command = "\"" + ownPath() + "\" crash";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0xffffffff;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST(CrashReport, ACrashLeavesTheExceptionAndTheStackBesideTheProgram) {
  DeleteFileA(reportPath().c_str());
  EXPECT_EQ(runChild(), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  std::ifstream file(reportPath());
  ASSERT_TRUE(file.good()) << "no " << reportPath();
  std::stringstream text;
  text << file.rdbuf();
  const std::string report = text.str();
  EXPECT_NE(report.find("exception 0xc0000005 at "), std::string::npos) << report;
  EXPECT_NE(report.find("write of address 0x0"), std::string::npos) << report;
  // The faulting place and the frames are named by module and offset.
  const std::string exe = ownPath().substr(ownPath().find_last_of('\\') + 1);
  EXPECT_NE(report.find(exe + "+0x"), std::string::npos) << report;
  EXPECT_NE(report.find("  #1 "), std::string::npos) << "a stack of one frame only: " << report;
  DeleteFileA(reportPath().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "crash") return crashChild();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
