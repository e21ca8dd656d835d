#include <gtest/gtest.h>

#include <string>

#include "controls/msgbox_layout.h"

namespace kesta::controls {
namespace {

TEST(MsgBoxLayout, ButtonsByType) {
  struct Row {
    uint32_t type;
    std::string labels;
    uint16_t ids[3];
    int defaultIndex;
  };
  const Row rows[] = {
      {0x0, "OK", {1}, 0},
      {0x1, "OK Cancel", {1, 2}, 0},
      {0x101, "OK Cancel", {1, 2}, 1},
      {0x2, "Abort Retry Ignore", {3, 4, 5}, 0},
      {0x202, "Abort Retry Ignore", {3, 4, 5}, 2},
      {0x3, "Yes No Cancel", {6, 7, 2}, 0},
      {0x203, "Yes No Cancel", {6, 7, 2}, 2},
      {0x4, "Yes No", {6, 7}, 0},
      {0x104, "Yes No", {6, 7}, 1},
      {0x204, "Yes No", {6, 7}, 0},  // no third button: the first
      {0x5, "Retry Cancel", {4, 2}, 0},
      {0x300, "OK", {1}, 0},
      {0x7, "OK", {1}, 0},
  };
  for (const Row& r : rows) {
    const MsgBoxLayout m = layoutMessageBox(100, 16, r.type);
    std::string labels;
    for (int i = 0; i < m.buttonCount; ++i) {
      labels += (i ? " " : "") + std::string(m.buttons[i].label);
      EXPECT_EQ(m.buttons[i].id, r.ids[i]) << r.type;
      EXPECT_EQ(m.buttons[i].isDefault, i == r.defaultIndex) << r.type;
      EXPECT_EQ(m.buttons[i].rect.cx, 63);
      EXPECT_EQ(m.buttons[i].rect.cy, 39);
      EXPECT_EQ(m.buttons[i].rect.y, m.height);
      if (i > 0) {
        EXPECT_EQ(m.buttons[i].rect.x - m.buttons[i - 1].rect.x, 79);
      }
    }
    EXPECT_EQ(labels, r.labels) << r.type;
    EXPECT_EQ(m.defaultIndex, r.defaultIndex) << r.type;
    // Centred: equal room on both sides (within the odd pixel).
    const int left = m.buttons[0].rect.x;
    const int right = m.width - (m.buttons[m.buttonCount - 1].rect.x + 63);
    EXPECT_LE(std::abs(left - right), 1) << r.type;
  }
}

TEST(MsgBoxLayout, SizesWithoutIcon) {
  struct Row {
    int w, h;
    uint32_t type;
    int width, height;
  };
  const Row rows[] = {
      {200, 16, 0x0, 282, 111},   // w + 46 + 36, h + 36 + 59
      {350, 70, 0x1, 432, 165},
      {10, 16, 0x2, 271, 111},    // short text widened to the 221-pixel row + 18 + 32
      {10, 16, 0x0, 92, 111},     // one button (63): 92 - 18 >= 63 keeps the text size
      {40, 16, 0x4, 192, 111},    // two buttons: 142 wide, 122 - 18 < 142
  };
  for (const Row& r : rows) {
    const MsgBoxLayout m = layoutMessageBox(r.w, r.h, r.type);
    EXPECT_EQ(m.width, r.width) << r.w << " " << r.type;
    EXPECT_EQ(m.height, r.height) << r.w << " " << r.type;
    EXPECT_EQ(m.panel.x, 18);
    EXPECT_EQ(m.panel.y, 18);
    EXPECT_EQ(m.panel.cx, m.width - 36);
    EXPECT_EQ(m.panel.cy, r.h + 36);
    EXPECT_FALSE(m.hasIcon);
    EXPECT_EQ(m.text.x, 36);
    EXPECT_EQ(m.text.y, 36);
    EXPECT_EQ(m.text.cx, r.w + 10);
    EXPECT_EQ(m.text.cy, r.h);
    EXPECT_EQ(m.separator.x, 2);
    EXPECT_EQ(m.separator.y, r.h + 72);
    EXPECT_EQ(m.separator.cx, m.width - 4);
    EXPECT_EQ(m.separator.cy, 5);
    EXPECT_EQ(m.templateHeight(), m.height + 49);
    EXPECT_EQ(m.style, kMsgBoxStyle);
  }
}

TEST(MsgBoxLayout, IconsGrowThePanelAndTheMargin) {
  struct Row {
    uint32_t type;
    const char* name;
  };
  const Row rows[] = {{0x10, "HAND"},        {0x20, "QUESTION"}, {0x30, "EXCLAMATION"},
                      {0x40, "INFORMATION"}, {0x50, "EXCLAMATION"}, {0xF0, "EXCLAMATION"}};
  for (const Row& r : rows) {
    const MsgBoxLayout m = layoutMessageBox(200, 16, r.type);
    EXPECT_TRUE(m.hasIcon);
    EXPECT_STREQ(m.iconName, r.name);
    EXPECT_EQ(m.height, 64 + 95);
    EXPECT_EQ(m.panel.cy, 100);
    EXPECT_EQ(m.width, 282 + 66);
    EXPECT_EQ(m.panel.cx, 246 + 66);
    EXPECT_EQ(m.icon.x, 36);
    EXPECT_EQ(m.icon.y, (100 - 46) / 2);
    EXPECT_EQ(m.icon.cx, 48);
    EXPECT_EQ(m.icon.cy, 64);
    EXPECT_EQ(m.text.x, 18 + 66 + 18);
    EXPECT_EQ(m.text.y, (100 - 16) / 2 + 18);
    // The text ends inside the panel.
    EXPECT_LE(m.text.x + m.text.cx, m.panel.x + m.panel.cx);
  }
  const MsgBoxLayout tall = layoutMessageBox(300, 70, 0x40);
  EXPECT_EQ(tall.height, 70 + 95);
  EXPECT_EQ(tall.panel.cy, 106);
}

TEST(MsgBoxLayout, SystemModalAddsDsSysModal) {
  EXPECT_EQ(layoutMessageBox(10, 10, 0x1000).style, kMsgBoxStyle | kDsSysModal);
  EXPECT_EQ(layoutMessageBox(10, 10, 0).style, kMsgBoxStyle);
  // Negative measurements (a failed measure) count as empty text.
  EXPECT_EQ(layoutMessageBox(-5, -5, 0).text.cx, 10);
}

}  // namespace
}  // namespace kesta::controls
