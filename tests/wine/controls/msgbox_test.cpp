// HMessageBox and WMessageBox run modally and driven from inside their loop:
// layout, default button, Enter, caption, Hangul pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls/hctl.h"
#include "controls/msgbox_layout.h"
#include "hangul/quilh32.h"
#include "tests/wine/controls/support.h"

namespace {

int cellWidth(const char* face, int kind) {
  char name[64];
  lstrcpynA(name, face, sizeof name);  // the store upper-cases the name it is given
  const QuilFontHeader* header = SelectQuilFont(name, nullptr, kind);
  return header != nullptr ? header->cellWidth : 0;
}

// The width of a line of text from the cell widths of the box's fonts (a
// registered DC's Hangul default and the box's English face).
int lineWidth(const std::string& text) {
  const int hangul = cellWidth("InternalMyungjo", 1), english = cellWidth("InternalMokraGothic", 2);
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      width += hangul;
      ++i;
    } else {
      width += english;
    }
  }
  return width;
}

SIZE measured(const std::string& text) {
  HDC dc = HCreateDC("DISPLAY", nullptr, nullptr, nullptr);
  HSelectEnglishObject(dc, "InternalMokraGothic", nullptr);
  RECT r = {0, 0, 350, 70};
  HDrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  HDeleteDC(dc);
  return SIZE{lineWidth(text), r.bottom};
}

// Pixels of a template size after the trip through dialog units.
int roundTripX(int px) { return MulDiv(px * 4 / LOWORD(GetDialogBaseUnits()), LOWORD(GetDialogBaseUnits()), 4); }
int roundTripY(int px) { return MulDiv(px * 8 / HIWORD(GetDialogBaseUnits()), HIWORD(GetDialogBaseUnits()), 8); }

struct Seen {
  std::string caption;
  int buttons = 0;
  int defaultId = 0;
  std::vector<int> ids;
  SIZE client = {};
  std::string text;
  ctest::Pixels textPixels;
};

// Reads the box, then presses Enter on the focused control.
Seen runWithEnter(UINT type, const std::string& text, const char* caption,
                  int(WINAPI* box)(HWND, LPCSTR, LPCSTR, UINT) = nullptr, int* result = nullptr) {
  Seen seen;
  ctest::Parent owner;
  ctest::ModalDriver driver("HCTLMsgBoxDlg", [&](HWND dialog) {
    char buffer[128] = {};
    GetWindowTextA(dialog, buffer, sizeof buffer);
    seen.caption = buffer;
    RECT rc;
    GetClientRect(dialog, &rc);
    seen.client = {rc.right, rc.bottom};
    for (HWND b : ctest::childrenOfClass(dialog, "HCTLBitmapButton")) {
      ++seen.buttons;
      seen.ids.push_back(GetDlgCtrlID(b));
      if (SendMessageA(b, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) seen.defaultId = GetDlgCtrlID(b);
    }
    HWND textStatic = GetDlgItem(dialog, 2705);
    GetWindowTextA(textStatic, buffer, sizeof buffer);
    seen.text = buffer;
    UpdateWindow(dialog);
    seen.textPixels = ctest::capture(textStatic);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(GetFocus(), WM_KEYUP, VK_RETURN, 0);
  });
  ctest::Watchdog watchdog("a message box", 30000);
  const int r = (box != nullptr ? box : HMessageBox)(owner.hwnd(), text.c_str(), caption, type);
  EXPECT_TRUE(driver.ran());
  if (result != nullptr) *result = r;
  return seen;
}

TEST(HMessageBoxTest, EachTypeHasTheLayoutsButtonsAndDefault) {
  const std::string text = ctest::combination("전송을 마쳤습니다.");
  const SIZE size = measured(text);
  struct Row {
    UINT type;
    int expected;  // the default's identifier, returned on Enter
  };
  const Row rows[] = {{MB_OK, 1},
                      {MB_OKCANCEL, 1},
                      {MB_OKCANCEL | MB_DEFBUTTON2, 2},
                      {MB_ABORTRETRYIGNORE | MB_ICONHAND, 3},
                      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, 5},
                      {MB_YESNOCANCEL | MB_DEFBUTTON3, 2},
                      {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, 7},
                      {MB_YESNO | MB_ICONEXCLAMATION, 6},
                      {MB_RETRYCANCEL | MB_ICONASTERISK | MB_DEFBUTTON2, 2}};
  for (const Row& r : rows) {
    const kesta::controls::MsgBoxLayout m = kesta::controls::layoutMessageBox(size.cx, size.cy, r.type);
    int result = -5;
    const Seen seen = runWithEnter(r.type, text, "Transfer", nullptr, &result);
    EXPECT_EQ(result, r.expected) << std::hex << r.type;
    EXPECT_EQ(seen.caption, "Transfer");
    EXPECT_EQ(seen.buttons, m.buttonCount) << std::hex << r.type;
    EXPECT_EQ(seen.defaultId, m.buttons[m.defaultIndex].id) << std::hex << r.type;
    for (int i = 0; i < m.buttonCount && i < seen.buttons; ++i) EXPECT_EQ(seen.ids[i], m.buttons[i].id);
    EXPECT_EQ(seen.client.cx, roundTripX(m.templateWidth())) << std::hex << r.type;
    EXPECT_EQ(seen.client.cy, roundTripY(m.templateHeight())) << std::hex << r.type;
    EXPECT_EQ(seen.text, text) << "the text static keeps the combination code";
  }
}

