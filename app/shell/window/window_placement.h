// Where the main window goes: centred on the screen at a size made from the
// saved client size, and how small it may be dragged.
#pragma once

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
