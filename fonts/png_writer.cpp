#include "fonts/png_writer.h"

#include <array>
#include <cstdio>

namespace kesta::fonts {
namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks (at most 65,535 bytes each).
std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(raw.size() - at, 65535);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(z, b << 16 | a);
  return z;
}

}  // namespace

std::vector<uint8_t> encodeMonochromePng(int width, int height, const std::vector<uint8_t>& ink) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {1, 0, 0, 0, 0});  // 1 bit, greyscale, deflate, no filter choice, no interlace
  chunk(out, "IHDR", header);
  const int rowBytes = (width + 7) / 8;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(height) * (rowBytes + 1));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int bx = 0; bx < rowBytes; ++bx) {
      uint8_t bits = 0xFF;  // white
      for (int k = 0; k < 8; ++k) {
        const int x = bx * 8 + k;
        if (x < width && ink[static_cast<size_t>(y) * width + x]) bits &= static_cast<uint8_t>(~(0x80 >> k));
      }
      raw.push_back(bits);
    }
  }
  chunk(out, "IDAT", storedZlib(raw));
  chunk(out, "IEND", {});
  return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kesta::fonts
