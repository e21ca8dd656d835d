#include "zlink/fd_channel.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace kesta::zlink {

namespace {
constexpr size_t kBufferSize = 32768;
constexpr size_t kMostDiscarded = 4 * kBufferSize;  // never drain a fast peer for ever
}  // namespace

FdChannel::FdChannel(int readFd, int writeFd, bool telnet)
    : BufferedChannel(kBufferSize), readFd_(readFd), writeFd_(writeFd), telnet_(telnet) {}

long FdChannel::readBlock(int waitMs) {
  pollfd p{readFd_, POLLIN, 0};
  int ready = ::poll(&p, 1, waitMs);
  if (ready <= 0) return -1;
  std::vector<uint8_t>& buffer = block();
  ssize_t n;
  do {
    n = ::read(readFd_, buffer.data(), buffer.size());
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) markClosed();
    return -1;
  }
  size_t size = static_cast<size_t>(n);
  if (telnet_) size = decoder_.decode(buffer.data(), size);
  return static_cast<long>(size);
}

bool FdChannel::write(const uint8_t* data, size_t size) {
  if (telnet_) {
    encoded_.clear();
    telnetEncode(data, size, encoded_);
    data = encoded_.data();
    size = encoded_.size();
  }
  // Measured on a clock: a socket with a send time-out may itself block in write().
  auto lastProgress = std::chrono::steady_clock::now();
  while (size > 0) {
    ssize_t n = ::write(writeFd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        if (std::chrono::steady_clock::now() - lastProgress >= std::chrono::milliseconds(writeLimitMs_)) return false;
        pollfd p{writeFd_, POLLOUT, 0};
        ::poll(&p, 1, 100);
        continue;
      }
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    lastProgress = std::chrono::steady_clock::now();
  }
  return true;
}

void FdChannel::discardInput() {
  dropBuffered();
  size_t dropped = 0;
  while (dropped < kMostDiscarded && refill(0)) dropped += dropBuffered();
}

void FdChannel::discardOutput() {
  // Only a terminal holds output that can still be dropped.
  if (::isatty(writeFd_)) ::tcflush(writeFd_, TCOFLUSH);
}

}  // namespace kesta::zlink
