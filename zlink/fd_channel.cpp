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
    : readFd_(readFd), writeFd_(writeFd), telnet_(telnet), buffer_(kBufferSize) {}

bool FdChannel::refill(int waitMs) {
  pollfd p{readFd_, POLLIN, 0};
  int ready = ::poll(&p, 1, waitMs);
  if (ready <= 0) return false;
  ssize_t n;
  do {
    n = ::read(readFd_, buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) closed_ = true;
    return false;
  }
  size_t size = static_cast<size_t>(n);
  if (telnet_) size = decoder_.decode(buffer_.data(), size);
  begin_ = 0;
  end_ = size;
  return size > 0;
}

int FdChannel::readByte(int waitMs) {
  if (begin_ < end_) return buffer_[begin_++];
  if (closed_) return kClosed;
  if (refill(waitMs)) return buffer_[begin_++];
  return closed_ ? kClosed : kNoByte;
}

int FdChannel::readSome(uint8_t* buffer, int max, int waitMs) {
  if (begin_ >= end_) {
    if (closed_) return kClosed;
    if (!refill(waitMs)) return closed_ ? kClosed : kNoByte;
  }
  size_t n = end_ - begin_;
  if (n > static_cast<size_t>(max)) n = static_cast<size_t>(max);
  std::memcpy(buffer, buffer_.data() + begin_, n);
  begin_ += n;
  return static_cast<int>(n);
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
  begin_ = end_ = 0;
  size_t dropped = 0;
  while (dropped < kMostDiscarded && refill(0)) {
    dropped += end_;
    begin_ = end_ = 0;
  }
}

void FdChannel::discardOutput() {
  // Only a terminal holds output that can still be dropped.
  if (::isatty(writeFd_)) ::tcflush(writeFd_, TCOFLUSH);
}

}  // namespace kesta::zlink
