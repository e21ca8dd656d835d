#include "cli/host/telnet_server.h"

#include "app/session/telnet.h"

namespace kesta::host {

using namespace session::telnet;

namespace {
constexpr unsigned char kIs = 0;
constexpr unsigned char kSend = 1;
// Room for "IS" and the longest type we keep; anything longer is cut.
constexpr std::size_t kLongestSubnegotiation = 64;

void append(std::string& out, std::initializer_list<unsigned char> bytes) {
  for (unsigned char b : bytes) out.push_back(static_cast<char>(b));
}

// Options the host agrees to on either side; everything else is refused.
bool acceptable(unsigned char option) {
  return option == kOptionBinary || option == kOptionEcho || option == kOptionSuppressGoAhead ||
         option == kOptionTerminalType;
}
}  // namespace

std::string TelnetServer::opening() {
  std::string out;
  append(out, {IAC, DO, kOptionTerminalType, IAC, WILL, kOptionEcho, IAC, WILL, kOptionSuppressGoAhead});
  local_[kOptionEcho] = true;
  local_[kOptionSuppressGoAhead] = true;
  return out;
}

// Replies only when an option changes state, so two sides never loop.
void TelnetServer::negotiate(unsigned char command, unsigned char option, std::string& replies) {
  switch (command) {
    case WILL:
      if (option == kOptionTerminalType) {
        if (!remote_[option]) append(replies, {IAC, SB, kOptionTerminalType, kSend, IAC, SE});
        remote_[option] = true;
      } else if (!remote_[option]) {
        bool yes = acceptable(option) && option != kOptionEcho;  // the host echoes, not the client
        append(replies, {IAC, static_cast<unsigned char>(yes ? DO : DONT), option});
        remote_[option] = yes;
      }
      break;
    case WONT:
      if (option == kOptionTerminalType) terminalTypeSettled_ = true;
      if (remote_[option]) append(replies, {IAC, DONT, option});
      remote_[option] = false;
      break;
    case DO:
      if (!local_[option]) {
        bool yes = acceptable(option) && option != kOptionTerminalType;  // types are the client's to send
        append(replies, {IAC, static_cast<unsigned char>(yes ? WILL : WONT), option});
        local_[option] = yes;
      }
      break;
    case DONT:
      if (local_[option]) append(replies, {IAC, WONT, option});
      local_[option] = false;
      break;
  }
}

void TelnetServer::subnegotiationEnded() {
  if (sub_.size() >= 2 && static_cast<unsigned char>(sub_[0]) == kOptionTerminalType &&
      static_cast<unsigned char>(sub_[1]) == kIs) {
    std::string type;
    for (std::size_t i = 2; i < sub_.size() && type.size() < kLongestTerminalType; ++i) {
      unsigned char c = static_cast<unsigned char>(sub_[i]);
      if (c > 0x20 && c < 0x7F) type.push_back(static_cast<char>(c));  // only a printable name is kept
    }
    terminalType_ = type;
    terminalTypeSettled_ = true;
  }
  sub_.clear();
}

void TelnetServer::receive(const std::uint8_t* block, std::size_t count, std::string& data, std::string& replies) {
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char byte = block[i];
    switch (state_) {
      case State::Data:
        if (byte == IAC) {
          state_ = State::Command;
        } else {
          data.push_back(static_cast<char>(byte));
        }
        break;
      case State::Command:
        if (byte == IAC) {
          data.push_back(static_cast<char>(IAC));
          state_ = State::Data;
        } else if (byte == SB) {
          sub_.clear();
          state_ = State::Sub;
        } else if (byte >= WILL) {
          command_ = byte;
          state_ = State::Option;
        } else {
          state_ = State::Data;  // NOP, AYT, GA and the rest carry nothing for us
        }
        break;
      case State::Option:
        negotiate(command_, byte, replies);
        state_ = State::Data;
        break;
      case State::Sub:
        if (byte == IAC) {
          state_ = State::SubCommand;
        } else if (sub_.size() < kLongestSubnegotiation) {
          sub_.push_back(static_cast<char>(byte));  // a longer one is cut, not kept
        }
        break;
      case State::SubCommand:
        if (byte == SE) {
          subnegotiationEnded();
          state_ = State::Data;
        } else {
          if (byte == IAC && sub_.size() < kLongestSubnegotiation) sub_.push_back(static_cast<char>(IAC));
          state_ = State::Sub;
        }
        break;
    }
  }
}

}  // namespace kesta::host
