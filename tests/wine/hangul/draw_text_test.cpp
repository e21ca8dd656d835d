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
