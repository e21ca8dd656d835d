// The registry of windows and device contexts, font selection and the DC wrappers.
#include <string>

#include "test_support.h"

namespace {

std::string faceOf(HDC dc) {
  char face[300] = {};
  const int n = HGetTextFace(dc, sizeof face, face);
  return std::string(face, n);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowA("STATIC", "quilh32", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    UnregisterWindow(window);
    DestroyWindow(window);
  }
  HWND window = nullptr;
};

TEST_F(WindowTest, RegisterWindowFindsAllDefaultFonts) {
  EXPECT_EQ(RegisterWindow(window), 1);
  EXPECT_EQ(RegisterWindow(nullptr), 0);
  EXPECT_EQ(RegisterDC(nullptr), 0);
}

// A second registration of a window hides the first until it is unregistered.
TEST_F(WindowTest, RegisteringTwiceHidesTheOlderRecord) {
  ASSERT_EQ(RegisterWindow(window), 1);
  ASSERT_EQ(SelectHangul(window, "InternalPilgi", nullptr), 1);
  ASSERT_EQ(RegisterWindow(window), 1);
  HDC dc = HGetDC(window);
  EXPECT_EQ(faceOf(dc), "InternalMyungjo") << "the newer record";
  EXPECT_EQ(HReleaseDC(window, dc), 1);
  EXPECT_EQ(UnregisterWindow(window), 1);
  dc = HGetDC(window);
  EXPECT_EQ(faceOf(dc), "InternalPilgi") << "the older record again";
  EXPECT_EQ(HReleaseDC(window, dc), 1);
}

TEST_F(WindowTest, TwoGetDCsShareThenCopy) {
  ASSERT_EQ(RegisterWindow(window), 1);
  ASSERT_EQ(SelectHangul(window, "InternalPilgi", nullptr), 1);
  HDC first = HGetDC(window);
  HDC second = HGetDC(window);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // The first shares the window record: a font selected for the window shows through it.
  EXPECT_EQ(faceOf(first), "InternalPilgi");
  ASSERT_EQ(SelectHangul(window, "InternalSammool", nullptr), 1);
  EXPECT_EQ(faceOf(first), "InternalSammool");
  // The second has its own record with a copy of the fonts it had then.
  EXPECT_NE(faceOf(second), "InternalSammool");
  EXPECT_EQ(HReleaseDC(window, second), 1);
  EXPECT_EQ(faceOf(second), "");  // its record is gone
  EXPECT_EQ(HReleaseDC(window, first), 1);
  EXPECT_EQ(faceOf(first), "");  // the slot is clear
  EXPECT_EQ(SelectHangul(window, "InternalGothic", nullptr), 1);  // the window record lives on
  // With the slot free again the next DC shares the record.
  HDC third = HGetDC(window);
  EXPECT_EQ(faceOf(third), "InternalGothic");
  EXPECT_EQ(HReleaseDC(window, third), 1);
}

TEST_F(WindowTest, UnregisteredWindowGetsNoDC) {
  EXPECT_EQ(HGetDC(window), nullptr);
  EXPECT_EQ(HGetWindowDC(window), nullptr);
  EXPECT_EQ(HGetWindowDC(nullptr), nullptr);
  EXPECT_EQ(SelectHangul(window, "InternalGothic", nullptr), 0);
}

TEST_F(WindowTest, GetDCOfNoWindowRegistersTheScreenDC) {
  HDC dc = HGetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(faceOf(dc), "InternalMyungjo");
  EXPECT_EQ(HReleaseDC(nullptr, dc), 1);
  EXPECT_EQ(faceOf(dc), "");
}

TEST_F(WindowTest, RegisterDCWithWindowTakesTheSlotThenCopies) {
  ASSERT_EQ(RegisterWindow(window), 1);
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  EXPECT_EQ(RegisterDCWithWindow(window, a), 1);
  EXPECT_EQ(RegisterDCWithWindow(window, b), 1);
  SelectHangul(window, "InternalPilgi", nullptr);
  EXPECT_EQ(faceOf(a), "InternalPilgi");
  EXPECT_EQ(faceOf(b), "InternalMyungjo");
  EXPECT_EQ(UnregisterDCWithWindow(window, a), 1);  // clears the slot only
  EXPECT_EQ(faceOf(a), "");
  EXPECT_EQ(GetKbdType(window), 0);  // the window record is still there (no automaton yet)
  EXPECT_EQ(InitAutomata(window, 2), 1);
  EXPECT_EQ(UnregisterDCWithWindow(window, b), 1);  // a DC record: unregistered
  EXPECT_EQ(faceOf(b), "");
  EXPECT_EQ(UnregisterDCWithWindow(window, b), 0);
  DeleteDC(a);
  DeleteDC(b);
}

TEST(FontSelection, MissingFaceFallsBackAndKeepsTheAskedName) {
  qtest::MemoryCanvas c(60, 20, 24);
  EXPECT_EQ(HSelectHangulObject(c.dc(), "NoSuchFace", nullptr), 0);
  EXPECT_EQ(faceOf(c.dc()), "NoSuchFace");
  // It draws with InternalGothic.
  const std::string ga = qtest::combination("각");
  ASSERT_EQ(HTextOut(c.dc(), 0, 0, ga.c_str(), 2), 1);
  kesta::fonts::InkBitmap ink(60, 20);
  auto fonts = qtest::defaultFonts();
  fonts.hangul = &qtest::builtin("InternalGothic");
  kesta::fonts::drawText(ink, 0, 0, {reinterpret_cast<const uint8_t*>(ga.data()), 2}, fonts);
  c.capture();
  int wrong = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) wrong += (c.pixel(x, y) == 0) != (ink.ink[y * 60 + x] != 0);
  EXPECT_EQ(wrong, 0);
}

