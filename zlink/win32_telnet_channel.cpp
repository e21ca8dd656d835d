#include <cstring>

#include "zlink/win32_channels.h"

namespace kesta::zlink {

namespace {

// Waits at most waitMs until the socket can be read (or written).
bool ready(SOCKET s, bool forWrite, int waitMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{waitMs / 1000, (waitMs % 1000) * 1000};
  int n = forWrite ? select(0, nullptr, &set, nullptr, &tv) : select(0, &set, nullptr, nullptr, &tv);
  return n > 0;
}

}  // namespace

bool sendRaw(SOCKET socket, const uint8_t* data, size_t size) {
  while (size > 0) {
    // The watchdog: a send that cannot start within 5 seconds ends the write.
    if (!ready(socket, true, TelnetChannel::kWatchdogMs)) return false;
    int chunk = size > 0x10000 ? 0x10000 : static_cast<int>(size);
    int n = send(socket, reinterpret_cast<const char*>(data), chunk, 0);
    if (n == SOCKET_ERROR) {
      if (WSAGetLastError() == WSAEWOULDBLOCK) continue;  // counts as 0 bytes
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

TelnetChannel::TelnetChannel(SOCKET socket) : BufferedChannel(kBufferSize), socket_(socket) {
  // A socket that once had window notifications is non-blocking already;
  // make every socket so, so that no call can block past the watchdog.
  u_long on = 1;
  ioctlsocket(socket_, FIONBIO, &on);
}

long TelnetChannel::readBlock(int waitMs) {
  if (!ready(socket_, false, waitMs < 0 ? 0 : waitMs)) return -1;
  std::vector<uint8_t>& buffer = block();
  int n = recv(socket_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
  if (n == 0) {
    markClosed();
    return -1;
  }
  if (n == SOCKET_ERROR) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) markClosed();
    return -1;
  }
  return static_cast<long>(decoder_.decode(buffer.data(), static_cast<size_t>(n)));
}

bool TelnetChannel::write(const uint8_t* data, size_t size) {
  // Encoded into a buffer of this call: the dialog's thread writes the
  // abort sequence while the session thread may be writing too.
  std::vector<uint8_t> encoded;
  telnetEncode(data, size, encoded);
  return sendRaw(socket_, encoded.data(), encoded.size());
}

}  // namespace kesta::zlink
