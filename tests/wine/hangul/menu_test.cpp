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

// Pixels of a menu bitmap that differ from the ink of `text` drawn in the
// menu face (paper is the colour of the first pixel, a space).
int inkMismatches(HBITMAP b, const std::string& text) {
  BITMAP bm{};
  if (GetObjectA(b, sizeof bm, &bm) == 0) return -1;
  kesta::fonts::TextFonts fonts = qtest::defaultFonts();
  fonts.hangul = &qtest::builtin("InternalGothic");
  kesta::fonts::InkBitmap ink(bm.bmWidth, bm.bmHeight);
  kesta::fonts::drawText(ink, 0, 0, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, fonts);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  const COLORREF paper = GetPixel(dc, 0, 0);
  int wrong = 0, inked = 0;
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) {
      const bool isInk = ink.ink[static_cast<size_t>(y) * bm.bmWidth + x] != 0;
      inked += isInk;
      wrong += isInk == (GetPixel(dc, x, y) == paper);
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  return inked == 0 ? -2 : wrong;
}

// What a menu bitmap shows: the text between two spaces in the menu face,
// tabs expanded to the library's tab size.
TEST_F(MenuTest, MenuBitmapPixelsAndTabSize) {
  struct Row {
    const char* what;
    std::string text;
    int tabSize;
    std::string drawn;
  };
  const std::string gaA = qtest::combination("가a");
  const Row rows[] = {
      {"Hangul and English", gaA, 8, " " + gaA + " "},
      {"tab size 8", "a\tb", 8, " a      b "},
      {"tab size 4", "a\tb", 4, " a  b "},
  };
  for (const Row& r : rows) {
    SetTabSize(r.tabSize);
    HBITMAP b = MakeHanMenuBitmap(r.text.c_str());
    SetTabSize(8);
    ASSERT_NE(b, nullptr) << r.what;
    EXPECT_EQ(bitmapWidth(b), 8 * static_cast<int>(r.drawn.size())) << r.what;  // Hangul cells are two English wide
    EXPECT_EQ(inkMismatches(b, r.drawn), 0) << r.what;
    DeleteObject(b);
  }
}

// The FromDLL forms load from the given module, not the window's; the W
// forms convert each item from code 8 first; an item's text is read up to
// 100 characters.
TEST_F(MenuTest, OtherModuleCode8AndLongItems) {
  HINSTANCE exe = GetModuleHandleA(nullptr);
  HWND foreign = CreateWindowA("QuilMenuTest", "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, exe,
                               nullptr);
  ASSERT_NE(foreign, nullptr);
  // The window's own module becomes one without menus.
  SetWindowLongPtrA(foreign, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(GetModuleHandleA("QUILH32.dll")));
  ASSERT_EQ(RegisterWindow(foreign), 1);
  EXPECT_EQ(LoadHangulMenu(foreign, "TestMenu"), nullptr) << "not in the window's module";
  HMENU fromDll = LoadHangulMenuFromDLL(foreign, exe, "TestMenu");
  ASSERT_NE(fromDll, nullptr);
  EXPECT_TRUE(GetMenuState(fromDll, 1, MF_BYPOSITION) & MF_BITMAP);
  HMENU drawn = LoadAndDrawMenuFromDLL(foreign, exe, "SecondMenu");
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(GetMenu(foreign), drawn);
  EXPECT_TRUE(GetMenuState(drawn, 0, MF_BYPOSITION) & MF_BITMAP);
  HMENU wFromDll = WLoadHangulMenuFromDLL(foreign, exe, "TestMenu");
  ASSERT_NE(wFromDll, nullptr);
  EXPECT_EQ(bitmapWidth(itemBitmap(wFromDll, 1)), 6 * 8);  // " Help "
  HDestroyMenuBitmaps(foreign);
  UnregisterWindow(foreign);
  DestroyWindow(foreign);
  DestroyMenu(fromDll);
  DestroyMenu(wFromDll);

  HMENU plain = LoadHangulMenu(window, "LongMenu");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(bitmapWidth(itemBitmap(plain, 0)), (1 + 100 + 1) * 8) << "the read stops at 100 characters";
  HMENU raw = LoadMenuA(exe, "LongMenu");
  char bytes[8] = {};
  GetMenuStringA(raw, 1, bytes, sizeof bytes, MF_BYPOSITION);
  DestroyMenu(raw);
  if (std::string(bytes) != "\xC7\xD1") GTEST_SKIP() << "the item's bytes need code page 1252";
  HMENU converted = WLoadAndDrawMenu(window, "LongMenu");
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(GetMenu(window), converted);
  const std::string han = qtest::combination("한");
  EXPECT_EQ(inkMismatches(itemBitmap(converted, 1), " " + han + " "), 0) << "W: code 8 to code 1";
  EXPECT_NE(inkMismatches(itemBitmap(plain, 1), " " + han + " "), 0) << "without W: unconverted";
  DestroyMenu(plain);
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
