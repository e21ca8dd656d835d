// Where the main window goes: centred on the screen at a size made from the
// saved client size, and how small it may be dragged.
#pragma once

#include <algorithm>
#include <optional>

#include "app/settings/window_size.h"

namespace kesta::shell {

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowRect&) const = default;
};

// A window of this outer size centred on the screen (each half truncated).
constexpr WindowRect centredOnScreen(int screenWidth, int screenHeight, int width, int height) {
  return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2, width, height};
}

struct TrackSize {
  int width = 0;
  int height = 0;
};

// The smallest outer size: 86 cells wide, and the menu, the caption and
// 34.5 lines (less 38 pixels of the old frame allowance) high.
constexpr TrackSize minimumTrackSize(int cellWidth, int cellHeight, int menuHeight, int captionHeight) {
  return {86 * cellWidth, menuHeight + captionHeight + (69 * cellHeight) / 2 - 38};
}

// The window's outer rectangle when the zoom goes from `from` to `to`: it
// grows or shrinks by what the terminal's 85 by 31 cell block does, keeps its
// top-left corner, is never smaller than `minimum` (the new zoom's), and is
// moved back onto the screen where it would pass the right or bottom edge,
// never past the left or top one.
constexpr WindowRect zoomedWindow(WindowRect now, int from, int to, int cellWidth, int cellHeight, TrackSize minimum,
                                  int screenWidth, int screenHeight) {
  WindowRect r = now;
  r.width = std::max(now.width + (to - from) * 85 * cellWidth, minimum.width);
  r.height = std::max(now.height + (to - from) * 31 * cellHeight, minimum.height);
  if (r.left + r.width > screenWidth) r.left = std::max(0, screenWidth - r.width);
  if (r.top + r.height > screenHeight) r.top = std::max(0, screenHeight - r.height);
  return r;
}

// The client size worth saving at exit: a minimized window reports 0 by 0,
// which would bring the next start up as a sliver, so nothing is saved then.
inline std::optional<settings::WindowSize> sizeToSave(bool minimized, int clientWidth, int clientHeight) {
  if (minimized || clientWidth <= 0 || clientHeight <= 0) return std::nullopt;
  return settings::WindowSize{clientWidth, clientHeight};
}

// A saved size that cannot be a window (damaged file): ignored at start-up.
constexpr bool usableSavedSize(const settings::WindowSize& size) {
  return size.width > 0 && size.height > 0 && size.width <= 32767 && size.height <= 32767;
}

}  // namespace kesta::shell
