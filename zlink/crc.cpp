#include "zlink/crc.h"

namespace kesta::zlink {

namespace {

constexpr std::array<uint16_t, 256> makeCrc16Table() {
  std::array<uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t crc = static_cast<uint16_t>(i << 8);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    table[i] = crc;
  }
  return table;
}

constexpr std::array<uint32_t, 256> makeCrc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    table[i] = crc;
  }
  return table;
}

}  // namespace

constexpr std::array<uint16_t, 256> kCrc16Table = makeCrc16Table();
constexpr std::array<uint32_t, 256> kCrc32Table = makeCrc32Table();

uint16_t crc16(const uint8_t* data, size_t size) {
  uint16_t crc = 0;
  for (size_t i = 0; i < size; ++i) crc = crc16Update(crc, data[i]);
  return crc;
}

uint32_t crc32(const uint8_t* data, size_t size) {
  uint32_t crc = kCrc32Start;
  for (size_t i = 0; i < size; ++i) crc = crc32Update(crc, data[i]);
  return ~crc;
}

}  // namespace kesta::zlink
