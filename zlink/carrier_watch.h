// A modem answers a dropped call with "NO CARRIER", and nothing follows it.
// A pseudo-line or a cable without a carrier signal tells a transfer nothing
// else, and the transfer would wait out its long time-outs. The watch sees
// the line's bytes go by and tells when the last thing heard was that result
// and the line has been silent since.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kesta::zlink {

class CarrierWatch {
 public:
  static constexpr std::uint64_t kSilenceMs = 5000;

  void heard(const std::uint8_t* bytes, std::size_t size, std::uint64_t nowMs);
  // True once "NO CARRIER" was the last thing heard, CR and LF aside, at
  // least kSilenceMs ago.
  bool dropped(std::uint64_t nowMs) const;

 private:
  std::size_t matched_ = 0;  // how much of "NO CARRIER" the latest bytes spell
  bool said_ = false;
  std::uint64_t saidAt_ = 0;
};

}  // namespace kesta::zlink
