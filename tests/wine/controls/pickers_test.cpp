// HanjaInput and SpecialInput driven from inside their modal loops.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls/hctl.h"
#include "tests/wine/controls/support.h"

namespace {

struct Grid {
  std::vector<HWND> buttons;
  std::vector<int> ids;
  std::vector<POINT> places;
  std::vector<std::string> texts;
};

Grid readGrid(HWND dialog, const char* buttonClass = "HCTLButton") {
  Grid g;
  g.buttons = ctest::childrenOfClass(dialog, buttonClass);
  for (HWND b : g.buttons) {
    g.ids.push_back(GetDlgCtrlID(b));
    RECT r;
    GetWindowRect(b, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    g.places.push_back({r.left, r.top});
    char text[8] = {};
    GetWindowTextA(b, text, sizeof text);
    g.texts.push_back(text);
  }
  return g;
}

// The Hanja picker of both builds: caption, size (the Gothic cell: 16 x 16,
// buttons 24 x 24, eight to a row), 29 buttons for 가, and each button's
// Hanja drawn from the Hanja font handed over with HWM_SETHANJAFONT (the
// picker's own file is the Windows directory's, which a test cannot rely on).
TEST(HanjaInput, GaShowsTwentyNineHanjaButtonsInRowsOfEight) {
  ctest::Parent owner;
  HMODULE wide = LoadLibraryA("HCTLW32.DLL");
  ASSERT_NE(wide, nullptr);
  using Picker = int(WINAPI*)(HWND, WORD);
  const auto wideInput = reinterpret_cast<Picker>(reinterpret_cast<void*>(GetProcAddress(wide, "HanjaInput")));
  ASSERT_NE(wideInput, nullptr);
  const std::string hanjaFile = ctest::besideProgram("HANJA.FNT");
  const std::vector<uint8_t> hanja = ctest::fileBytes(hanjaFile);
  ASSERT_GT(hanja.size(), 0u) << "HANJA.FNT beside the program";
  struct Row {
    Picker input;
    const char *dialogClass, *buttonClass;
  };
  for (const Row& r : {Row{HanjaInput, "HCTLDlg", "HCTLButton"}, Row{wideInput, "HCTLWDlg", "HCTLWButton"}}) {
    Grid g;
    std::string caption;
    RECT client{};
    int inkMismatches = -1, blankInk = -1;
    ctest::ModalDriver driver(r.dialogClass, [&](HWND dialog) {
      g = readGrid(dialog, r.buttonClass);
      char text[64] = {};
      GetWindowTextA(dialog, text, sizeof text);
      caption = text;
      GetClientRect(dialog, &client);
      if (g.buttons.empty()) return;
      HWND first = g.buttons[0];
      HANDLE h = CreateFileA(hanjaFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      // First no Hanja file at all (the invalid handle draws nothing), then ours.
      const DWORD invalid[3] = {static_cast<DWORD>(reinterpret_cast<UINT_PTR>(INVALID_HANDLE_VALUE)), 16, 16};
      const DWORD values[3] = {static_cast<DWORD>(reinterpret_cast<UINT_PTR>(h)), 16, 16};
      const std::string code{static_cast<char>(g.ids[0] >> 8), static_cast<char>(g.ids[0])};
      SendMessageA(first, GetHwmSetHanjaFont(), 1, reinterpret_cast<LPARAM>(invalid));
      const ctest::Pixels blank = ctest::capture(first);
      const auto empty = ctest::expectedInk(code, "InternalGothic", "InternalMokraGothic", "KSSpecial");
      if (SendMessageA(first, GetHwmSetHanjaFont(), 1, reinterpret_cast<LPARAM>(values)) == 1) {
        const ctest::Pixels all = ctest::capture(first);
        const auto ink = ctest::expectedInk(code, "InternalGothic", "InternalMokraGothic", "KSSpecial", hanja);
        ctest::Pixels blankCell;
        blankCell.width = empty.width;
        blankCell.height = empty.height;
        for (int y = 0; y < ink.height; ++y)
          for (int x = 0; x < ink.width; ++x)
            blankCell.rgb.push_back(blank.at(x + (blank.width - ink.width) / 2, y + (blank.height - ink.height) / 2));
        blankInk = ctest::mismatches(blankCell, empty, GetSysColor(COLOR_BTNTEXT), RGB(192, 192, 192));
        ctest::Pixels cell;
        cell.width = ink.width;
        cell.height = ink.height;
        for (int y = 0; y < ink.height; ++y)
          for (int x = 0; x < ink.width; ++x)
            cell.rgb.push_back(all.at(x + (all.width - ink.width) / 2, y + (all.height - ink.height) / 2));
        inkMismatches = ctest::mismatches(cell, ink, GetSysColor(COLOR_BTNTEXT), RGB(192, 192, 192));
      }
      ctest::pressWithSpace(first);
      const DWORD none[3] = {0, 0, 0};
      SendMessageA(first, GetHwmSetHanjaFont(), 0, reinterpret_cast<LPARAM>(none));
      CloseHandle(h);
    });
    ctest::Watchdog watchdog("HanjaInput", 30000);
    EXPECT_EQ(r.input(owner.hwnd(), 0x8861) & 0xFFFF, 0xE031) << r.dialogClass;
    ASSERT_TRUE(driver.ran()) << r.dialogClass;
    EXPECT_EQ(caption, "Hanja Input Dialog") << r.dialogClass;
    EXPECT_NEAR(client.right, 16 * 8 + 64, 4) << r.dialogClass;  // pixels through dialog units
    EXPECT_NEAR(client.bottom, 24 * (29 / 8 + 1), 4) << r.dialogClass;
    EXPECT_EQ(blankInk, 0) << r.dialogClass << ": no Hanja file, no glyph";
    EXPECT_EQ(inkMismatches, 0) << r.dialogClass << ": the Hanja on the first button";
    ASSERT_EQ(g.buttons.size(), 29u) << r.dialogClass;
    for (int i = 0; i < 29; ++i) {
      const int code = g.ids[i];
      EXPECT_EQ(code >> 8, 0xE0) << i;
      if (r.input == HanjaInput)
        EXPECT_EQ(g.texts[i], std::string({static_cast<char>(code >> 8), static_cast<char>(code)})) << i;
      EXPECT_EQ(g.places[i].x, g.places[i % 8].x) << i;
      EXPECT_EQ(g.places[i].y, g.places[(i / 8) * 8].y) << i;
    }
    EXPECT_EQ(g.ids[0], 0xE031);
    EXPECT_LT(g.places[7].y, g.places[8].y);
    EXPECT_LT(g.places[0].x, g.places[1].x);
  }
  FreeLibrary(wide);
}

// Without an owner window the library's own module runs the dialog.
TEST(HanjaInput, LastReadingAndEscapeWithoutOwner) {
  Grid g;
  ctest::ModalDriver driver("HCTLDlg", [&](HWND dialog) {
    g = readGrid(dialog);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  ctest::Watchdog watchdog("HanjaInput", 30000);
  EXPECT_EQ(HanjaInput(nullptr, 0xD3A9), 2);
  ASSERT_EQ(g.ids.size(), 1u);
  EXPECT_EQ(g.ids[0] >> 8, 0xF9);
}

TEST(HanjaInput, SyllablesWithoutHanjaShowNothing) {
  ctest::Parent owner;
  for (WORD code : {0x8841, 0x8863, 0x0041, 0xFFFF}) {
    ctest::ModalDriver driver("HCTLDlg", [](HWND dialog) { EndDialog(dialog, 99); });
    EXPECT_EQ(HanjaInput(owner.hwnd(), code), 0) << std::hex << code;
    EXPECT_FALSE(driver.ran());
  }
}

// Both builds show the symbols themselves: their codes have no code page 949
// form, so HCTLW32 must not take its labels through it.
TEST(SpecialInput, ShowsTheHundredAndTwentyEightSymbols) {
  ctest::Parent owner;
  HMODULE wide = LoadLibraryA("HCTLW32.DLL");
  ASSERT_NE(wide, nullptr);
  using Picker = int(WINAPI*)(HWND, LPCSTR);
  const auto wideInput = reinterpret_cast<Picker>(reinterpret_cast<void*>(GetProcAddress(wide, "SpecialInput")));
  ASSERT_NE(wideInput, nullptr);
  struct Row {
    Picker input;
    const char* buttonClass;
    const char* face;
    int pressed;
  };
  const std::string longFace(2000, 'K');
  const Row rows[] = {{SpecialInput, "HCTLButton", nullptr, 0},
                      {SpecialInput, "HCTLButton", "KSSpecial", 127},
                      {SpecialInput, "HCTLButton", "VaskeloSpecial", 17},
                      {SpecialInput, "HCTLButton", longFace.c_str(), 5},
                      {wideInput, "HCTLWButton", nullptr, 3},
                      {wideInput, "HCTLWButton", "VaskeloSpecial", 126}};
  for (const Row& r : rows) {
    Grid g;
    int inkMismatches = -1;
    ctest::ModalDriver driver("#32770", [&](HWND dialog) {
      g = readGrid(dialog, r.buttonClass);
      // The pressed button shows its symbol in the face asked for (KSSpecial
      // for none, and for a name no font has the text library keeps its own).
      if (static_cast<size_t>(r.pressed) < g.buttons.size()) {
        HWND b = g.buttons[r.pressed];
        UpdateWindow(b);
        const ctest::Pixels all = ctest::capture(b);
        const std::string symbol{static_cast<char>(0xD4), static_cast<char>(0x80 + r.pressed)};
        const char* face = r.face != nullptr && std::string(r.face) == "VaskeloSpecial" ? "VaskeloSpecial" : "KSSpecial";
        const auto ink = ctest::expectedInk(symbol, "InternalGothic", "InternalMokraGothic", face);
        // The label is centred in the button, the cell 4 pixels in from each edge.
        ctest::Pixels cell;
        cell.width = ink.width;
        cell.height = ink.height;
        for (int y = 0; y < ink.height; ++y)
          for (int x = 0; x < ink.width; ++x) cell.rgb.push_back(all.at(x + (all.width - ink.width) / 2,
                                                                        y + (all.height - ink.height) / 2));
        inkMismatches = ctest::mismatches(cell, ink, GetSysColor(COLOR_BTNTEXT), RGB(192, 192, 192));
      }
      if (static_cast<size_t>(r.pressed) < g.buttons.size()) ctest::pressWithSpace(g.buttons[r.pressed]);
    });
    ctest::Watchdog watchdog("SpecialInput", 30000);
    EXPECT_EQ(r.input(owner.hwnd(), r.face), 0xD480 + r.pressed) << r.buttonClass;
    ASSERT_TRUE(driver.ran());
    EXPECT_EQ(inkMismatches, 0) << r.buttonClass << " " << (r.face != nullptr ? r.face : "(null)");
    ASSERT_EQ(g.buttons.size(), 128u);
    for (int i = 0; i < 128; ++i) {
      EXPECT_EQ(g.ids[i], 0xD480 + i);
      EXPECT_EQ(g.texts[i], std::string({static_cast<char>(0xD4), static_cast<char>(0x80 + i)}));
      EXPECT_EQ(g.places[i].x, g.places[i % 16].x) << i;
      EXPECT_EQ(g.places[i].y, g.places[(i / 16) * 16].y) << i;
    }
  }
  FreeLibrary(wide);
}

TEST(GetFontInfo, StopsOnNullAndGoesOnOtherwise) {
  EXPECT_EQ(GetFontInfo(nullptr, nullptr, 1, const_cast<char*>("InternalGothic")), 0);
  char face[] = "InternalGothic";  // the store may write into the name it is given
  QuilFontHeader* header = SelectQuilFont(face, nullptr, 1);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(GetFontInfo(nullptr, header, 1, const_cast<char*>("InternalGothic")), 1);
  EXPECT_EQ(GetFontInfo(nullptr, header, 2, const_cast<char*>("InternalGothic")), 1);
  EXPECT_EQ(GetFontInfo(nullptr, header, 1, nullptr), 1);
}

}  // namespace
