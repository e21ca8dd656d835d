#include "app/shell/connection/win32_telnet.h"

#include <ws2tcpip.h>

#include "app/shell/connection/telnet_send.h"

namespace kesta::shell {

namespace {
constexpr long kEvents = FD_READ | FD_CLOSE;
constexpr int kSendTimeoutMs = 5000;

class SocketPort : public SendPort {
 public:
  explicit SocketPort(SOCKET s) : socket_(s) {}
  long trySend(const char* bytes, std::size_t count) override {
    const int piece = count > 0x10000 ? 0x10000 : static_cast<int>(count);
    const int sent = ::send(socket_, bytes, piece, 0);
    if (sent > 0) return sent;
    if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return kWouldBlock;
    return kFailed;
  }
  void waitWritable(int milliseconds) override {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket_, &writable);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    select(0, nullptr, &writable, nullptr, &limit);
  }
  long long nowMilliseconds() override { return static_cast<long long>(GetTickCount64()); }

 private:
  SOCKET socket_;
};
}  // namespace

bool TelnetSocket::open(const std::string& host, int port, HWND window) {
  close();
  WSADATA data{};
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
  winsockStarted_ = true;
  if (LOBYTE(data.wVersion) != 1 || HIBYTE(data.wVersion) != 1) {
    close();
    return false;
  }
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket_ == INVALID_SOCKET) {
    close();
    return false;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = inet_addr(host.c_str());
  if (address.sin_addr.s_addr == INADDR_NONE) {
    hostent* found = gethostbyname(host.c_str());
    if (found == nullptr || found->h_addr_list == nullptr || found->h_addr_list[0] == nullptr ||
        found->h_length != static_cast<int>(sizeof address.sin_addr)) {
      close();
      return false;
    }
    memcpy(&address.sin_addr, found->h_addr_list[0], sizeof address.sin_addr);
  }
  if (connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
    close();
    return false;
  }
  window_ = window;
  if (WSAAsyncSelect(socket_, window, kSocketMessage, kEvents) == SOCKET_ERROR) {
    close();
    return false;
  }
  return true;
}

void TelnetSocket::close() {
  if (socket_ != INVALID_SOCKET) {
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
  if (winsockStarted_) {
    WSACleanup();
    winsockStarted_ = false;
  }
}

TelnetSocket::ReadResult TelnetSocket::receive(char* buffer, int capacity, int& count) {
  count = 0;
  if (socket_ == INVALID_SOCKET) return ReadResult::Nothing;
  const int got = recv(socket_, buffer, capacity, 0);
  if (got > 0) {
    count = got;
    return ReadResult::Data;
  }
  if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return ReadResult::Nothing;
  return ReadResult::Closed;
}

std::size_t TelnetSocket::sendRaw(std::string_view bytes) {
  if (socket_ == INVALID_SOCKET) return 0;
  SocketPort port(socket_);
  return sendWithin(port, bytes, kSendTimeoutMs);
}

std::size_t TelnetSocket::sendData(std::string_view data) {
  const std::string escaped = escapeTelnetData(data);
  const std::size_t sent = sendRaw(escaped);
  // Report in the caller's bytes: every doubled 255 counts once.
  return sent == escaped.size() ? data.size() : sent * data.size() / (escaped.empty() ? 1 : escaped.size());
}

void TelnetSocket::pauseNotifications() {
  if (socket_ != INVALID_SOCKET) WSAAsyncSelect(socket_, window_, 0, 0);
}

void TelnetSocket::resumeNotifications() {
  if (socket_ == INVALID_SOCKET) return;
  WSAAsyncSelect(socket_, window_, kSocketMessage, kEvents);
  // A close that came while notifications were off (a host that died during
  // a transfer) is not posted again: one read finds it, or finds nothing.
  PostMessageA(window_, kSocketMessage, static_cast<WPARAM>(socket_), WSAMAKESELECTREPLY(FD_READ, 0));
}

}  // namespace kesta::shell
