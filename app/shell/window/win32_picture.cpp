#include "app/shell/window/win32_picture.h"

#include <vector>

namespace kesta::shell {

ScreenPicture::ScreenPicture(settings::Picture picture) : picture_(std::move(picture)) {
  if (picture_.empty() || picture_.colourCount == 0) return;
  const std::size_t entries = picture_.colourCount < settings::kPaletteEntries ? picture_.colourCount
                                                                                : settings::kPaletteEntries;
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = settings::kPaletteVersion;
  logical->palNumEntries = static_cast<WORD>(entries);
  for (std::size_t i = 0; i < entries; ++i) {
    const settings::PaletteEntry& e = picture_.palette[i];
    logical->palPalEntry[i] = PALETTEENTRY{e.red, e.green, e.blue, e.flags};
  }
  palette_ = CreatePalette(logical);
}

ScreenPicture::~ScreenPicture() {
  if (palette_ != nullptr) DeleteObject(palette_);
}

void ScreenPicture::draw(HDC dc, int x, int y) const {
  if (empty()) return;
  HPALETTE old = nullptr;
  if (palette_ != nullptr) {
    old = SelectPalette(dc, palette_, FALSE);
    RealizePalette(dc);
  }
  SetDIBitsToDevice(dc, x, y, width(), height(), 0, 0, 0, height(), bits(), info(), DIB_RGB_COLORS);
  if (old != nullptr) SelectPalette(dc, old, FALSE);
}

void ScreenPicture::drawStretched(HDC dc, int x, int y, int width, int height) const {
  if (empty()) return;
  HPALETTE old = nullptr;
  if (palette_ != nullptr) {
    old = SelectPalette(dc, palette_, FALSE);
    RealizePalette(dc);
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, this->width(), this->height(), bits(), info(), DIB_RGB_COLORS,
                SRCCOPY);
  if (old != nullptr) SelectPalette(dc, old, FALSE);
}

}  // namespace kesta::shell
