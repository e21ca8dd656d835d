#include "zlink/buffered_channel.h"

#include <cstring>

namespace kesta::zlink {

bool BufferedChannel::refill(int waitMs) {
  long size = readBlock(waitMs);
  if (size <= 0) return false;
  begin_ = 0;
  end_ = static_cast<size_t>(size) < buffer_.size() ? static_cast<size_t>(size) : buffer_.size();
  return true;
}

size_t BufferedChannel::dropBuffered() {
  size_t waiting = end_ - begin_;
  begin_ = end_ = 0;
  return waiting;
}

int BufferedChannel::readSome(uint8_t* buffer, int max, int waitMs) {
  if (max <= 0) return 0;
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

int BufferedChannel::readByte(int waitMs) {
  if (begin_ < end_) return buffer_[begin_++];
  uint8_t b;
  int n = readSome(&b, 1, waitMs);
  return n > 0 ? b : n;
}

}  // namespace kesta::zlink
