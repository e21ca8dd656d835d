// Hangul menus on a real window: items become bitmaps of their text.
#include "test_support.h"

namespace {

HBITMAP itemBitmap(HMENU menu, int pos) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP | MIIM_FTYPE;
  if (!GetMenuItemInfoA(menu, pos, TRUE, &info)) return nullptr;
  return info.hbmpItem;
}

int bitmapWidth(HBITMAP b) {
  BITMAP bm{};
  return GetObjectA(b, sizeof bm, &bm) != 0 ? bm.bmWidth : -1;
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuilMenuTest";
    RegisterClassA(&wc);
    window = CreateWindowA("QuilMenuTest", "menus", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(RegisterWindow(window), 1);
  }
  void TearDown() override {
    HDestroyMenuBitmaps(window);
    UnregisterWindow(window);
    DestroyWindow(window);
  }
  HWND window = nullptr;
};

TEST_F(MenuTest, ItemsBecomeBitmapsAndKeepTheirStates) {
  HMENU menu = LoadAndDrawMenu(window, "TestMenu");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenu(window), menu);
  EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_BITMAP);
  EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_BITMAP);
  EXPECT_EQ(GetMenuItemID(menu, 1), 103u);
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_NE(file, nullptr);
  const UINT open = GetMenuState(file, 0, MF_BYPOSITION);
  EXPECT_TRUE(open & MF_BITMAP);
  EXPECT_TRUE(open & MF_CHECKED);
  EXPECT_EQ(GetMenuItemID(file, 0), 101u);
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_FALSE(GetMenuState(file, 1, MF_BYPOSITION) & MF_BITMAP);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_BITMAP);
  // " Open<tab>Ctrl+O " with the tab expanded to 8 columns: 15 English cells.
  EXPECT_EQ(bitmapWidth(itemBitmap(file, 0)), 15 * 8);
  EXPECT_EQ(bitmapWidth(itemBitmap(file, 2)), 6 * 8);  // " Exit "
  EXPECT_EQ(bitmapWidth(itemBitmap(menu, 0)), 6 * 8);  // " File "
}

TEST_F(MenuTest, SecondMenuAppendsAndDestroyDeletesBoth) {
  HMENU first = LoadHangulMenu(window, "TestMenu");
  HMENU second = LoadHangulMenu(window, "SecondMenu");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  HBITMAP a = itemBitmap(GetSubMenu(first, 0), 2);
  HBITMAP b = itemBitmap(second, 1);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(GetMenuState(second, 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_GT(bitmapWidth(a), 0);
  EXPECT_GT(bitmapWidth(b), 0);
  HDestroyMenuBitmaps(window);
  EXPECT_EQ(bitmapWidth(a), -1);
  EXPECT_EQ(bitmapWidth(b), -1);
  DestroyMenu(first);
  DestroyMenu(second);
}

TEST_F(MenuTest, UnregisteredWindowGetsNoMenu) {
  HWND other = CreateWindowA("QuilMenuTest", "x", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(LoadHangulMenu(other, "TestMenu"), nullptr);
  EXPECT_EQ(LoadHangulMenu(window, "NoSuchMenu"), nullptr);
  DestroyWindow(other);
}

TEST_F(MenuTest, MenuBitmapShowsTheTextInTheMenuFont) {
  HBITMAP b = MakeHanMenuBitmap("a");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(bitmapWidth(b), 3 * 8);
  DeleteObject(b);
  EXPECT_STREQ(SetMenuHangulFont("InternalPilgi"), "InternalPilgi");
  EXPECT_STREQ(RestoreMenuHangulFont(), "InternalGothic");
  HBITMAP s = MakeHanStrBitmap(qtest::combination("가a").c_str(), "InternalPilgi", nullptr);
  EXPECT_EQ(bitmapWidth(s), 24);
  DeleteObject(s);
}

std::vector<uint8_t> bitsOf(HBITMAP b) {
  BITMAP bm{};
  if (GetObjectA(b, sizeof bm, &bm) == 0) return {};
  std::vector<uint8_t> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
  GetBitmapBits(b, static_cast<LONG>(bits.size()), bits.data());
  return bits;
}

// The string bitmap: tabs to columns of the string itself, and the font by
// face name, else by header, else the menu face, on the DC it is drawn in.
TEST(StringBitmap, TabsAndTheFontChoice) {
  char pilgi[] = "InternalPilgi";
  QuilFontHeader* header = SelectQuilFont(pilgi, nullptr, 1);
  ASSERT_NE(header, nullptr);
  const std::string text = qtest::combination("가나a\tb");
  SetTabSize(4);
  HBITMAP tabbed = MakeHanStrBitmap(text.c_str(), "InternalPilgi", nullptr);
  SetTabSize(8);
  // "가나a" ends at byte column 5; the tab fills to 8.
  EXPECT_EQ(bitmapWidth(tabbed), 2 * header->cellWidth + 8 + 3 * 8 + 8);
  const std::string word = qtest::combination("한글");
  HBITMAP byName = MakeHanStrBitmap(word.c_str(), "InternalPilgi", nullptr);
  HBITMAP byHeader = MakeHanStrBitmap(word.c_str(), "NoSuchFace", header);
  HBITMAP menuFace = MakeHanStrBitmap(word.c_str(), nullptr, nullptr);
  EXPECT_EQ(bitsOf(byHeader), bitsOf(byName));
  EXPECT_NE(bitsOf(menuFace), bitsOf(byName));
  for (HBITMAP b : {tabbed, byName, byHeader, menuFace}) DeleteObject(b);
}

}  // namespace
