// HDrawText: lines, alignment, word breaks and DT_CALCRECT, checked against
// the same lines drawn one by one with HTextOut2 on a second canvas.
#include <cstring>

#include "test_support.h"

namespace {

// Draws `text` with HDrawText on one canvas, and the expected lines with
// HTextOut2 on another, then compares every pixel.
class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : actual(160, 80, 24), expected(160, 80, 24) {}
  void compare() {
    actual.capture();
    expected.capture();
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 160; ++x) wrong += actual.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(wrong, 0);
  }
  void line(const char* s, int x, int y) { HTextOut2(expected.dc(), x, y, s, static_cast<int>(std::strlen(s))); }
  qtest::MemoryCanvas actual, expected;
};

TEST_F(DrawTextTest, SingleLineCentredVertically) {
  RECT r{10, 10, 150, 60};
  EXPECT_EQ(HDrawText(actual.dc(), "abc", -1, &r, DT_SINGLELINE | DT_VCENTER), 16);
  line("abc", 10, 10 + (50 - 16) / 2);
  SelectClipRgn(actual.dc(), nullptr);
  compare();
}

TEST_F(DrawTextTest, CentredAndRightLines) {
  RECT r{0, 0, 160, 80};
  HDrawText(actual.dc(), "ab\nabcd", -1, &r, DT_CENTER);
  line("ab", (160 - 16) / 2, 0);
  line("abcd", (160 - 32) / 2, 16);
  RECT r2{0, 40, 160, 80};
  HDrawText(actual.dc(), "xy", -1, &r2, DT_RIGHT);
  line("xy", 160 - 16, 40);
  compare();
}

TEST_F(DrawTextTest, WordBreakFillsLines) {
  RECT r{0, 0, 56, 80};  // seven English cells
  const std::string text = "aa bb cc " + qtest::combination("가나");
  EXPECT_EQ(HDrawText(actual.dc(), text.c_str(), -1, &r, DT_WORDBREAK), 16);
  line("aa bb ", 0, 0);
  const std::string last = "cc " + qtest::combination("가나");
  line(last.c_str(), 0, 16);
  SelectClipRgn(actual.dc(), nullptr);
  compare();
}

TEST_F(DrawTextTest, WordWiderThanTheRectangleStandsOnItsOwnLine) {
  RECT r{0, 0, 40, 80};  // five English cells
  HDrawText(actual.dc(), "abcdefgh ij", -1, &r, DT_WORDBREAK);
  // Clipped to the rectangle: draw the expectation clipped the same way.
  HRGN clip = CreateRectRgn(0, 0, 40, 80);
  SelectClipRgn(expected.dc(), clip);
  DeleteObject(clip);
  line("abcdefgh ", 0, 0);
  line("ij", 0, 16);
  SelectClipRgn(actual.dc(), nullptr);
  SelectClipRgn(expected.dc(), nullptr);
  compare();
}

// DT_BOTTOM, DT_NOCLIP and TA_UPDATECP: each row is drawn with HDrawText on
// one canvas and as the line it should give with HTextOut2 (clipped to
// `clip` when not empty) on another. In TA_UPDATECP mode a space is no word
// break, and the current position ends after the last line.
TEST(DrawTextFlags, BottomNoClipAndUpdateCp) {
  struct Row {
    const char* what;
    const char* text;
    RECT rect;
    UINT flags;
    bool updateCp;
    const char* line;
    POINT at;
    RECT clip;
  };
  const Row rows[] = {
      {"DT_BOTTOM", "abc", {10, 10, 150, 60}, DT_SINGLELINE | DT_BOTTOM, false, "abc", {10, 44}, {10, 10, 150, 60}},
      {"clipped", "abcdef", {0, 0, 20, 16}, DT_SINGLELINE, false, "abcdef", {0, 0}, {0, 0, 20, 16}},
      {"DT_NOCLIP", "abcdef", {0, 0, 20, 16}, DT_SINGLELINE | DT_NOCLIP, false, "abcdef", {0, 0}, {}},
      {"TA_UPDATECP", "ab cd", {10, 20, 40, 80}, DT_WORDBREAK, true, "ab cd", {10, 20}, {10, 20, 40, 80}},
  };
  for (const Row& r : rows) {
    qtest::MemoryCanvas actual(160, 80, 24), expected(160, 80, 24);
    if (r.updateCp) {
      SetTextAlign(actual.dc(), TA_UPDATECP);
      MoveToEx(actual.dc(), 100, 70, nullptr);
    }
    RECT rect = r.rect;
    HDrawText(actual.dc(), r.text, -1, &rect, r.flags);
    SelectClipRgn(actual.dc(), nullptr);
    if (r.updateCp) {
      POINT p;
      GetCurrentPositionEx(actual.dc(), &p);
      EXPECT_EQ(p.x, r.at.x + 8 * static_cast<int>(std::strlen(r.line))) << r.what;
      EXPECT_EQ(p.y, r.at.y) << r.what;
    }
    if (!IsRectEmpty(&r.clip)) {
      HRGN clip = CreateRectRgnIndirect(&r.clip);
      SelectClipRgn(expected.dc(), clip);
      DeleteObject(clip);
    }
    HTextOut2(expected.dc(), r.at.x, r.at.y, r.line, static_cast<int>(std::strlen(r.line)));
    actual.capture();
    expected.capture();
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 160; ++x) wrong += actual.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(wrong, 0) << r.what;
  }
}

TEST(DrawTextCalc, SingleLineSetsRightAndBottom) {
  qtest::MemoryCanvas c(10, 10, 24);
  RECT r{5, 7, 6, 8};
  const std::string text = "ab" + qtest::combination("한");
  EXPECT_EQ(HDrawText(c.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE), 16);
  EXPECT_EQ(r.right, 5 + 32);
  EXPECT_EQ(r.bottom, 7 + 16);
}

TEST(DrawTextCalc, WordBreakCountsLines) {
  qtest::MemoryCanvas c(10, 10, 24);
  RECT r{0, 10, 40, 11};
  EXPECT_EQ(HDrawText(c.dc(), "ab cd ef abcdefghijk x", -1, &r, DT_CALCRECT | DT_WORDBREAK), 16);
  // "ab cd ", "ef ", "abcdefghijk ", "x"
  EXPECT_EQ(r.bottom, 10 + 4 * 16);
  RECT lines{0, 0, 40, 1};
  HDrawText(c.dc(), "a\nb\nc", -1, &lines, DT_CALCRECT);
  EXPECT_EQ(lines.bottom, 3 * 16);
}

TEST(DrawTextCalc, ExpandTabsBeforeMeasuring) {
  qtest::MemoryCanvas c(10, 10, 24);
  RECT r{0, 0, 1, 1};
  HDrawText(c.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
  EXPECT_EQ(r.right, 5 * 8);
}

TEST(DrawTextCalc, NoRecordOrString) {
  RECT r{0, 0, 10, 10};
  HDC plain = CreateCompatibleDC(nullptr);
  EXPECT_EQ(HDrawText(plain, "a", 1, &r, 0), 0);
  DeleteDC(plain);
  qtest::MemoryCanvas c(10, 10, 24);
  EXPECT_EQ(HDrawText(c.dc(), nullptr, 1, &r, 0), 0);
}

}  // namespace
