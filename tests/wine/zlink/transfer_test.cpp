// The transfer exports against lrzsz: over TCP on 127.0.0.1 through a relay
// that speaks the telnet byte rules, and over COM ports that Wine maps to
// socat pseudo-terminals. run_transfer_test.sh starts the peers, passes
// their ports and paths in the environment and checks the files afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/wine/zlink/zlink32_library.h"

#include <tlhelp32.h>

namespace kesta::zlink::test {
namespace {

constexpr char kDialogTitle[] = "Zmodem for Kesta Kesta";

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

struct Winsock {
  Winsock() {
    WSADATA data;
    ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~Winsock() {
    if (ok) WSACleanup();
  }
  bool ok;
};

SOCKET connectTo(const std::string& port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(std::atoi(port.c_str())));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

int threadsOfThisProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  int n = 0;
  DWORD self = GetCurrentProcessId();
  for (BOOL more = Thread32First(snap, &t); more; more = Thread32Next(snap, &t)) {
    if (t.th32OwnerProcessID == self) ++n;
  }
  CloseHandle(snap);
  return n;
}

struct FindDialog {
  HWND found = nullptr;
  static BOOL CALLBACK visit(HWND w, LPARAM p) {
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    if (std::string(title) == kDialogTitle) {
      reinterpret_cast<FindDialog*>(p)->found = w;
      return FALSE;
    }
    return TRUE;
  }
};

// Presses Cancel (command 2) once the dialog shows bytes of the file moving.
class CancelWhenDataFlows {
 public:
  explicit CancelWhenDataFlows(DWORD dialogThread)
      : worker_([this, dialogThread] { run(dialogThread); }) {}
  ~CancelWhenDataFlows() {
    stop_ = true;
    worker_.join();
  }
  bool pressed() const { return pressed_; }
  std::chrono::steady_clock::time_point pressedAt() const { return pressedAt_; }

 private:
  void run(DWORD dialogThread) {
    for (int i = 0; i < 3000 && !stop_; ++i) {  // at most 30 s
      FindDialog find;
      EnumThreadWindows(dialogThread, FindDialog::visit, reinterpret_cast<LPARAM>(&find));
      if (find.found) {
        char text[64] = {};
        GetDlgItemTextA(find.found, 1012, text, sizeof text);
        long done = std::atol(text);
        if (done > 0) {
          pressedAt_ = std::chrono::steady_clock::now();
          PostMessageA(find.found, WM_COMMAND, 2, 0);
          pressed_ = true;
          return;
        }
      }
      Sleep(10);
    }
  }
  std::atomic<bool> stop_{false};
  std::atomic<bool> pressed_{false};
  std::chrono::steady_clock::time_point pressedAt_;
  std::thread worker_;
};

TEST(Zlink32Telnet, ReceivesFilesFromSzAndReturnsOne) {
  std::string port = env("ZL_RECEIVE_PORT"), dir = env("ZL_DOWNLOAD_DIR");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Winsock ws;
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  SOCKET s = connectTo(port);
  ASSERT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(lib.wrz32s(nullptr, s, dir.c_str(), 0), 1);
  closesocket(s);
}

TEST(Zlink32Telnet, SendsFileToRzAndReturnsOne) {
  std::string port = env("ZL_SEND_PORT"), file = env("ZL_SEND_FILE");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Winsock ws;
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  SOCKET s = connectTo(port);
  ASSERT_NE(s, INVALID_SOCKET);
  EXPECT_EQ(lib.wsz32s(nullptr, s, file.c_str(), 0), 1);
  closesocket(s);
}

TEST(Zlink32Telnet, CancelReturnsZeroPromptlyAndUnloadLeavesNoThread) {
  std::string port = env("ZL_CANCEL_PORT"), dir = env("ZL_CANCEL_DIR");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Winsock ws;
  int threadsBefore = threadsOfThisProcess();
  auto lib = std::make_unique<Zlink32>();
  ASSERT_TRUE(lib->complete());
  SOCKET s = connectTo(port);
  ASSERT_NE(s, INVALID_SOCKET);
  int result;
  std::chrono::steady_clock::time_point returned;
  {
    CancelWhenDataFlows cancel(GetCurrentThreadId());
    result = lib->wrz32s(nullptr, s, dir.c_str(), 0);
    returned = std::chrono::steady_clock::now();
    ASSERT_TRUE(cancel.pressed());
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(returned - cancel.pressedAt()).count();
    EXPECT_LT(ms, 3000) << "Cancel took " << ms << " ms";
  }
  EXPECT_EQ(result, 0);
  lib.reset();  // unloads during the cancelled transfer
  closesocket(s);
  int threadsAfter = threadsBefore;
  for (int i = 0; i < 100; ++i) {  // Wine may end its own helpers a little later
    threadsAfter = threadsOfThisProcess();
    if (threadsAfter <= threadsBefore) break;
    Sleep(20);
  }
  EXPECT_LE(threadsAfter, threadsBefore);
}

HANDLE openPort(const std::string& name) {
  return CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED, nullptr);
}

TEST(Zlink32Serial, ReceivesFilesFromSzOverComPort) {
  std::string port = env("ZL_SERIAL_RECEIVE_PORT"), dir = env("ZL_SERIAL_DOWNLOAD_DIR");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  HANDLE h = openPort(port);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  EXPECT_EQ(lib.wrz32(nullptr, reinterpret_cast<UINT_PTR>(h), dir.c_str(), 0), 1);
  CloseHandle(h);
}

TEST(Zlink32Serial, SendsFileToRzOverComPort) {
  std::string port = env("ZL_SERIAL_SEND_PORT"), file = env("ZL_SEND_FILE");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  HANDLE h = openPort(port);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  EXPECT_EQ(lib.wsz32(nullptr, reinterpret_cast<UINT_PTR>(h), file.c_str(), 0), 1);
  CloseHandle(h);
}

// The script's peer logs what it receives: the abort must carry the ZCAN
// frames, not only the CAN bytes.
TEST(Zlink32Serial, CancelWhileSendingReturnsZeroPromptly) {
  std::string port = env("ZL_SERIAL_CANCEL_PORT"), file = env("ZL_BIG_FILE");
  if (port.empty()) GTEST_SKIP() << "run through run_transfer_test.sh";
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  HANDLE h = openPort(port);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  CancelWhenDataFlows cancel(GetCurrentThreadId());
  EXPECT_EQ(lib.wsz32(nullptr, reinterpret_cast<UINT_PTR>(h), file.c_str(), 0), 0);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  cancel.pressedAt()).count();
  EXPECT_TRUE(cancel.pressed());
  EXPECT_LT(ms, 5000) << "Cancel took " << ms << " ms";
  CloseHandle(h);
}

}  // namespace
}  // namespace kesta::zlink::test
