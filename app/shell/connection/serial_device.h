// The device a port number opens: "COM1" to "COM9", and the telnet device
// for 10 and above.
#pragma once

#include <string>

namespace kesta::shell {

inline std::string serialDeviceName(int port) {
  if (port >= 10) return "\\\\.\\TELNET";
  return "COM" + std::to_string(port);
}

// A drain reads at most this many bytes at a time.
inline constexpr int kSerialBlock = 80;

}  // namespace kesta::shell
