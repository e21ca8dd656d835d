#include "controls/msgbox_layout.h"

#include <algorithm>

namespace kesta::controls {

namespace {

struct ButtonSet {
  int count;
  uint16_t ids[3];
  const char* labels[3];
};

// By type & 0xF; types above 5 show OK alone.
ButtonSet buttonsOf(uint32_t type) {
  switch (type & 0xF) {
    case 1: return {2, {1, 2}, {"OK", "Cancel"}};
    case 2: return {3, {3, 4, 5}, {"Abort", "Retry", "Ignore"}};
    case 3: return {3, {6, 7, 2}, {"Yes", "No", "Cancel"}};
    case 4: return {2, {6, 7}, {"Yes", "No"}};
    case 5: return {2, {4, 2}, {"Retry", "Cancel"}};
    default: return {1, {1}, {"OK"}};
  }
}

const char* iconOf(uint32_t type) {
  switch (type & 0xF0) {
    case 0x10: return "HAND";
    case 0x20: return "QUESTION";
    case 0x40: return "INFORMATION";
    default: return "EXCLAMATION";  // 0x30 and every other icon value
  }
}

}  // namespace

MsgBoxLayout layoutMessageBox(int textWidth, int textHeight, uint32_t type) {
  MsgBoxLayout m;
  const int w = std::max(textWidth, 0), h = std::max(textHeight, 0);
  if (type & kMbSystemModal) m.style |= kDsSysModal;
  int panelWidth = w + 46, panelHeight = h + 36;
  m.width = panelWidth + 36;
  m.height = panelHeight + 59;
  int margin = 18;
  constexpr int kIconMargin = 66;
  const ButtonSet set = buttonsOf(type);
  const int rowWidth = set.count * kButtonPitch - 16;
  m.hasIcon = (type & 0xF0) != 0;
  if (m.hasIcon) margin += kIconMargin;
  if (m.width - margin < rowWidth) {
    m.width = rowWidth + margin + 32;
    panelWidth = m.width - 36;
  }
  if (m.hasIcon) {
    // The icon column widens the panel and the dialog by its own margin.
    panelHeight = std::max(h, 64) + 36;
    m.height = std::max(h, 64) + 95;
    m.width += kIconMargin;
    panelWidth += kIconMargin;
    m.iconName = iconOf(type);
    m.icon = {36, (panelHeight - 46) / 2, 48, 64};
  }
  m.panel = {18, 18, panelWidth, panelHeight};
  m.separator = {2, panelHeight + 36, m.width - 4, 5};
  m.text = {margin + 18, (panelHeight - h) / 2 + 18, w + 10, h};
  m.buttonCount = set.count;
  const unsigned defaultButton = (type & 0xF00) >> 8;
  m.defaultIndex = defaultButton < static_cast<unsigned>(set.count) ? static_cast<int>(defaultButton) : 0;
  const int left = (m.width - rowWidth) / 2;
  for (int i = 0; i < set.count; ++i) {
    m.buttons[i].id = set.ids[i];
    m.buttons[i].label = set.labels[i];
    m.buttons[i].rect = {left + i * kButtonPitch, m.height, kButtonWidth, kButtonHeight};
    m.buttons[i].isDefault = i == m.defaultIndex;
  }
  return m;
}

}  // namespace kesta::controls
