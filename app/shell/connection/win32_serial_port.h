// The serial port of the main window: opened for overlapped I/O, with a
// reader thread that only waits for received characters and posts
// WM_COMMNOTIFY; the main window's thread does every read and write. At most
// one notification is outstanding: the thread posts only after the window
// has drained the previous one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace kesta::shell {

// The pause before a failed wait for characters is tried again: 10 ms,
// doubling up to half a second, back to 10 ms after a wait that worked.
class ReaderBackOff {
 public:
  DWORD next() {
    const DWORD pause = pause_;
    pause_ = pause_ * 2 > kLongest ? kLongest : pause_ * 2;
    return pause;
  }
  void reset() { pause_ = kShortest; }

 private:
  static constexpr DWORD kShortest = 10, kLongest = 500;
  DWORD pause_ = kShortest;
};

struct SerialLine {
  int port = 4;          // 1-9 opens "COM1" to "COM9"; 10 and above the telnet device
  int baudRate = 38400;
  int byteSize = 8;
  int parity = NOPARITY;
  int stopBits = ONESTOPBIT;
  int flowControl = 2;   // bit 0 DSR/DTR, bit 1 CTS/RTS, bit 2 XON/XOFF
};

class SerialPort {
 public:
  SerialPort(HWND window, const SerialLine& line);
  ~SerialPort();  // closes the connection and the events
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // False when one of the events could not be made.
  bool usable() const { return usable_; }
  bool open();
  void close();
  bool connected() const { return connected_; }
  HANDLE handle() const { return handle_; }
  const SerialLine& line() const { return line_; }

  // At most `maximum` bytes waiting in the input queue; a line error is
  // reported once as "<CE-n>" in `lineError`.
  int readBlock(char* buffer, int maximum, std::string& lineError);
  void write(const char* bytes, std::size_t count);

  // The window finished a drain: the thread may post again.
  void allowNextNotification();
  // Reading paused around the passed-screen view or a selection: no
  // received-character events while off.
  void setCharacterEvents(bool on);
  // Around a transfer the reader thread stands still.
  void suspendReader();
  void resumeReader();

 private:
  enum class WaitResult { Characters, Other, Failed, Stopped };
  static DWORD WINAPI readerMain(LPVOID self);
  void readerLoop();
  WaitResult waitForCharacters(HANDLE waitEvent);
  bool setUpPort();
  void stopReader();

  HWND window_;
  SerialLine line_;
  bool usable_ = false;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  volatile LONG connected_ = 0;
  HANDLE postAllowed_ = nullptr;  // manual reset, starts signalled
  HANDLE stop_ = nullptr;         // manual reset: the reader leaves its waits
  HANDLE thread_ = nullptr;
  bool suspended_ = false;
  OVERLAPPED write_{};
  OVERLAPPED read_{};
  OVERLAPPED readerWait_{};  // the reader thread's wait, kept until the port is gone
  DWORD readerMask_ = 0;
};

}  // namespace kesta::shell
