#include "app/shell/connection/win32_serial_port.h"

#include <cstdio>

#include "app/shell/connection/serial_device.h"

namespace kesta::shell {

namespace {
constexpr DWORD kIoWaitMs = 1000;
constexpr DWORD kQueueSize = 4096;
constexpr LPARAM kCommNotifyEvent = 4;  // CN_EVENT of the 16-bit notification

// Waits for an overlapped operation up to `ms`; on time-out the operation is
// cancelled and collected, so it cannot go on writing into the caller's
// buffer. Returns the bytes transferred.
DWORD finishOverlapped(HANDLE handle, OVERLAPPED& ov, DWORD ms) {
  DWORD done = 0;
  if (WaitForSingleObject(ov.hEvent, ms) != WAIT_OBJECT_0) CancelIo(handle);
  if (!GetOverlappedResult(handle, &ov, &done, TRUE)) return done;
  return done;
}
}  // namespace

SerialPort::SerialPort(HWND window, const SerialLine& line) : window_(window), line_(line) {
  postAllowed_ = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  write_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  read_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  usable_ = postAllowed_ && stop_ && write_.hEvent && read_.hEvent;
}

SerialPort::~SerialPort() {
  close();
  for (HANDLE* h : {&postAllowed_, &stop_, &write_.hEvent, &read_.hEvent}) {
    if (*h != nullptr) CloseHandle(*h);
    *h = nullptr;
  }
}

bool SerialPort::open() {
  if (!usable_) return false;
  if (connected_) return true;
  const std::string device = serialDeviceName(line_.port);
  handle_ = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  SetupComm(handle_, kQueueSize, kQueueSize);
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;  // a read returns at once with what is queued
  timeouts.WriteTotalTimeoutConstant = 5000;
  SetCommTimeouts(handle_, &timeouts);
  if (!setUpPort()) {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return false;
  }
  connected_ = 1;
  ResetEvent(stop_);
  SetEvent(postAllowed_);
  thread_ = CreateThread(nullptr, 0, readerMain, this, 0, nullptr);
  if (thread_ == nullptr) {
    connected_ = 0;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return false;
  }
  SetThreadPriority(thread_, THREAD_PRIORITY_BELOW_NORMAL);
  EscapeCommFunction(handle_, SETDTR);
  return true;
}

bool SerialPort::setUpPort() {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle_, &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(line_.baudRate);
  dcb.ByteSize = static_cast<BYTE>(line_.byteSize);
  dcb.Parity = static_cast<BYTE>(line_.parity);
  dcb.StopBits = static_cast<BYTE>(line_.stopBits);
  dcb.fBinary = TRUE;
  dcb.fParity = TRUE;
  const bool dsr = line_.flowControl & 1, cts = line_.flowControl & 2, xon = line_.flowControl & 4;
  dcb.fOutxDsrFlow = dsr;
  dcb.fDtrControl = dsr ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
  dcb.fOutxCtsFlow = cts;
  dcb.fRtsControl = cts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  dcb.fInX = dcb.fOutX = xon;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  dcb.XonLim = 100;
  dcb.XoffLim = 100;
  return SetCommState(handle_, &dcb) != 0;
}

DWORD WINAPI SerialPort::readerMain(LPVOID self) {
  static_cast<SerialPort*>(self)->readerLoop();
  return 0;
}

void SerialPort::readerLoop() {
  HANDLE waitEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (waitEvent == nullptr) {
    MessageBoxA(nullptr, "Failed to create event for thread!", "TTY Error!", MB_OK | MB_ICONWARNING);
    return;
  }
  // The thread asks for its own events: a port that refuses them has no
  // thread to wait on it.
  if (SetCommMask(handle_, EV_RXCHAR)) {
    ReaderBackOff backOff;
    while (connected_) {
      const WaitResult result = waitForCharacters(waitEvent);
      if (result == WaitResult::Stopped) break;
      if (result == WaitResult::Failed) {
        // A line that fails its waits (Wine's pseudo-terminals do so now and
        // then when idle, and every wait fails while events are off) is
        // asked again after a pause that grows, so it never spins.
        if (WaitForSingleObject(stop_, backOff.next()) == WAIT_OBJECT_0) break;
        continue;
      }
      backOff.reset();
      if (result == WaitResult::Other) continue;
      HANDLE events[2] = {postAllowed_, stop_};
      if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) break;
      if (!connected_) break;
      ResetEvent(postAllowed_);
      PostMessageA(window_, WM_COMMNOTIFY, reinterpret_cast<WPARAM>(handle_), kCommNotifyEvent);
    }
  }
  CloseHandle(waitEvent);
}

