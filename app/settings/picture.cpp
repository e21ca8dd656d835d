#include "app/settings/picture.h"

#include <algorithm>
#include <string>

#include "app/settings/record_codec.h"

namespace kesta::settings {

namespace {

// Offsets within the information header.
constexpr std::size_t kInfoSize = 0;
constexpr std::size_t kInfoWidth = 4;
constexpr std::size_t kInfoHeight = 8;
constexpr std::size_t kInfoPlanes = 12;
constexpr std::size_t kInfoBitCount = 14;
constexpr std::size_t kInfoCompression = 16;
constexpr std::size_t kInfoImageSize = 20;
constexpr std::size_t kInfoColoursUsed = 32;

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;

constexpr std::int32_t kMaxSide = 0x7FFF;

bool validBitCount(std::uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool validCompression(std::uint32_t compression, std::uint16_t bits) {
  return compression == kCompressionNone || (compression == kCompressionRle8 && bits == 8) ||
         (compression == kCompressionRle4 && bits == 4);
}

}  // namespace

std::optional<std::size_t> pictureDataLength(std::span<const std::uint8_t> mir) {
  if (mir.size() < kBitmapFileHeaderSize) return std::nullopt;
  if (loadUInt16(mir, 0) != 0x4D42) return std::nullopt;  // "BM"
  std::uint32_t fileSize = loadUInt32(mir, 2);
  if (fileSize < kBitmapFileHeaderSize + kBitmapInfoHeaderSize) return std::nullopt;
  std::size_t length = fileSize - kBitmapFileHeaderSize;
  if (length > kMaxPictureBytes) return std::nullopt;
  return length;
}

Picture decodePicture(std::span<const std::uint8_t> mir, std::span<const std::uint8_t> dat) {
  auto length = pictureDataLength(mir);
  if (!length || dat.size() < *length) return {};
  std::span<const std::uint8_t> data = dat.first(*length);

  std::uint32_t infoSize = loadUInt32(data, kInfoSize);
  if (infoSize < kBitmapInfoHeaderSize || infoSize > data.size()) return {};
  auto width = static_cast<std::int32_t>(loadUInt32(data, kInfoWidth));
  auto height = static_cast<std::int32_t>(loadUInt32(data, kInfoHeight));
  std::uint16_t planes = loadUInt16(data, kInfoPlanes);
  std::uint16_t bitCount = loadUInt16(data, kInfoBitCount);
  std::uint32_t compression = loadUInt32(data, kInfoCompression);
  std::uint32_t imageSize = loadUInt32(data, kInfoImageSize);
  std::uint32_t coloursUsed = loadUInt32(data, kInfoColoursUsed);
  if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide) return {};
  if (planes != 1 || !validBitCount(bitCount) || !validCompression(compression, bitCount)) return {};

  std::uint32_t colourCount = coloursUsed != 0 ? coloursUsed : (bitCount <= 8 ? 1u << bitCount : 0u);
  std::size_t tableRoom = (data.size() - infoSize) / 4;
  if (colourCount > tableRoom) return {};
  std::size_t bitsOffset = infoSize + std::size_t{colourCount} * 4;
  std::size_t bitsRoom = data.size() - bitsOffset;

  // Rows are padded to four bytes; uncompressed bits must all be present.
  std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
  std::uint64_t needed = rowBytes * rows;
  if (compression == kCompressionNone) {
    if (needed > bitsRoom) return {};
    if (imageSize == 0) imageSize = static_cast<std::uint32_t>(needed);
  } else if (imageSize == 0) {
    return {};  // compressed bits say their own size; without it nothing bounds them
  }
  if (imageSize > bitsRoom) return {};

  Picture p;
  std::copy_n(mir.begin(), kBitmapFileHeaderSize, p.fileHeader.begin());
  p.dib.assign(data.begin(), data.end());
  storeUInt32(p.dib, kInfoImageSize, imageSize);
  if (coloursUsed == 0) storeUInt32(p.dib, kInfoColoursUsed, colourCount);
  p.width = width;
  p.height = height;
  p.bitCount = bitCount;
  p.compression = compression;
  p.colourCount = colourCount;
  p.imageSize = imageSize;
  p.colourTableOffset = infoSize;
  p.bitsOffset = bitsOffset;
  std::size_t entries = std::min<std::size_t>(colourCount, kPaletteEntries);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::uint8_t* quad = &p.dib[infoSize + 4 * i];  // blue, green, red, reserved
    p.palette[i] = PaletteEntry{quad[2], quad[1], quad[0], 0};
  }
  return p;
}

Picture loadPicture(const SettingsFiles& files, std::string_view stem) {
  std::string base = files.path(stem);
  auto mir = files.store().readPrefix(base + ".mir", kBitmapFileHeaderSize);
  if (!mir) return {};
  auto length = pictureDataLength(*mir);
  if (!length) return {};
  auto dat = files.store().readPrefix(base + ".dat", *length);
  if (!dat) return {};
  return decodePicture(*mir, *dat);
}

}  // namespace kesta::settings
