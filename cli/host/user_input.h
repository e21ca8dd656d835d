// What comes in from one user's telnet connection, taken apart: the telnet
// commands are answered, the typed bytes are edited into lines, and the
// bytes the host owes back (its replies, then the echo) are returned ready
// for the wire. Knows nothing of sockets, so the session's input handling
// can be driven by any bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/host/line_editor.h"
#include "cli/host/telnet_server.h"
#include "xlat/xlat.h"

namespace kesta::host {

class UserInput {
 public:
  explicit UserInput(xlat::Code code) : editor_(code) {}

  // The host's opening negotiation.
  std::string opening() { return telnet_.opening(); }
  // Takes one block as read from the user; returns what to send back.
  std::string receive(const std::uint8_t* block, std::size_t count);

  TelnetServer& telnet() { return telnet_; }
  const TelnetServer& telnet() const { return telnet_; }
  LineEditor& editor() { return editor_; }

 private:
  TelnetServer telnet_;
  LineEditor editor_;
};

// UTF-8 text as the user receives it: in the user's code, 0xFF doubled.
std::string toWire(const std::string& utf8, xlat::Code code);

}  // namespace kesta::host
