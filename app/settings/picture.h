// Picture pairs: a device-independent bitmap split in two files with one
// stem, the 14-byte bitmap file header in stem + ".mir" and the rest
// (information header, colour table, pixel bits) in stem + ".dat".
// Everything is checked against the data really present: a pair that does
// not add up is an empty picture.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/settings/file_store.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

// Stems in use, relative to the home directory.
inline constexpr char kLogoPicture[] = "\\kesta";          // the logo window at start
inline constexpr char kWelcomePicture[] = "\\kestaex";     // the first terminal page
inline constexpr char kFailedPortPicture[] = "\\mport";    // the "Failed Port" dialog

inline constexpr std::size_t kBitmapFileHeaderSize = 14;
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
// Pictures larger than this are refused rather than allocated.
inline constexpr std::size_t kMaxPictureBytes = 64u << 20;

// A logical palette entry in palette order.
struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  bool operator==(const PaletteEntry&) const = default;
};

inline constexpr std::uint16_t kPaletteVersion = 0x300;
inline constexpr std::size_t kPaletteEntries = 256;

struct Picture {
  std::array<std::uint8_t, kBitmapFileHeaderSize> fileHeader{};
  // Information header, colour table and pixel bits, with the image size
  // and (when it was 0) the colours-used field written back.
  Bytes dib;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows top-down
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colourCount = 0;
  std::uint32_t imageSize = 0;
  std::size_t colourTableOffset = 0;  // within dib: right after the information header
  std::size_t bitsOffset = 0;         // within dib: after colourCount x 4 bytes of table
  // 256 entries from the colour table, blue and red swapped into palette
  // order, flags 0; entries beyond the colour count stay black.
  std::array<PaletteEntry, kPaletteEntries> palette{};

  bool empty() const { return dib.empty(); }
  std::span<const std::uint8_t> bits() const {
    return empty() ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(dib).subspan(bitsOffset);
  }
};

// How many ".dat" bytes the ".mir" header asks for (file-size field minus
// 14), or nothing when the header does not begin with "BM", is short, or
// asks for an impossible size: then the ".dat" file need not be read.
std::optional<std::size_t> pictureDataLength(std::span<const std::uint8_t> mir);

// The picture from the two files' bytes; empty unless every size, offset
// and count fits inside the data.
Picture decodePicture(std::span<const std::uint8_t> mir, std::span<const std::uint8_t> dat);

// Loads home + stem + ".mir" and, only when that is a bitmap header,
// home + stem + ".dat". A missing file gives an empty picture.
Picture loadPicture(const SettingsFiles& files, std::string_view stem);

}  // namespace kesta::settings