// The box is as wide as its text, wrapped at 350 pixels: a short text gets a
// narrow box, widened to its button row where the row is wider.
TEST(HMessageBoxTest, WidthFollowsTheText) {
  const int english = cellWidth("InternalMokraGothic", 2);
  ASSERT_GT(english, 0);
  std::string words;  // "word word ..." wraps: its widest line holds as many words as fit
  for (int i = 0; i < 30; ++i) words += "word ";
  const int perLine = (350 + english) / (5 * english);
  struct Row {
    UINT type;
    std::string text;
    int textWidth;
  };
  const Row rows[] = {{MB_OK, "Hi", 2 * english},
                      {MB_YESNOCANCEL, "Hi", 2 * english},
                      {MB_OK | MB_ICONHAND, "Saved 12 files.", 15 * english},
                      {MB_OK, words, perLine * 5 * english - english}};
  for (const Row& r : rows) {
    const kesta::controls::MsgBoxLayout m = kesta::controls::layoutMessageBox(r.textWidth, 16, r.type);
    const Seen seen = runWithEnter(r.type, r.text, "Width");
    EXPECT_EQ(seen.client.cx, roundTripX(m.templateWidth())) << r.text << " type " << r.type;
  }
}

TEST(HMessageBoxTest, NullCaptionIsError) {
  EXPECT_EQ(runWithEnter(MB_OK, "x", nullptr).caption, "Error");
}

// Korean text shows as the font store's Hangul, not as "?", whatever the ANSI code page.
TEST(HMessageBoxTest, KoreanTextShowsAsHangulPixels) {
  const std::string text = ctest::combination("하나 둘 漢 ※");
  // The library draws Hanja from the Windows directory's HANJA.FNT when one is there.
  const std::vector<uint8_t> hanja = ctest::fileBytes(ctest::inWindowsDirectory("HANJA.FNT"));
  const auto ink = ctest::expectedInk(text, "InternalGothic", "InternalMokraGothic", "KSSpecial", hanja);
  const COLORREF textColour = GetSysColor(COLOR_BTNTEXT);
  const Seen fromJohab = runWithEnter(MB_OK, text, "HMessageBox");
  EXPECT_EQ(ctest::mismatches(fromJohab.textPixels, ink, textColour, RGB(192, 192, 192)), 0);
  // WMessageBox takes code page 949 and shows the same.
  const std::string ks = ctest::cp949("하나 둘 漢 ※");
  const Seen fromKs = runWithEnter(MB_OK, ks, "WMessageBox", WMessageBox);
  EXPECT_EQ(ctest::mismatches(fromKs.textPixels, ink, textColour, RGB(192, 192, 192)), 0);
  // The second build keeps code page 949 in its controls and draws through the W forms.
  HMODULE wide = LoadLibraryA("HCTLW32.DLL");
  ASSERT_NE(wide, nullptr);
  using Box = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
  auto wideH = reinterpret_cast<Box>(reinterpret_cast<void*>(GetProcAddress(wide, "HMessageBox")));
  ASSERT_NE(wideH, nullptr);
  Seen seen;
  {
    ctest::Parent owner;
    ctest::ModalDriver driver("HCTLWMsgBoxDlg", [&](HWND dialog) {
      HWND textStatic = GetDlgItem(dialog, 2705);
      char buffer[64] = {};
      GetWindowTextA(textStatic, buffer, sizeof buffer);
      seen.text = buffer;
      UpdateWindow(dialog);
      seen.textPixels = ctest::capture(textStatic);
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    });
    ctest::Watchdog watchdog("HCTLW32's message box", 30000);
    EXPECT_EQ(wideH(owner.hwnd(), text.c_str(), "HCTLW32", MB_OK), 1);
    EXPECT_TRUE(driver.ran());
  }
  EXPECT_EQ(seen.text, ks);
  EXPECT_EQ(ctest::mismatches(seen.textPixels, ink, textColour, RGB(192, 192, 192)), 0);
  FreeLibrary(wide);
}

}  // namespace
