#include "cli/host/user_input.h"

#include <vector>

#include "zlink/telnet.h"

namespace kesta::host {

namespace {
std::string telnetEncoded(const std::string& bytes) {
  std::vector<std::uint8_t> wire;
  zlink::telnetEncode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), wire);
  return std::string(wire.begin(), wire.end());
}
}  // namespace

std::string UserInput::receive(const std::uint8_t* block, std::size_t count) {
  std::string data, out;
  telnet_.receive(block, count, data, out);
  std::string echo;
  editor_.feed(data.data(), data.size(), echo);
  if (telnet_.echoing() && !echo.empty()) out += telnetEncoded(echo);
  return out;
}

std::string toWire(const std::string& utf8, xlat::Code code) {
  return telnetEncoded(xlat::convert(xlat::Code::Utf8, code, utf8));
}

}  // namespace kesta::host
