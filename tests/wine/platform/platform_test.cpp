// Checks the assumptions every other Wine test builds on: programs run
// without MinGW runtime DLLs, GDI memory bitmaps read back exactly, and a
// real window can be made on the test display.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(WinePlatform, NoMinGwRuntimeDllIsLoaded) {
  EXPECT_EQ(GetModuleHandleA("libstdc++-6.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("libgcc_s_seh-1.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("libwinpthread-1.dll"), nullptr);
}

TEST(WinePlatform, MonochromeMemoryBitmapReadsBackPixelForPixel) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HBITMAP bmp = CreateBitmap(16, 16, 1, 1, nullptr);
  ASSERT_NE(bmp, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 16, 16};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(dc, 3, 5, RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 5), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 5), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(WinePlatform, WindowCanBeCreatedOnTheTestDisplay) {
  HWND w = CreateWindowExA(0, "STATIC", "kesta", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr) << "no window: is an X display (Xvfb) set in DISPLAY?";
  char text[16] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "kesta");
  DestroyWindow(w);
}

}  // namespace
