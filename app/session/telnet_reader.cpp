#include "app/session/telnet_reader.h"

namespace kesta::session {

void TelnetReader::received(const std::uint8_t* block, std::size_t count) {
  if (protocol_.takeFirstData()) pipeline_.connectionEstablished();
  std::string data;
  data.swap(spare_);
  data.clear();
  protocol_.receive(block, count, data);
  pipeline_.receive(data.data(), data.size());
  if (data.capacity() > spare_.capacity()) data.swap(spare_);
}

}  // namespace kesta::session