TEST(FontSelection, MissingFaceWithHeaderSelectsTheHeader) {
  qtest::MemoryCanvas c(10, 10, 24);
  QuilFontHeader* pilgi = SelectQuilFont(const_cast<char*>(std::string("InternalPilgi").data()), nullptr, 1);
  ASSERT_NE(pilgi, nullptr);
  EXPECT_EQ(HSelectHangulObject(c.dc(), "NoSuchFace", pilgi), 1);
  EXPECT_EQ(faceOf(c.dc()), std::string(pilgi->faceName));
  EXPECT_EQ(HSelectHangulObject(c.dc(), nullptr, nullptr), 0);
}

TEST(FontSelection, SpecialObjectWithBothArgumentsChangesNothing) {
  qtest::MemoryCanvas c(10, 10, 24);
  QuilFontHeader* vaskelo = SelectQuilFont(const_cast<char*>(std::string("VaskeloSpecial").data()), nullptr, 3);
  ASSERT_NE(vaskelo, nullptr);
  char face[64] = {};
  EXPECT_EQ(HSelectSpecialObject(c.dc(), "VaskeloSpecial", vaskelo), 0);
  HGetSpecialTextFace(c.dc(), sizeof face, face);
  EXPECT_STREQ(face, "KSSpecial");
  EXPECT_EQ(HSelectSpecialObject(c.dc(), "VaskeloSpecial", nullptr), 1);
  HGetSpecialTextFace(c.dc(), sizeof face, face);
  EXPECT_STREQ(face, "VaskeloSpecial");
  EXPECT_EQ(HSelectKSSMSpecialObject(c.dc(), nullptr, nullptr), 0);
  // A symbol face the store lacks: 0, for a DC and for a window alike.
  EXPECT_EQ(HSelectSpecialObject(c.dc(), "NoSuchSymbols", nullptr), 0);
  EXPECT_EQ(HSelectKSSMSpecialObject(c.dc(), "NoSuchSymbols", nullptr), 0);
  HWND window = CreateWindowA("STATIC", "symbols", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(RegisterWindow(window), 1);
  EXPECT_EQ(SelectSpecial(window, "NoSuchSymbols", nullptr), 0);
  EXPECT_EQ(SelectKSSMSpecial(window, "NoSuchSymbols", nullptr), 0);
  UnregisterWindow(window);
  DestroyWindow(window);
}

TEST(FontSelection, TextFaceIsCutToTheBuffer) {
  qtest::MemoryCanvas c(10, 10, 24);
  char face[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(HGetTextFace(c.dc(), sizeof face, face), 4);
  EXPECT_STREQ(face, "Inte");
}

TEST_F(WindowTest, WindowDCSharesTheWindowRecordLikeGetDC) {
  ASSERT_EQ(RegisterWindow(window), 1);
  ASSERT_EQ(SelectHangul(window, "InternalSammool", nullptr), 1);
  HDC dc = HGetWindowDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(faceOf(dc), "InternalSammool");
  ASSERT_EQ(SelectHangul(window, "InternalGothic", nullptr), 1);
  EXPECT_EQ(faceOf(dc), "InternalGothic");  // the record is the window's, not a copy
  EXPECT_EQ(HReleaseDC(window, dc), 1);
  EXPECT_EQ(faceOf(dc), "");
  EXPECT_EQ(SelectHangul(window, "InternalPilgi", nullptr), 1);  // the window stays registered
}

TEST(DCWrappers, InformationContextIsRegisteredUntilDeleted) {
  HDC ic = HCreateIC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(ic, nullptr);
  EXPECT_EQ(faceOf(ic), "InternalMyungjo");  // a new record starts with the default faces
  HSelectHangulObject(ic, "InternalPilgi", nullptr);
  EXPECT_EQ(faceOf(ic), "InternalPilgi");
  EXPECT_EQ(HDeleteDC(ic), 1);
  EXPECT_EQ(faceOf(ic), "");
  EXPECT_EQ(HCreateIC("NO SUCH DRIVER", nullptr, nullptr, nullptr), nullptr);
}

TEST(DCWrappers, CompatibleDCTakesTheSourceFaces) {
  HDC display = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(display, nullptr);
  HSelectHangulObject(display, "InternalSammool", nullptr);
  HDC memory = HCreateCompatibleDC(display);
  ASSERT_NE(memory, nullptr);
  EXPECT_EQ(faceOf(memory), "InternalSammool");
  EXPECT_EQ(HDeleteDC(memory), 1);
  EXPECT_EQ(HDeleteDC(display), 1);
  HDC plain = CreateCompatibleDC(nullptr);
  EXPECT_EQ(HCreateCompatibleDC(plain), nullptr);  // no record for the source
  DeleteDC(plain);
}

TEST(Library, NestedStartsKeepTheLibraryUntilTheLast) {
  qtest::MemoryCanvas c(10, 10, 24);
  ASSERT_EQ(InitHangulLib(), 1);  // a second start (the test program holds the first)
  DestroyHangulLib();
  EXPECT_EQ(faceOf(c.dc()), "InternalMyungjo");  // records survive
  HTextMetric m{};
  ASSERT_EQ(HGetTextMetrics(c.dc(), &m), 1);
  EXPECT_EQ(m.hanjaWidth, 16);
}

// Whether the library holds HANJA.FNT (it denies writes while it does).
bool hanjaFileHeld() {
  char dir[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  HANDLE h = CreateFileA((std::string(dir, n) + "\\HANJA.FNT").c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(h);
  return false;
}

// The last DestroyHangulLib closes the Hanja file and frees every record
// with its menu bitmaps; a new start then works as the first did. The test
// program's own start is ended here and taken again.
TEST(Library, LastDestroyFreesEverythingAndStartsAgain) {
  EXPECT_TRUE(hanjaFileHeld());
  HWND window = CreateWindowA("STATIC", "quilh32", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(RegisterWindow(window), 1);
  HMENU menu = LoadHangulMenuFromDLL(window, GetModuleHandleA(nullptr), "SecondMenu");
  ASSERT_NE(menu, nullptr);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
  BITMAP bm{};
  ASSERT_NE(GetObjectA(info.hbmpItem, sizeof bm, &bm), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_EQ(RegisterDC(dc), 1);
  ASSERT_EQ(faceOf(dc), "InternalMyungjo");

  DestroyHangulLib();
  EXPECT_FALSE(hanjaFileHeld()) << "the Hanja file closed";
  EXPECT_EQ(faceOf(dc), "") << "the DC's record freed";
  EXPECT_EQ(SelectHangul(window, "InternalPilgi", nullptr), 0) << "the window's record freed";
  EXPECT_EQ(GetObjectA(info.hbmpItem, sizeof bm, &bm), 0) << "the menu bitmaps deleted";

  ASSERT_EQ(InitHangulLib(), 1);
  EXPECT_TRUE(hanjaFileHeld()) << "opened again";
  ASSERT_EQ(RegisterDC(dc), 1);
  EXPECT_EQ(faceOf(dc), "InternalMyungjo");
  HTextMetric m{};
  ASSERT_EQ(HGetTextMetrics(dc, &m), 1);
  EXPECT_EQ(m.hanjaWidth, 16);
  EXPECT_EQ(UnregisterDC(dc), 1);
  DeleteDC(dc);
  DestroyMenu(menu);
  DestroyWindow(window);
}

}  // namespace

namespace {

struct PaintSeen {
  HDC dc = nullptr;
  std::string face;
  int drawn = -1;
  int ended = -1;
};
PaintSeen g_paint;

LRESULT CALLBACK paintProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps{};
    g_paint.dc = HBeginPaint(w, &ps);
    if (g_paint.dc == nullptr) {
      ValidateRect(w, nullptr);
      return 0;
    }
    g_paint.face = faceOf(g_paint.dc);
    g_paint.drawn = HTextOut(g_paint.dc, 0, 0, "a", 1);
    g_paint.ended = HEndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

TEST(Paint, BeginPaintSharesTheWindowRecordAndEndPaintReleases) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = paintProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QuilPaintTest";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("QuilPaintTest", "paint", WS_POPUP, 0, 0, 60, 30, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(RegisterWindow(w), 1);
  SelectHangul(w, "InternalPilgi", nullptr);
  ShowWindow(w, SW_SHOWNA);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_NE(g_paint.dc, nullptr);
  EXPECT_EQ(g_paint.face, "InternalPilgi");
  EXPECT_EQ(g_paint.drawn, 1);
  EXPECT_EQ(g_paint.ended, 1);
  EXPECT_EQ(faceOf(g_paint.dc), "");  // the slot was cleared
  // Unregistered, the paint ends at once and no DC is handed out.
  UnregisterWindow(w);
  g_paint = PaintSeen{};
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(g_paint.dc, nullptr);
  EXPECT_EQ(g_paint.drawn, -1);
  DestroyWindow(w);
}

}  // namespace

namespace {

// A font module's life follows the DCs that use it, however they selected
// it: by name, by header, or as the copy a compatible DC makes.
TEST(FontModules, StayLoadedWhileAnyDCUsesThem) {
  const auto loaded = [] { return GetModuleHandleA("testfont.dll") != nullptr; };
  ASSERT_EQ(HAddFontResource("testfont.dll"), 1);
  char face[] = "TestFace";
  QuilFontHeader* header = SelectQuilFont(face, nullptr, 1);  // the test's own reference
  ASSERT_NE(header, nullptr);
  HDC byName = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  HDC byHeader = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_EQ(HSelectHangulObject(byName, "TestFace", nullptr), 1);
  ASSERT_EQ(HSelectHangulObject(byHeader, nullptr, header), 1);
  HDC copy = HCreateCompatibleDC(byName);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(header->referenceCount, 5);  // registration, test, name, header, copy

  // Each DC that lets go takes away only its own reference.
  EXPECT_EQ(HSelectHangulObject(byHeader, "InternalGothic", nullptr), 1);
  EXPECT_EQ(HDeleteDC(copy), 1);
  EXPECT_EQ(HRemoveFontResource("testfont.dll"), 1);
  char gothic[] = "InternalGothic";
  SelectQuilFont(gothic, header, 1);
  EXPECT_EQ(header->referenceCount, 1);
  ASSERT_TRUE(loaded()) << "the module went while a DC still draws with it";
  EXPECT_EQ(HTextOut(byName, 0, 0, "\x88\x61", 2), 1);
  EXPECT_EQ(HDeleteDC(byName), 1);
  EXPECT_FALSE(loaded());
  EXPECT_EQ(HDeleteDC(byHeader), 1);
}

}  // namespace