SerialPort::WaitResult SerialPort::waitForCharacters(HANDLE waitEvent) {
  OVERLAPPED& ov = readerWait_;
  ov = OVERLAPPED{};
  ov.hEvent = waitEvent;
  ResetEvent(waitEvent);
  readerMask_ = 0;
  if (!WaitCommEvent(handle_, &readerMask_, &ov)) {
    if (GetLastError() != ERROR_IO_PENDING) return WaitResult::Failed;
    HANDLE events[2] = {waitEvent, stop_};
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
      // Closing: the wait is cancelled and collected within a bound; the
      // record it writes into lives as long as the port.
      CancelIo(handle_);
      WaitForSingleObject(waitEvent, kIoWaitMs);
      return WaitResult::Stopped;
    }
    DWORD ignored = 0;
    if (!GetOverlappedResult(handle_, &ov, &ignored, FALSE)) return WaitResult::Failed;
  }
  return (readerMask_ & EV_RXCHAR) != 0 ? WaitResult::Characters : WaitResult::Other;
}

void SerialPort::stopReader() {
  if (thread_ == nullptr) return;
  SetEvent(stop_);
  if (suspended_) {
    ResumeThread(thread_);
    suspended_ = false;
  }
  SetCommMask(handle_, 0);  // ends a pending WaitCommEvent
  // Every wait of the thread also waits for the stop event, so it leaves
  // within about one I/O bound; it is never cut off.
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

void SerialPort::close() {
  if (!connected_ && handle_ == INVALID_HANDLE_VALUE) return;
  connected_ = 0;
  stopReader();
  if (handle_ != INVALID_HANDLE_VALUE) {
    EscapeCommFunction(handle_, CLRDTR);
    PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
}

int SerialPort::readBlock(char* buffer, int maximum, std::string& lineError) {
  if (handle_ == INVALID_HANDLE_VALUE || maximum <= 0) return 0;
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(handle_, &errors, &status)) return 0;
  if (errors != 0) {
    char text[32];
    std::snprintf(text, sizeof text, "<CE-%lu>", static_cast<unsigned long>(errors));
    lineError = text;
  }
  DWORD wanted = status.cbInQue < static_cast<DWORD>(maximum) ? status.cbInQue : static_cast<DWORD>(maximum);
  if (wanted == 0) return 0;
  ResetEvent(read_.hEvent);
  read_.Offset = read_.OffsetHigh = 0;
  DWORD done = 0;
  if (ReadFile(handle_, buffer, wanted, &done, &read_)) return static_cast<int>(done);
  if (GetLastError() != ERROR_IO_PENDING) return 0;
  return static_cast<int>(finishOverlapped(handle_, read_, kIoWaitMs));
}

void SerialPort::write(const char* bytes, std::size_t count) {
  while (handle_ != INVALID_HANDLE_VALUE && count > 0) {
    const DWORD piece = count > 0x10000 ? 0x10000 : static_cast<DWORD>(count);
    ResetEvent(write_.hEvent);
    write_.Offset = write_.OffsetHigh = 0;
    DWORD done = 0;
    if (!WriteFile(handle_, bytes, piece, &done, &write_)) {
      if (GetLastError() != ERROR_IO_PENDING) return;
      done = finishOverlapped(handle_, write_, kIoWaitMs);
    }
    if (done == 0) return;  // the line takes nothing: give up rather than spin
    bytes += done;
    count -= done;
  }
}

void SerialPort::allowNextNotification() {
  if (postAllowed_ != nullptr) SetEvent(postAllowed_);
}

void SerialPort::setCharacterEvents(bool on) {
  if (handle_ != INVALID_HANDLE_VALUE) SetCommMask(handle_, on ? EV_RXCHAR : 0);
}

void SerialPort::suspendReader() {
  if (thread_ != nullptr && !suspended_) {
    SuspendThread(thread_);
    suspended_ = true;
  }
}

void SerialPort::resumeReader() {
  if (thread_ != nullptr && suspended_) {
    ResumeThread(thread_);
    suspended_ = false;
  }
}

}  // namespace kesta::shell
