#include "app/session/telnet_reader.h"

namespace kesta::session {

void TelnetReader::received(const std::uint8_t* block, std::size_t count) {
  if (protocol_.takeFirstData()) pipeline_.connectionEstablished();
  data_.clear();
  protocol_.receive(block, count, data_);
  pipeline_.receive(data_.data(), data_.size());
}

}  // namespace kesta::session
