// "HCTLStatic": font messages against the font store's cells, the text copy,
// images, kinds, colour bits and parent notes.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/hctl.h"
#include "hangul/quilh32.h"
#include "tests/wine/controls/support.h"

namespace {

using ctest::Parent;

// Plain text (kind 7): HTextOut at (0, 0), window-text ink on window paper.
TEST(Static, FontMessagesChangeTheFacesItDraws) {
  Parent parent;
  const std::string text = ctest::combination("가한A※");
  HWND st = parent.child("HCTLStatic", text.c_str(), 7, 100, 10, 10, 120, 16);
  ASSERT_NE(st, nullptr);
  SetWindowTextA(st, text.c_str());  // the creation text passed the ANSI code page
  UpdateWindow(st);
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), paper = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(ctest::mismatches(ctest::capture(st), ctest::expectedInk(text, "InternalGothic", "InternalMokraGothic"),
                              ink, paper),
            0);

  struct Row {
    const char* what;
    UINT message;
    WPARAM flags;
    const char* face;
    bool byHeader;
    const char* hangul;
    const char* english;
    const char* special;
  };
  const Row rows[] = {
      {"Hangul by name, flag 2", GetHwmSetHangulFont(), 2 | 4, "InternalMyungjo", false, "InternalMyungjo",
       "InternalMokraGothic", "KSSpecial"},
      {"English by name, flags 0", GetHwmSetEnglishFont(), 0, "InternalRoman", false, "InternalMyungjo",
       "InternalRoman", "KSSpecial"},
      {"Hangul by header, flag 1", GetHwmSetHangulFont(), 1 | 4, "InternalPilgi", true, "InternalPilgi",
       "InternalRoman", "KSSpecial"},
      {"special by name", GetHwmSetSpecialFont(), 2 | 4, "VaskeloSpecial", false, "InternalPilgi", "InternalRoman",
       "VaskeloSpecial"},
      {"English by header", GetHwmSetEnglishFont(), 1 | 4, "InternalET4000", true, "InternalPilgi",
       "InternalET4000", "VaskeloSpecial"},
  };
  for (const Row& r : rows) {
    LPARAM arg = reinterpret_cast<LPARAM>(r.face);
    QuilFontHeader* header = nullptr;
    if (r.byHeader) {
      const int kind = r.message == GetHwmSetHangulFont() ? 1 : 2;
      char face[64];
      lstrcpynA(face, r.face, sizeof face);  // the store may write into the name it is given
      header = SelectQuilFont(face, nullptr, kind);
      ASSERT_NE(header, nullptr) << r.what;
      arg = reinterpret_cast<LPARAM>(header);
    }
    SendMessageA(st, r.message, r.flags, arg);
    InvalidateRect(st, nullptr, TRUE);
    UpdateWindow(st);
    EXPECT_EQ(ctest::mismatches(ctest::capture(st), ctest::expectedInk(text, r.hangul, r.english, r.special), ink,
                                paper),
              0)
        << r.what;
  }
  // A face name longer than any field is cut, not copied past the block.
  const std::string longFace(5000, 'x');
  SendMessageA(st, GetHwmSetHangulFont(), 2 | 4, reinterpret_cast<LPARAM>(longFace.c_str()));
  EXPECT_TRUE(IsWindow(st));
}

