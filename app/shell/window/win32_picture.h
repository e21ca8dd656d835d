// Picture pairs on screen: the decoded picture handed to GDI with its palette.
#pragma once

#include <windows.h>

#include "app/settings/picture.h"

namespace kesta::shell {

class ScreenPicture {
 public:
  explicit ScreenPicture(settings::Picture picture);
  ~ScreenPicture();
  ScreenPicture(const ScreenPicture&) = delete;
  ScreenPicture& operator=(const ScreenPicture&) = delete;

  bool empty() const { return picture_.empty(); }
  int width() const { return picture_.width; }
  int height() const { return picture_.height < 0 ? -picture_.height : picture_.height; }
  const BITMAPINFO* info() const { return empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(picture_.dib.data()); }
  const void* bits() const { return empty() ? nullptr : picture_.bits().data(); }

  // Drawn at its own size at (x, y), its palette realised first.
  void draw(HDC dc, int x, int y) const;
  // Stretched into the rectangle at (x, y) of `width` x `height`.
  void drawStretched(HDC dc, int x, int y, int width, int height) const;

 private:
  settings::Picture picture_;
  HPALETTE palette_ = nullptr;
};

}  // namespace kesta::shell
