// Builds small device-independent bitmaps for the picture tests and the
// fuzz seeds, and splits them into a ".mir" and ".dat" pair.
#pragma once

#include <cstdint>
#include <vector>

namespace kesta::settings::testing {

struct BitmapSpec {
  std::int32_t width = 4;
  std::int32_t height = 2;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;
  std::uint32_t imageSizeField = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t tableEntries = 256;  // colour table entries actually stored
  std::uint32_t bitsBytes = 8;       // pixel bytes actually stored
};

struct BitmapPair {
  std::vector<std::uint8_t> mir;
  std::vector<std::uint8_t> dat;
};

inline void put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
  v.push_back(static_cast<std::uint8_t>(x));
  v.push_back(static_cast<std::uint8_t>(x >> 8));
}
inline void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

// Colour table entry i is blue = i, green = 255 - i, red = i / 2, reserved 0x55;
// pixel byte j is j.
inline BitmapPair makeBitmap(const BitmapSpec& s) {
  BitmapPair p;
  auto& d = p.dat;
  put32(d, 40);
  put32(d, static_cast<std::uint32_t>(s.width));
  put32(d, static_cast<std::uint32_t>(s.height));
  put16(d, 1);
  put16(d, s.bitCount);
  put32(d, s.compression);
  put32(d, s.imageSizeField);
  put32(d, 2835);
  put32(d, 2835);
  put32(d, s.coloursUsed);
  put32(d, 0);
  for (std::uint32_t i = 0; i < s.tableEntries; ++i) {
    d.push_back(static_cast<std::uint8_t>(i));
    d.push_back(static_cast<std::uint8_t>(255 - i));
    d.push_back(static_cast<std::uint8_t>(i / 2));
    d.push_back(0x55);
  }
  for (std::uint32_t j = 0; j < s.bitsBytes; ++j) d.push_back(static_cast<std::uint8_t>(j));
  auto& m = p.mir;
  m.push_back('B');
  m.push_back('M');
  put32(m, static_cast<std::uint32_t>(14 + d.size()));
  put16(m, 0);
  put16(m, 0);
  put32(m, 14 + 40 + s.tableEntries * 4);
  return p;
}

}  // namespace kesta::settings::testing
