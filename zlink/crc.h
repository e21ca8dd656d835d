// CRC-16/XMODEM and CRC-32 (reflected, 0xEDB88320) from 256-entry tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kesta::zlink {

// The standard tables of the two polynomials.
extern const std::array<uint16_t, 256> kCrc16Table;
extern const std::array<uint32_t, 256> kCrc32Table;

// CRC-16: polynomial 0x1021, start 0, no reflection, no final XOR.
inline uint16_t crc16Update(uint16_t crc, uint8_t byte) {
  return static_cast<uint16_t>(kCrc16Table[((crc >> 8) ^ byte) & 0xFF] ^ (crc << 8));
}
uint16_t crc16(const uint8_t* data, size_t size);

// CRC-32 register update; a frame starts at kCrc32Start and sends the complement.
inline constexpr uint32_t kCrc32Start = 0xFFFFFFFFu;
// Running the register over data followed by its sent CRC leaves this value.
inline constexpr uint32_t kCrc32Residue = 0xDEBB20E3u;
inline uint32_t crc32Update(uint32_t crc, uint8_t byte) { return kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8); }
// The register run over a buffer, eight bytes a step (the same value as
// crc32Update byte by byte).
uint32_t crc32UpdateRun(uint32_t crc, const uint8_t* data, size_t size);
// The standard CRC-32 of a buffer (start all ones, complemented at the end).
uint32_t crc32(const uint8_t* data, size_t size);

}  // namespace kesta::zlink
