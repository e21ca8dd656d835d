// Picture pairs from any bytes. Odd first byte: the rest is raw, 14 bytes of
// ".mir" then the ".dat". Even first byte: a well-formed bitmap is built
// from the next bytes' parameters and then damaged by the remaining bytes,
// so that the checks past the "BM" test get exercised too.
#include <cstdlib>
#include <algorithm>
#include <vector>

#include "app/settings/picture.h"
#include "tests/app/settings/bitmap_builder.h"

namespace {

using namespace kesta::settings;

void checkPicture(const Picture& p, std::size_t datSize) {
  if (p.empty()) return;
  if (p.dib.size() > datSize || p.bitsOffset > p.dib.size()) std::abort();
  if (p.imageSize > p.dib.size() - p.bitsOffset) std::abort();
  if (p.colourTableOffset + std::size_t{p.colourCount} * 4 != p.bitsOffset) std::abort();
  unsigned sum = 0;
  for (std::uint8_t b : p.bits().first(p.imageSize)) sum += b;
  for (std::size_t i = p.colourCount; i < kPaletteEntries; ++i)
    if (!(p.palette[i] == PaletteEntry{})) std::abort();
  volatile unsigned sink = sum;
  (void)sink;
}

Picture decodeExact(std::span<const std::uint8_t> mir, std::span<const std::uint8_t> dat) {
  // Exactly sized heap copies (a vector built from a range holds no spare
  // room), so that any read past either file is caught.
  const std::vector<std::uint8_t> m(mir.begin(), mir.end());
  const std::vector<std::uint8_t> d(dat.begin(), dat.end());
  return decodePicture(m, d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    std::size_t mirSize = std::min<std::size_t>(size - 1, kBitmapFileHeaderSize);
    std::span<const std::uint8_t> mir(data + 1, mirSize);
    std::span<const std::uint8_t> dat(data + 1 + mirSize, size - 1 - mirSize);
    checkPicture(decodeExact(mir, dat), dat.size());
    return 0;
  }
  if (size < 8) return 0;
  static const std::uint16_t kBits[] = {1, 4, 8, 16, 24, 32, 0, 7};
  testing::BitmapSpec s;
  s.width = 1 + data[1] % 40;
  s.height = (data[2] & 0x80) ? -(1 + data[2] % 20) : 1 + data[2] % 20;
  s.bitCount = kBits[data[3] % 8];
  s.compression = data[4] % 5 == 0 ? data[4] % 3 : 0;
  s.coloursUsed = data[5] % 3 == 0 ? data[5] : 0;
  s.tableEntries = data[6] % 2 ? (s.bitCount <= 8 ? 1u << s.bitCount : 0u) : data[6] / 2;
  s.imageSizeField = data[7] % 4 == 0 ? data[7] : 0;
  s.bitsBytes = static_cast<std::uint32_t>((s.width * 32 + 31) / 32 * 4 * 20 / (1 + data[7] % 3));
  auto pair = testing::makeBitmap(s);
  // Then up to three (position, xor) pairs over the joined files.
  std::size_t end = std::min(size, 8 + 2 * std::size_t{data[1] % 4u});
  for (std::size_t i = 8; i + 1 < end; i += 2) {
    std::size_t at = data[i] * 7u;
    if (at < pair.mir.size()) pair.mir[at] ^= data[i + 1];
    else if (at - pair.mir.size() < pair.dat.size()) pair.dat[at - pair.mir.size()] ^= data[i + 1];
    else if (data[i + 1] & 1) pair.dat.resize(pair.dat.size() / 2);
  }
  checkPicture(decodeExact(pair.mir, pair.dat), pair.dat.size());
  return 0;
}
