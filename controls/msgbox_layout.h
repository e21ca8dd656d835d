// The Hangul message box's layout: a pure function of the measured text
// size and the message-box type. All values in pixels.
#pragma once

#include <cstdint>

#include "controls/dialog_template.h"

namespace kesta::controls {

inline constexpr uint32_t kMsgBoxStyle = 0x80C80080;  // popup, caption, system menu, modal frame
inline constexpr uint32_t kDsSysModal = 0x00000002;
inline constexpr uint32_t kMbSystemModal = 0x00001000;
inline constexpr uint32_t kPanelStyle = 0x4002D013;
inline constexpr uint32_t kIconStyle = 0x40000004;
inline constexpr uint32_t kSeparatorStyle = 0x40000018;
inline constexpr uint32_t kTextStyle = 0x40000000;
inline constexpr uint16_t kTextId = 2705;
inline constexpr uint32_t kButtonStyle = 0x40010000;  // WS_CHILD | WS_TABSTOP
inline constexpr uint32_t kDefPushButton = 0x00000001;
inline constexpr int kButtonWidth = 63, kButtonHeight = 39, kButtonPitch = 79;
// The measuring rectangle of the text.
inline constexpr int kMeasureWidth = 350, kMeasureHeight = 70;

struct MsgBoxButton {
  uint16_t id = 0;
  const char* label = "";  // for readers of the layout; the faces are bitmaps
  PixelRect rect;
  bool isDefault = false;
};

struct MsgBoxLayout {
  uint32_t style = kMsgBoxStyle;
  int width = 0, height = 0;   // the dialog, before the 49 pixels of the button row
  PixelRect panel, separator, text;
  bool hasIcon = false;
  const char* iconName = "";   // "HAND", "QUESTION", "EXCLAMATION" or "INFORMATION"
  PixelRect icon;
  int buttonCount = 0;
  MsgBoxButton buttons[3];
  int defaultIndex = 0;
  // The template's size: the dialog width and height + 49.
  int templateWidth() const { return width; }
  int templateHeight() const { return height + 49; }
};

// textWidth, textHeight: the text measured in a kMeasureWidth x kMeasureHeight
// rectangle with word breaks. type: the MB_ flags.
MsgBoxLayout layoutMessageBox(int textWidth, int textHeight, uint32_t type);

}  // namespace kesta::controls
