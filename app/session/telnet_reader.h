// One telnet read, from the socket's bytes to the screen: the first data
// after connecting mean "connected", the telnet commands are answered and
// removed, and the data go through the receive pipeline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/session/receive_pipeline.h"
#include "app/session/telnet.h"

namespace kesta::session {

class TelnetReader {
 public:
  TelnetReader(TelnetProtocol& protocol, ReceivePipeline& pipeline) : protocol_(protocol), pipeline_(pipeline) {}

  // A block of at most 4096 bytes as received from the socket.
  void received(const std::uint8_t* block, std::size_t count);
  // The host closed the connection.
  void closed() { pipeline_.connectionLost(); }

 private:
  TelnetProtocol& protocol_;
  ReceivePipeline& pipeline_;
  // Kept only for its capacity: each read takes it out while it works, so a
  // read nested in a message box or a transfer has a buffer of its own.
  std::string spare_;
};

}  // namespace kesta::session
