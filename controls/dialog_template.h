// In-memory dialog templates (the standard DLGTEMPLATE and DLGITEMTEMPLATE
// byte layout), built from pixel positions and UTF-16 names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kesta::controls {

// Pixels to dialog units with the display's base units (unsigned, truncating).
struct BaseUnits {
  unsigned x = 8, y = 16;
  uint16_t toUnitsX(int pixels) const { return static_cast<uint16_t>(static_cast<unsigned>(pixels) * 4 / x); }
  uint16_t toUnitsY(int pixels) const { return static_cast<uint16_t>(static_cast<unsigned>(pixels) * 8 / y); }
};

struct PixelRect {
  int x = 0, y = 0, cx = 0, cy = 0;
};

// Bytes of the fixed part of the header (before the names) and of an item.
inline constexpr size_t kHeaderFixedBytes = 18;
inline constexpr size_t kItemFixedBytes = 18;
inline constexpr size_t kItemCountOffset = 8;
inline constexpr size_t kHeaderSizeOffset = 14;  // cx, then cy

// A dialog header: style, extended style, no items, the rectangle in dialog
// units, then menu, class and caption names (empty: one zero word), padded
// to a multiple of 4 bytes.
std::vector<uint8_t> dialogHeader(uint32_t style, uint32_t extendedStyle, PixelRect rect, const BaseUnits& units,
                                  std::u16string_view menu, std::u16string_view className,
                                  std::u16string_view caption);

// One item: style (WS_VISIBLE added), extended style, the rectangle in
// dialog units, the 16-bit identifier, class and text names, an empty
// creation-data word, padded to a multiple of 4 bytes.
std::vector<uint8_t> dialogItem(uint16_t id, uint32_t style, uint32_t extendedStyle, PixelRect rect,
                                const BaseUnits& units, std::u16string_view className, std::u16string_view text);

// Item count and size of a template, when its bytes hold a header; the size
// is in dialog units. False when the template is too short.
bool templateItemCount(std::span<const uint8_t> bytes, uint16_t* count);
bool setTemplateItemCount(std::span<uint8_t> bytes, uint16_t count);
bool setTemplateSize(std::span<uint8_t> bytes, uint16_t cx, uint16_t cy);

inline constexpr uint32_t kWsVisible = 0x10000000;

}  // namespace kesta::controls
