#include "app/shell/connection/telnet_send.h"

namespace kesta::shell {

std::string escapeTelnetData(std::string_view data) {
  std::string out;
  out.reserve(data.size() + 8);
  for (char c : data) {
    out.push_back(c);
    if (static_cast<unsigned char>(c) == 255) out.push_back(c);
  }
  return out;
}

std::size_t sendWithin(SendPort& port, std::string_view bytes, int timeoutMilliseconds) {
  std::size_t done = 0;
  const long long deadline = port.nowMilliseconds() + timeoutMilliseconds;
  while (done < bytes.size()) {
    const long result = port.trySend(bytes.data() + done, bytes.size() - done);
    if (result == SendPort::kFailed) break;
    if (result > 0) {
      done += static_cast<std::size_t>(result) <= bytes.size() - done ? static_cast<std::size_t>(result)
                                                                       : bytes.size() - done;
      continue;
    }
    const long long left = deadline - port.nowMilliseconds();
    if (left <= 0) break;
    port.waitWritable(static_cast<int>(left < 100 ? left : 100));
  }
  return done;
}

}  // namespace kesta::shell