TEST(Static, KeepsItsOwnTextBytesAndAnswersLikeAStatic) {
  Parent parent;
  HWND st = parent.child("HCTLStatic", "", 0, 101, 10, 10, 100, 20);
  const std::string text = ctest::combination("하나 漢 ※");
  EXPECT_EQ(SendMessageA(st, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())), 1);
  char back[64] = {};
  EXPECT_EQ(GetWindowTextLengthA(st), static_cast<int>(text.size()));
  EXPECT_EQ(SendMessageA(st, WM_GETTEXT, sizeof back, reinterpret_cast<LPARAM>(back)),
            static_cast<LRESULT>(text.size()));
  EXPECT_EQ(std::string(back), text) << "no byte lost to the ANSI code page";
  // A buffer that would cut a two-byte character ends before it.
  EXPECT_EQ(SendMessageA(st, WM_GETTEXT, 2, reinterpret_cast<LPARAM>(back)), 0);
  EXPECT_EQ(SendMessageA(st, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(back)), 2);
  EXPECT_EQ(SendMessageA(st, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  EXPECT_EQ(SendMessageA(st, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(SendMessageA(st, WM_ERASEBKGND, 0, 0), 1);
  HICON a = LoadIconA(nullptr, IDI_APPLICATION), b = LoadIconA(nullptr, IDI_HAND);
  EXPECT_EQ(SendMessageA(st, STM_SETICON, reinterpret_cast<WPARAM>(a), 0), 0);
  EXPECT_EQ(SendMessageA(st, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(a));
  EXPECT_EQ(SendMessageA(st, 0xFFE, reinterpret_cast<WPARAM>(b), 1), reinterpret_cast<LRESULT>(a));
  EXPECT_EQ(SendMessageA(st, STM_SETICON, 0, 0), reinterpret_cast<LRESULT>(b));
}

TEST(Static, TellsItsParentOfCreationAndDestruction) {
  Parent parent;
  HWND st = parent.child("HCTLStatic", "", 0, 77, 0, 0, 10, 10);
  ASSERT_NE(st, nullptr);
  DestroyWindow(st);
  int created = 0, destroyed = 0;
  for (const auto& n : parent.notes) {
    if (n.message != WM_PARENTNOTIFY || reinterpret_cast<HWND>(n.lParam) != st) continue;
    if (n.wParam == MAKEWPARAM(WM_CREATE, 77)) ++created;
    if (n.wParam == MAKEWPARAM(WM_DESTROY, 77)) ++destroyed;
  }
  EXPECT_GE(created, 1);
  EXPECT_GE(destroyed, 1);
}

TEST(Static, KindsDrawTheirShapesAndImages) {
  Parent parent;
  // Light-grey panel with a raised frame.
  auto p = ctest::capture(parent.child("HCTLStatic", "", 0xD003, 1, 0, 0, 40, 30));
  EXPECT_EQ(p.at(20, 15), 0xC0C0C0u);
  EXPECT_EQ(p.at(0, 0), 0xFFFFFFu);
  EXPECT_EQ(p.at(39, 29), 0x808080u);
  // The sunken window-colour form.
  p = ctest::capture(parent.child("HCTLStatic", "", 0xC002, 2, 50, 0, 40, 30));
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(p.at(20, 15), static_cast<COLORREF>(GetRValue(window) << 16 | GetGValue(window) << 8 | GetBValue(window)));
  EXPECT_EQ(p.at(0, 0), 0x808080u);
  // An etched separator: black above, white below.
  p = ctest::capture(parent.child("HCTLStatic", "", 8, 3, 100, 0, 60, 5));
  EXPECT_EQ(p.at(10, 0), 0u);
  EXPECT_EQ(p.at(10, 4), 0xFFFFFFu);
  // A bitmap named by the text, from the library: the red disc of "HAND".
  p = ctest::capture(parent.child("HCTLStatic", "HAND", 4, 4, 0, 40, 48, 64));
  EXPECT_EQ(p.at(24, 12), 0xC80000u);
  // An unknown name falls back to "DefaultBitmap" (grey, white frame).
  p = ctest::capture(parent.child("HCTLStatic", "NoSuchBitmap", 4, 5, 60, 40, 32, 32));
  EXPECT_EQ(p.at(0, 0), 0xFFFFFFu);
  EXPECT_EQ(p.at(16, 16), 0xC0C0C0u);
  HWND icon = parent.child("HCTLStatic", "NoSuchIcon", 1, 6, 100, 40, 32, 32);
  EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "DefaultIcon";
}

// Text kinds on light grey: flat (0), raised (5: white one pixel down and
// right under the ink) and sunken (6: the white over the ink), single line.
TEST(Static, FlatRaisedAndSunkenText) {
  Parent parent;
  const std::string text = ctest::combination("가A");
  const auto ink = ctest::expectedInk(text, "InternalGothic", "InternalMokraGothic");
  const COLORREF sys = GetSysColor(COLOR_BTNTEXT);
  const COLORREF inkColour = GetRValue(sys) << 16 | GetGValue(sys) << 8 | GetBValue(sys);
  const auto inkAt = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < ink.width && y < ink.height && ink.ink[static_cast<size_t>(y) * ink.width + x];
  };
  struct Row {
    const char* what;
    DWORD kind;
  };
  int id = 20;
  for (const Row r : {Row{"flat", 0}, Row{"raised", 5}, Row{"sunken", 6}}) {
    HWND st = parent.child("HCTLStatic", "", 0x1000 | r.kind, id++, 0, 0, 60, 16);
    ASSERT_NE(st, nullptr);
    SetWindowTextA(st, text.c_str());
    InvalidateRect(st, nullptr, TRUE);
    UpdateWindow(st);
    const auto p = ctest::capture(st);
    int wrong = 0, overlap = 0;  // where raised and sunken differ
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const bool front = inkAt(x, y), shadow = r.kind != 0 && inkAt(x - 1, y - 1);
        overlap += front && shadow;
        COLORREF expected = 0xC0C0C0;
        if (r.kind == 5) expected = front ? inkColour : shadow ? 0xFFFFFF : expected;
        else expected = shadow ? 0xFFFFFF : front ? inkColour : expected;
        wrong += p.at(x, y) != expected;
      }
    EXPECT_EQ(wrong, 0) << r.what;
    if (r.kind != 0) EXPECT_GT(overlap, 0) << r.what;
    DestroyWindow(st);
  }
}

TEST(Static, ColourBitFourTakesTheParentsBrush) {
  Parent parent;
  parent.ctlColourBrush = CreateSolidBrush(RGB(0, 0, 255));
  HWND st = parent.child("HCTLStatic", "", 0, 8, 0, 0, 60, 20);
  auto p = ctest::capture(st);
  EXPECT_EQ(p.at(55, 2), 0xC0C0C0u) << "own light grey";
  HCTLSetCtlColorBits(st, 4);
  InvalidateRect(st, nullptr, TRUE);
  UpdateWindow(st);
  p = ctest::capture(st);
  EXPECT_EQ(p.at(55, 2), 0x0000FFu) << "the parent's brush";
  DestroyWindow(st);
  DeleteObject(parent.ctlColourBrush);
  parent.ctlColourBrush = nullptr;
}

}  // namespace
