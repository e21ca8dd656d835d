// The telnet connection's socket: opened with a blocking connect, then
// read through Winsock notifications to the main window. Data bytes go out
// with 255 doubled; negotiation replies go out as they are.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::shell {

// The main window's socket notification.
inline constexpr UINT kSocketMessage = WM_USER + 5;

class TelnetSocket {
 public:
  ~TelnetSocket() { close(); }

  // Connects to `host` (a dotted address or a name) on `port` and asks for
  // FD_READ and FD_CLOSE notifications to `window`. On any failure the
  // socket is closed and Winsock use ended.
  bool open(const std::string& host, int port, HWND window);
  void close();
  bool isOpen() const { return socket_ != INVALID_SOCKET; }
  SOCKET socket() const { return socket_; }

  // What one FD_READ gives: data, the end of the connection, or nothing yet.
  enum class ReadResult { Data, Closed, Nothing };
  ReadResult receive(char* buffer, int capacity, int& count);

  std::size_t sendData(std::string_view data);  // 255 doubled
  std::size_t sendRaw(std::string_view bytes);

  // Around a transfer the notifications stop; afterwards they start again.
  void pauseNotifications();
  void resumeNotifications();

 private:
  SOCKET socket_ = INVALID_SOCKET;
  bool winsockStarted_ = false;
  HWND window_ = nullptr;
};

}  // namespace kesta::shell
