// Sending data on a telnet socket: a data byte 255 goes out doubled, and a
// send that takes only part of the bytes, or would block, goes on with the
// rest until a time bound, so nothing typed is lost to a full buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::shell {

// The data with every 255 (IAC) doubled.
std::string escapeTelnetData(std::string_view data);

class SendPort {
 public:
  static constexpr long kWouldBlock = -1;
  static constexpr long kFailed = -2;
  virtual ~SendPort() = default;
  // Bytes taken (at least 1), kWouldBlock, or kFailed.
  virtual long trySend(const char* bytes, std::size_t count) = 0;
  // Waits until the socket may take more or `milliseconds` have passed.
  virtual void waitWritable(int milliseconds) = 0;
  // A monotonic clock in milliseconds.
  virtual long long nowMilliseconds() = 0;
};

// Sends every byte unless the socket fails or `timeoutMilliseconds` pass
// without it taking the rest; returns how many bytes went out.
std::size_t sendWithin(SendPort& port, std::string_view bytes, int timeoutMilliseconds);

}  // namespace kesta::shell
