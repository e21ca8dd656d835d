// The main window's serial port under Wine, on a pseudo-terminal that
// run_serial_test.py links as COM8: the line settings as the port state
// reads them back, reading in blocks, and closing while the reader thread
// waits (also while its every wait fails).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "app/shell/connection/win32_serial_port.h"

namespace kesta::shell {
namespace {

int portNumber() {
  const char* port = std::getenv("SERIAL_TEST_PORT");
  return port ? std::atoi(port) : 0;
}

struct Window {
  HWND handle = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ~Window() { DestroyWindow(handle); }
};

// Waits for the reader thread's notification; true when it came.
bool notified(HWND window, DWORD ms) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < ms) {
    if (PeekMessageA(&message, window, WM_COMMNOTIFY, WM_COMMNOTIFY, PM_REMOVE)) return true;
    Sleep(10);
  }
  return false;
}

TEST(SerialPort, LineSettingsReachThePortState) {
  const int port = portNumber();
  if (port == 0) GTEST_SKIP() << "run through run_serial_test.py";
  Window window;
  struct Case {
    SerialLine line;
  } cases[] = {
      {{port, 38400, 8, NOPARITY, ONESTOPBIT, 2}},
      {{port, 9600, 7, EVENPARITY, TWOSTOPBITS, 0}},
      {{port, 2400, 7, ODDPARITY, ONESTOPBIT, 4}},
      {{port, 19200, 8, NOPARITY, TWOSTOPBITS, 6}},
  };
  for (const Case& c : cases) {
    SerialPort serial(window.handle, c.line);
    ASSERT_TRUE(serial.usable());
    ASSERT_TRUE(serial.open()) << c.line.baudRate;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(serial.handle(), &dcb));
    // A pseudo-terminal keeps no byte size or parity (Linux forces 8 bits
    // without parity on it) and Wine reads no RTS or DTR mode back: what
    // it keeps is checked.
    const bool cts = c.line.flowControl & 2, xon = c.line.flowControl & 4;
    EXPECT_EQ(dcb.BaudRate, static_cast<DWORD>(c.line.baudRate));
    EXPECT_EQ(dcb.StopBits, c.line.stopBits) << c.line.baudRate;
    EXPECT_EQ(dcb.fOutxCtsFlow != 0, cts) << c.line.baudRate;
    EXPECT_EQ(dcb.fInX != 0, xon) << c.line.baudRate;
    EXPECT_EQ(dcb.fOutX != 0, xon) << c.line.baudRate;
    EXPECT_EQ(dcb.XonChar, 17);
    EXPECT_EQ(dcb.XoffChar, 19);
  }
}

TEST(SerialPort, ReadsInBlocksAndClosesPromptlyWhileTheReaderWaits) {
  const int port = portNumber();
  if (port == 0) GTEST_SKIP() << "run through run_serial_test.py";
  Window window;
  SerialPort serial(window.handle, SerialLine{port, 38400, 8, NOPARITY, ONESTOPBIT, 0});
  ASSERT_TRUE(serial.open());
  const std::string ask = "SEND200\r";  // the peer answers with bytes 0..199
  serial.write(ask.data(), ask.size());
  ASSERT_TRUE(notified(window.handle, 5000)) << "no WM_COMMNOTIFY for the peer's bytes";
  Sleep(300);  // all 200 are queued
  std::string got, lineError;
  int counts[4] = {};
  char buffer[81];
  for (int& count : counts) {
    count = serial.readBlock(buffer, 80, lineError);
    got.append(buffer, count > 0 ? count : 0);
  }
  EXPECT_EQ(counts[0], 80);
  EXPECT_EQ(counts[1], 80);
  EXPECT_EQ(counts[2], 40);
  EXPECT_EQ(counts[3], 0);
  std::string want;
  for (int i = 0; i < 200; ++i) want += static_cast<char>(i);
  EXPECT_EQ(got, want);
  EXPECT_EQ(lineError, "");
  serial.allowNextNotification();

  // Events off: every wait of the reader fails; it must neither spin nor
  // keep the close waiting.
  serial.setCharacterEvents(false);
  Sleep(500);
  for (bool eventsOn : {false, true}) {
    if (eventsOn) {
      serial.setCharacterEvents(true);
      Sleep(300);
    }
    const auto start = std::chrono::steady_clock::now();
    serial.close();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 1500) << "closing took " << ms << " ms";
    EXPECT_FALSE(serial.connected());
    if (!eventsOn) ASSERT_TRUE(serial.open());
  }
}

}  // namespace
}  // namespace kesta::shell
