// The "Meter" control and the progress dialog of ZLINK32.DLL, without a
// peer: pixels of the meter read back through a memory device context, and
// the dialog of a session that cannot start.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/wine/zlink/zlink32_library.h"

namespace kesta::zlink::test {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 24;

class MeterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib_.complete());
    meter_ = CreateWindowExA(0, "Meter", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(meter_, nullptr);
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  void TearDown() override {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteObject(bitmap_);
      DeleteDC(dc_);
    }
    if (meter_) DestroyWindow(meter_);
  }
  // Paints the meter into the memory bitmap, first filled with a colour the
  // meter never uses, so that an unpainted pixel shows.
  void paint() {
    RECT all{0, 0, kWidth, kHeight};
    HBRUSH marker = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc_, &all, marker);
    DeleteObject(marker);
    SendMessageA(meter_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
  }
  COLORREF at(int x, int y) { return GetPixel(dc_, x, y); }
  int count(int left, int right, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = left; x < right; ++x) n += at(x, y) == colour;
    return n;
  }

  Zlink32 lib_;
  HWND meter_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  const COLORREF window_ = GetSysColor(COLOR_WINDOW);
  const COLORREF text_ = GetSysColor(COLOR_WINDOWTEXT);
};

TEST_F(MeterTest, StartsAtRangeHundredPositionZero) {
  EXPECT_EQ(SendMessageA(meter_, 0x0401, 0, 0), 100);
  EXPECT_EQ(SendMessageA(meter_, 0x0403, 0, 0), 0);
  SendMessageA(meter_, 0x0400, 0, 5000);
  SendMessageA(meter_, 0x0402, 0, 1234);
  EXPECT_EQ(SendMessageA(meter_, 0x0401, 0, 0), 5000);
  EXPECT_EQ(SendMessageA(meter_, 0x0403, 0, 0), 1234);
}

TEST_F(MeterTest, KeepsItsFontAndAnswersAsStatic) {
  HGDIOBJ font = GetStockObject(ANSI_VAR_FONT);
  SendMessageA(meter_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(meter_, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(SendMessageA(meter_, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(MeterTest, RangeZeroShowsZeroPercentAndNoBar) {
  SendMessageA(meter_, 0x0400, 0, 0);
  SendMessageA(meter_, 0x0402, 0, 77);
  paint();
  EXPECT_EQ(count(0, kWidth, RGB(0, 255, 0)), 0) << "every pixel is painted";
  EXPECT_EQ(count(0, 20, window_), 20 * kHeight) << "no bar at the left";
  int textPixels = count(kWidth / 2 - 20, kWidth / 2 + 20, text_);
  EXPECT_GT(textPixels, 10) << "the centred text";
  EXPECT_EQ(count(0, kWidth, text_), textPixels) << "text only in the middle";
}

TEST_F(MeterTest, HalfRangePaintsTheLeftHalfInSwappedColours) {
  SendMessageA(meter_, 0x0400, 0, 1000);
  SendMessageA(meter_, 0x0402, 0, 500);
  paint();
  EXPECT_EQ(count(0, 40, text_), 40 * kHeight) << "bar in the text colour";
  EXPECT_EQ(count(kWidth - 40, kWidth, window_), 40 * kHeight) << "rest in the window colour";
  EXPECT_EQ(count(0, kWidth, RGB(0, 255, 0)), 0) << "every pixel is painted";
  // "50%" straddles the bar's end: its left part in the window colour on
  // the bar, its right part in the text colour beside it.
  EXPECT_GT(count(kWidth / 2 - 20, kWidth / 2, window_), 3);
  EXPECT_GT(count(kWidth / 2, kWidth / 2 + 20, text_), 3);
}

TEST_F(MeterTest, FullRangeIsAllBar) {
  SendMessageA(meter_, 0x0400, 0, 3);
  SendMessageA(meter_, 0x0402, 0, 3);
  paint();
  EXPECT_EQ(count(0, 40, text_), 40 * kHeight);
  EXPECT_EQ(count(kWidth - 40, kWidth, text_), 40 * kHeight);
}

TEST(Zlink32Library, UnloadRemovesTheMeterClass) {
  {
    Zlink32 lib;
    ASSERT_TRUE(lib.complete());
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(lib.module, "Meter", &wc));
  }
  HWND w = CreateWindowExA(0, "Meter", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(w, nullptr);
  if (w) DestroyWindow(w);
}

struct DialogSeen {
  std::string title, protocol, status, fileMeterClass, totalMeterClass;
  bool found = false;
};

BOOL CALLBACK findMeters(HWND child, LPARAM p) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  auto* seen = reinterpret_cast<DialogSeen*>(p);
  if (std::string(cls) == "Meter") (seen->fileMeterClass.empty() ? seen->fileMeterClass : seen->totalMeterClass) = cls;
  return TRUE;
}

BOOL CALLBACK findDialog(HWND w, LPARAM p) {
  char title[64] = {};
  GetWindowTextA(w, title, sizeof title);
  if (std::string(title) != "Zmodem for Kesta Kesta") return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

// A session without a connection cannot start: the dialog says so and
// stays open, Enter does not close it, Cancel does with 0.
TEST(Zlink32Dialog, SessionWithoutConnectionWaitsForCancel) {
  Zlink32 lib;
  ASSERT_TRUE(lib.complete());
  DialogSeen seen;
  DWORD self = GetCurrentThreadId();
  std::thread presser([&] {
    for (int i = 0; i < 1000 && !seen.found; ++i) {
      Sleep(10);
      HWND d = nullptr;
      EnumThreadWindows(self, findDialog, reinterpret_cast<LPARAM>(&d));
      if (!d) continue;
      char text[128] = {};
      GetDlgItemTextA(d, 1008, text, sizeof text);
      if (std::string(text) != "Error in Initializing...") continue;
      seen.status = text;
      GetDlgItemTextA(d, 1000, text, sizeof text);
      seen.protocol = text;
      GetWindowTextA(d, text, sizeof text);
      seen.title = text;
      EnumChildWindows(d, findMeters, reinterpret_cast<LPARAM>(&seen));
      seen.found = true;
      PostMessageA(d, WM_COMMAND, 1, 0);  // Enter: ignored
      Sleep(100);
      PostMessageA(d, WM_COMMAND, 2, 0);  // Cancel
    }
  });
  int result = lib.wsz32(nullptr, 0, "C:\\nothing.bin", 0);
  presser.join();
  EXPECT_EQ(result, 0);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, "Zmodem for Kesta Kesta");
  EXPECT_EQ(seen.protocol, "Send ZLINK32s (Release 96/9/30)");
  EXPECT_EQ(seen.fileMeterClass, "Meter");
  EXPECT_EQ(seen.totalMeterClass, "Meter");
}

}  // namespace
}  // namespace kesta::zlink::test
