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

// Tables for eight bytes a step: row k gives the register's change from a
// byte followed by k zero bytes.
using Crc32Rows = std::array<std::array<uint32_t, 256>, 8>;
constexpr Crc32Rows makeCrc32Rows() {
  Crc32Rows rows{};
  rows[0] = makeCrc32Table();
  for (int k = 1; k < 8; ++k)
    for (uint32_t i = 0; i < 256; ++i) rows[k][i] = (rows[k - 1][i] >> 8) ^ rows[0][rows[k - 1][i] & 0xFF];
  return rows;
}
constexpr Crc32Rows kCrc32Rows = makeCrc32Rows();

inline uint32_t loadLittle32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

constexpr std::array<uint16_t, 256> kCrc16Table = makeCrc16Table();
constexpr std::array<uint32_t, 256> kCrc32Table = makeCrc32Table();

uint16_t crc16(const uint8_t* data, size_t size) {
  uint16_t crc = 0;
  for (size_t i = 0; i < size; ++i) crc = crc16Update(crc, data[i]);
  return crc;
}

uint32_t crc32UpdateRun(uint32_t crc, const uint8_t* data, size_t size) {
  const auto& t = kCrc32Rows;
  for (; size >= 8; size -= 8, data += 8) {
    const uint32_t low = loadLittle32(data) ^ crc;
    const uint32_t high = loadLittle32(data + 4);
    crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
          t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; size > 0; --size) crc = crc32Update(crc, *data++);
  return crc;
}

uint32_t crc32(const uint8_t* data, size_t size) {
  uint32_t crc = kCrc32Start;
  for (size_t i = 0; i < size; ++i) crc = crc32Update(crc, data[i]);
  return ~crc;
}

}  // namespace kesta::zlink
