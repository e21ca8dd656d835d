#include "zlink/win32_channels.h"

namespace kesta::zlink {

namespace {
constexpr DWORD kWriteWaitMs = 5000;
constexpr DWORD kReadWaitMs = 4000;
constexpr DWORD kPollMs = 2;  // how often an idle port is asked for bytes
}  // namespace

int SerialChannel::queued() {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!ClearCommError(port_, &errors, &stat)) return -1;
  return static_cast<int>(stat.cbInQue);
}

int SerialChannel::readQueued(uint8_t* buffer, int max) {
  int n = queued();
  if (n < 0) return kClosed;
  if (n == 0) return 0;
  if (n > max) n = max;
  ResetEvent(read_->hEvent);
  read_->Offset = read_->OffsetHigh = 0;
  DWORD got = 0;
  if (!ReadFile(port_, buffer, static_cast<DWORD>(n), &got, read_)) {
    if (GetLastError() != ERROR_IO_PENDING) return kClosed;
    if (WaitForSingleObject(read_->hEvent, kReadWaitMs) != WAIT_OBJECT_0) {
      CancelIo(port_);
      GetOverlappedResult(port_, read_, &got, TRUE);
      return static_cast<int>(got);
    }
    if (!GetOverlappedResult(port_, read_, &got, FALSE)) return kClosed;
  }
  return static_cast<int>(got);
}

int SerialChannel::readSome(uint8_t* buffer, int max, int waitMs) {
  if (max <= 0) return 0;
  if (port_ == nullptr) return kClosed;
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs < 0 ? 0 : waitMs);
  for (;;) {
    int n = readQueued(buffer, max);
    if (n > 0) carrier_.heard(buffer, static_cast<size_t>(n), GetTickCount64());
    if (n != 0) return n;
    ULONGLONG now = GetTickCount64();
    // A modem that said "NO CARRIER" and fell silent has lost the call.
    if (now >= deadline) return carrier_.dropped(now) ? kClosed : kNoByte;
    DWORD left = static_cast<DWORD>(deadline - now);
    Sleep(left < kPollMs ? left : kPollMs);
  }
}

int SerialChannel::readByte(int waitMs) {
  uint8_t b;
  int n = readSome(&b, 1, waitMs);
  return n > 0 ? b : n;
}

bool SerialChannel::write(const uint8_t* data, size_t size) {
  if (port_ == nullptr) return true;  // nothing to write to
  while (size > 0) {
    DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
    ResetEvent(write_->hEvent);
    DWORD done = 0;
    if (!WriteFile(port_, data, chunk, &done, write_)) {
      if (GetLastError() != ERROR_IO_PENDING) return false;
      if (WaitForSingleObject(write_->hEvent, kWriteWaitMs) != WAIT_OBJECT_0) {
        CancelIo(port_);
        GetOverlappedResult(port_, write_, &done, TRUE);
        return false;
      }
      if (!GetOverlappedResult(port_, write_, &done, FALSE)) return false;
    }
    if (done == 0) return false;
    write_->Offset += done;
    data += done;
    size -= done;
  }
  return true;
}

void SerialChannel::discardInput() {
  if (port_) PurgeComm(port_, PURGE_RXCLEAR | PURGE_RXABORT);
}

void SerialChannel::discardOutput() {
  if (port_) PurgeComm(port_, PURGE_TXCLEAR | PURGE_TXABORT);
}

}  // namespace kesta::zlink
