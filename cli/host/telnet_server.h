// The host's side of the telnet protocol: it asks for the terminal type,
// offers to echo and to suppress go-ahead, answers the client's options and
// takes the telnet commands out of what the client sends. A command cut at
// the end of one read is completed from the next.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kesta::host {

inline constexpr unsigned char kOptionEcho = 1;
inline constexpr unsigned char kOptionSuppressGoAhead = 3;

class TelnetServer {
 public:
  // What the host sends first: DO TERMINAL-TYPE, WILL ECHO, WILL SUPPRESS-GO-AHEAD.
  std::string opening();

  // Takes one block from the client: its data bytes are appended to `data`,
  // the replies the host owes to `replies`.
  void receive(const std::uint8_t* block, std::size_t count, std::string& data, std::string& replies);

  // The terminal type the client announced ("" until it did).
  const std::string& terminalType() const { return terminalType_; }
  // True once the client answered the terminal-type request either way.
  bool terminalTypeSettled() const { return terminalTypeSettled_; }
  // The host echoes unless the client told it not to.
  bool echoing() const { return local_[kOptionEcho]; }

  static constexpr std::size_t kLongestTerminalType = 40;

 private:
  enum class State { Data, Command, Option, Sub, SubCommand };
  void negotiate(unsigned char command, unsigned char option, std::string& replies);
  void subnegotiationEnded();

  State state_ = State::Data;
  unsigned char command_ = 0;
  // Options in force: local_ for the host's side (WILL), remote_ for the client's (DO).
  std::array<bool, 256> local_{};
  std::array<bool, 256> remote_{};
  std::string sub_;  // the open subnegotiation, bounded
  std::string terminalType_;
  bool terminalTypeSettled_ = false;
};

}  // namespace kesta::host
