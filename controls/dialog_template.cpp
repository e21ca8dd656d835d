#include "controls/dialog_template.h"

namespace kesta::controls {

namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v));
  put16(out, static_cast<uint16_t>(v >> 16));
}

void putName(std::vector<uint8_t>& out, std::u16string_view name) {
  for (char16_t c : name) {
    if (c == 0) break;  // the name ends at its first NUL
    put16(out, c);
  }
  put16(out, 0);
}

void padTo4(std::vector<uint8_t>& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

void putRect(std::vector<uint8_t>& out, PixelRect r, const BaseUnits& u) {
  put16(out, u.toUnitsX(r.x));
  put16(out, u.toUnitsY(r.y));
  put16(out, u.toUnitsX(r.cx));
  put16(out, u.toUnitsY(r.cy));
}

}  // namespace

std::vector<uint8_t> dialogHeader(uint32_t style, uint32_t extendedStyle, PixelRect rect, const BaseUnits& units,
                                  std::u16string_view menu, std::u16string_view className,
                                  std::u16string_view caption) {
  std::vector<uint8_t> out;
  put32(out, style);
  put32(out, extendedStyle);
  put16(out, 0);
  putRect(out, rect, units);
  putName(out, menu);
  putName(out, className);
  putName(out, caption);
  padTo4(out);
  return out;
}

std::vector<uint8_t> dialogItem(uint16_t id, uint32_t style, uint32_t extendedStyle, PixelRect rect,
                                const BaseUnits& units, std::u16string_view className, std::u16string_view text) {
  std::vector<uint8_t> out;
  put32(out, style | kWsVisible);
  put32(out, extendedStyle);
  putRect(out, rect, units);
  put16(out, id);
  putName(out, className);
  putName(out, text);
  put16(out, 0);  // no creation data
  padTo4(out);
  return out;
}

bool templateItemCount(std::span<const uint8_t> bytes, uint16_t* count) {
  if (bytes.size() < kHeaderFixedBytes) return false;
  *count = static_cast<uint16_t>(bytes[kItemCountOffset] | bytes[kItemCountOffset + 1] << 8);
  return true;
}

bool setTemplateItemCount(std::span<uint8_t> bytes, uint16_t count) {
  if (bytes.size() < kHeaderFixedBytes) return false;
  bytes[kItemCountOffset] = static_cast<uint8_t>(count);
  bytes[kItemCountOffset + 1] = static_cast<uint8_t>(count >> 8);
  return true;
}

bool setTemplateSize(std::span<uint8_t> bytes, uint16_t cx, uint16_t cy) {
  if (bytes.size() < kHeaderFixedBytes) return false;
  bytes[kHeaderSizeOffset] = static_cast<uint8_t>(cx);
  bytes[kHeaderSizeOffset + 1] = static_cast<uint8_t>(cx >> 8);
  bytes[kHeaderSizeOffset + 2] = static_cast<uint8_t>(cy);
  bytes[kHeaderSizeOffset + 3] = static_cast<uint8_t>(cy >> 8);
  return true;
}

}  // namespace kesta::controls
