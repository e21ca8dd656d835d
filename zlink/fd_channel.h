// A byte channel over POSIX file descriptors (pipes, sockets, terminals),
// optionally with the telnet byte rules. Native builds only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zlink/buffered_channel.h"
#include "zlink/telnet.h"

namespace kesta::zlink {

class FdChannel : public BufferedChannel {
 public:
  FdChannel(int readFd, int writeFd, bool telnet = false);

  bool write(const uint8_t* data, size_t size) override;
  void discardInput() override;
  void discardOutput() override;

  // How long a write may wait for a peer that takes no byte before it fails
  // (a peer that stopped reading must not hold the session for ever).
  void setWriteLimitMs(int ms) { writeLimitMs_ = ms; }
  static constexpr int kDefaultWriteLimitMs = 60000;

 private:
  long readBlock(int waitMs) override;

  int readFd_;
  int writeFd_;
  bool telnet_;
  TelnetDecoder decoder_;
  int writeLimitMs_ = kDefaultWriteLimitMs;
  std::vector<uint8_t> encoded_;
};

}  // namespace kesta::zlink
