// The telnet byte rules of a transfer over a socket: 0xFF is doubled on the
// way out; on the way in telnet commands are removed by their real lengths
// and a doubled 0xFF is one data byte. A command may be split across reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kesta::zlink {

inline constexpr uint8_t kTelnetIac = 0xFF;
inline constexpr uint8_t kTelnetSe = 240;
inline constexpr uint8_t kTelnetSb = 250;
inline constexpr uint8_t kTelnetWill = 251;
inline constexpr uint8_t kTelnetWont = 252;
inline constexpr uint8_t kTelnetDo = 253;
inline constexpr uint8_t kTelnetDont = 254;
inline constexpr uint8_t kTelnetBinary = 0;

// Appends data to out with every 0xFF doubled.
void telnetEncode(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

class TelnetDecoder {
 public:
  // Decodes in place: the data bytes of buffer[0..size) move to its front;
  // returns how many there are. State carries over to the next call.
  size_t decode(uint8_t* buffer, size_t size);
  // True while a command is only partly read.
  bool inCommand() const { return state_ != State::kData; }

 private:
  enum class State { kData, kIac, kOption, kSub, kSubIac };
  State state_ = State::kData;
};

}  // namespace kesta::zlink
