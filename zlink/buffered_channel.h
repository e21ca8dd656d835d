// A byte channel that reads its connection in blocks into a buffer of its
// own and hands the bytes out one by one or in runs. A subclass says how a
// block is read (and decoded); the handing out is shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zlink/channel.h"

namespace kesta::zlink {

class BufferedChannel : public ByteChannel {
 public:
  int readByte(int waitMs) override;
  int readSome(uint8_t* buffer, int max, int waitMs) override;

 protected:
  explicit BufferedChannel(size_t bufferSize) : buffer_(bufferSize) {}

  // Waits at most waitMs for a block, reads it into block() and returns how
  // many bytes of it are data (0 when none), or -1 when nothing came; sets
  // markClosed() when the connection is gone.
  virtual long readBlock(int waitMs) = 0;

  std::vector<uint8_t>& block() { return buffer_; }
  void markClosed() { closed_ = true; }
  // Reads one block into the buffer; false when no data came.
  bool refill(int waitMs);
  // Forgets the bytes waiting in the buffer; returns how many there were.
  size_t dropBuffered();

 private:
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool closed_ = false;
};

}  // namespace kesta::zlink
