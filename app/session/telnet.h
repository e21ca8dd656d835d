// The telnet protocol of a connection to a host: answers the option
// negotiations it understands, strips every telnet command from the
// received blocks and leaves the data for the receive pipeline. A command
// or subnegotiation cut off at the end of one block is completed from the
// next. The socket calls themselves belong to the program's Win32 face.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/session/session_host.h"

namespace kesta::session {

inline constexpr int kTelnetPort = 23;
inline constexpr std::size_t kTelnetReadSize = 4096;

namespace telnet {
inline constexpr unsigned char SE = 240;
inline constexpr unsigned char SB = 250;
inline constexpr unsigned char WILL = 251;
inline constexpr unsigned char WONT = 252;
inline constexpr unsigned char DO = 253;
inline constexpr unsigned char DONT = 254;
inline constexpr unsigned char IAC = 255;
inline constexpr unsigned char kOptionBinary = 0;
inline constexpr unsigned char kOptionTerminalType = 24;
}  // namespace telnet

// True when a host text is an address for telnet rather than a number to
// dial: it contains a ".".
bool isHostAddress(std::string_view text);

// A host text split into host and port: "HOST:PORT" when what follows the
// last ':' is 1 to 5 digits with a value 1 to 65535; otherwise the whole
// text is the host and the port is 23.
struct HostAndPort {
  std::string host;
  int port = kTelnetPort;
  bool operator==(const HostAndPort&) const = default;
};
HostAndPort parseHostText(std::string_view text);

class TelnetProtocol {
 public:
  // Replies go out through the connection; a negotiation reply that is not
  // sent in full is reported in a message box of the window.
  TelnetProtocol(Connection& connection, SessionWindow& window) : connection_(connection), window_(window) {}
  explicit TelnetProtocol(SessionHost& host) : TelnetProtocol(host, host) {}

  // A connection was made: the next block is its first data, and no command
  // of an earlier connection is still open.
  void connectionOpened();
  // Takes the first-data flag: true once, for the first block after connecting.
  bool takeFirstData();

  // Strips the telnet commands from one received block, sending the replies,
  // and appends the data bytes to `data`. The NUL of a CR NUL pair is not
  // data: a host that is not sending binary ends a bare carriage return so.
  void receive(const std::uint8_t* block, std::size_t count, std::string& data);

 private:
  enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand };
  void negotiate(unsigned char command, unsigned char option);
  void collect(unsigned char byte);
  void subnegotiationEnded();
  void reply(const unsigned char* bytes, std::size_t count, bool reportFailure);

  Connection& connection_;
  SessionWindow& window_;
  State state_ = State::Data;
  unsigned char command_ = 0;
  bool firstData_ = false;
  // The last data byte was a carriage return: a NUL after it is the second
  // half of a bare CR (CR NUL) and is dropped, even across reads.
  bool afterCarriageReturn_ = false;
  // The first bytes of an open subnegotiation: only option and request matter.
  unsigned char subnegotiation_[2] = {};
  std::size_t subnegotiationLength_ = 0;
};

}  // namespace kesta::session
