#include "app/session/telnet.h"

namespace kesta::session {

using namespace telnet;

bool isHostAddress(std::string_view text) { return text.find('.') != std::string_view::npos; }

HostAndPort parseHostText(std::string_view text) {
  HostAndPort whole{std::string(text), kTelnetPort};
  std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return whole;
  std::string_view digits = text.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return whole;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return whole;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return whole;
  return {std::string(text.substr(0, colon)), port};
}

void TelnetProtocol::connectionOpened() {
  state_ = State::Data;
  subnegotiationLength_ = 0;
  afterCarriageReturn_ = false;
  firstData_ = true;
}

bool TelnetProtocol::takeFirstData() {
  bool first = firstData_;
  firstData_ = false;
  return first;
}

void TelnetProtocol::reply(const unsigned char* bytes, std::size_t count, bool reportFailure) {
  std::size_t sent = connection_.send(std::string_view(reinterpret_cast<const char*>(bytes), count));
  if (reportFailure && sent != count) window_.messageBox("Winsock Error", "Error");
}

void TelnetProtocol::negotiate(unsigned char command, unsigned char option) {
  if (command == WILL) {
    // The host offers an option: refused for 13, 16 and 24, accepted otherwise.
    bool refuse = option == 13 || option == 16 || option == kOptionTerminalType;
    const unsigned char answer[3] = {IAC, refuse ? DONT : DO, option};
    reply(answer, 3, true);
  } else if (command == DO) {
    bool accept = option == kOptionBinary || option == kOptionTerminalType;
    const unsigned char answer[3] = {IAC, accept ? WILL : WONT, option};
    reply(answer, 3, true);
  }
  // WONT and DONT need no answer.
}

void TelnetProtocol::subnegotiationEnded() {
  if (subnegotiationLength_ == 2 && subnegotiation_[0] == kOptionTerminalType && subnegotiation_[1] == 1) {
    static const unsigned char answer[] = {IAC, SB, kOptionTerminalType, 0, 'V', 'T', '1', '0', '0', IAC, SE};
    reply(answer, sizeof answer, false);
  }
  subnegotiationLength_ = 0;
}

void TelnetProtocol::collect(unsigned char byte) {
  if (subnegotiationLength_ < sizeof subnegotiation_) {
    subnegotiation_[subnegotiationLength_++] = byte;
  } else {
    subnegotiationLength_ = sizeof subnegotiation_ + 1;  // longer than any we answer
  }
}

void TelnetProtocol::receive(const std::uint8_t* block, std::size_t count, std::string& data) {
  if (block == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char byte = block[i];
    switch (state_) {
      case State::Data:
        if (byte == IAC) {
          state_ = State::Command;
        } else if (byte == 0 && afterCarriageReturn_) {
          afterCarriageReturn_ = false;
        } else {
          data.push_back(static_cast<char>(byte));
          afterCarriageReturn_ = byte == '\r';
        }
        break;
      case State::Command:
        if (byte == IAC) {
          data.push_back(static_cast<char>(IAC));
          afterCarriageReturn_ = false;
          state_ = State::Data;
        } else if (byte == SB) {
          subnegotiationLength_ = 0;
          state_ = State::Subnegotiation;
        } else if (byte >= WILL) {
          command_ = byte;
          state_ = State::Option;
        } else {
          state_ = State::Data;  // 241 to 249 and anything below: dropped
        }
        break;
      case State::Option:
        // The state moves on before the reply: a failed reply's message box
        // may let the next read in, which must start in the data.
        state_ = State::Data;
        negotiate(command_, byte);
        break;
      case State::Subnegotiation:
        if (byte == IAC) {
          state_ = State::SubnegotiationCommand;
        } else {
          collect(byte);
        }
        break;
      case State::SubnegotiationCommand:
        if (byte == SE) {
          state_ = State::Data;
          subnegotiationEnded();
        } else {
          // IAC IAC is a 255 inside the subnegotiation; any other command is skipped.
          if (byte == IAC) collect(byte);
          state_ = State::Subnegotiation;
        }
        break;
    }
  }
}

}  // namespace kesta::session
