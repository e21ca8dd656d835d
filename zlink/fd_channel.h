// A byte channel over POSIX file descriptors (pipes, sockets, terminals),
// optionally with the telnet byte rules. Native builds only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zlink/channel.h"
#include "zlink/telnet.h"

namespace kesta::zlink {

class FdChannel : public ByteChannel {
 public:
  FdChannel(int readFd, int writeFd, bool telnet = false);

  int readByte(int waitMs) override;
  int readSome(uint8_t* buffer, int max, int waitMs) override;
  bool write(const uint8_t* data, size_t size) override;
  void discardInput() override;
  void discardOutput() override;

  // How long a write may wait for a peer that takes no byte before it fails
  // (a peer that stopped reading must not hold the session for ever).
  void setWriteLimitMs(int ms) { writeLimitMs_ = ms; }
  static constexpr int kDefaultWriteLimitMs = 60000;

 private:
  bool refill(int waitMs);

  int readFd_;
  int writeFd_;
  bool telnet_;
  TelnetDecoder decoder_;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool closed_ = false;
  int writeLimitMs_ = kDefaultWriteLimitMs;
  std::vector<uint8_t> encoded_;
};

}  // namespace kesta::zlink
