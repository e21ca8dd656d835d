#include "zlink/telnet.h"

namespace kesta::zlink {

void telnetEncode(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  out.reserve(out.size() + size);
  for (size_t i = 0; i < size; ++i) {
    out.push_back(data[i]);
    if (data[i] == kTelnetIac) out.push_back(kTelnetIac);
  }
}

size_t TelnetDecoder::decode(uint8_t* buffer, size_t size) {
  size_t kept = 0;
  for (size_t i = 0; i < size; ++i) {
    uint8_t b = buffer[i];
    switch (state_) {
      case State::kData:
        if (b == kTelnetIac) state_ = State::kIac;
        else buffer[kept++] = b;
        break;
      case State::kIac:
        if (b == kTelnetIac) {
          buffer[kept++] = b;
          state_ = State::kData;
        } else if (b == kTelnetSb) {
          state_ = State::kSub;
        } else if (b >= kTelnetWill) {
          state_ = State::kOption;  // WILL, WONT, DO, DONT name an option
        } else {
          state_ = State::kData;  // a two-byte command (NOP, GA, ...)
        }
        break;
      case State::kOption:
        state_ = State::kData;
        break;
      case State::kSub:
        if (b == kTelnetIac) state_ = State::kSubIac;
        break;
      case State::kSubIac:
        state_ = (b == kTelnetSe) ? State::kData : State::kSub;
        break;
    }
  }
  return kept;
}

}  // namespace kesta::zlink
