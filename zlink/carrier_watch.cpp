#include "zlink/carrier_watch.h"

#include <string_view>

namespace kesta::zlink {

namespace {
constexpr std::string_view kNoCarrier = "NO CARRIER";
}

void CarrierWatch::heard(const std::uint8_t* bytes, std::size_t size, std::uint64_t nowMs) {
  for (std::size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(bytes[i]);
    if (c == '\r' || c == '\n') {
      matched_ = 0;
      continue;
    }
    said_ = false;
    if (c == kNoCarrier[matched_]) {
      ++matched_;
    } else {
      matched_ = c == kNoCarrier[0] ? 1 : 0;
    }
    if (matched_ == kNoCarrier.size()) {
      said_ = true;
      saidAt_ = nowMs;
      matched_ = 0;
    }
  }
}

bool CarrierWatch::dropped(std::uint64_t nowMs) const { return said_ && nowMs - saidAt_ >= kSilenceMs; }

}  // namespace kesta::zlink
