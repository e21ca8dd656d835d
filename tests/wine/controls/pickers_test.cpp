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

TEST(HanjaInput, GaShowsTwentyNineButtonsInRowsOfEight) {
  ctest::Parent owner;
  Grid g;
  ctest::ModalDriver driver("HCTLDlg", [&](HWND dialog) {
    g = readGrid(dialog);
    if (!g.buttons.empty()) ctest::pressWithSpace(g.buttons[0]);
  });
  ctest::Watchdog watchdog("HanjaInput", 30000);
  EXPECT_EQ(HanjaInput(owner.hwnd(), 0x8861) & 0xFFFF, 0xE031);
  ASSERT_TRUE(driver.ran());
  ASSERT_EQ(g.buttons.size(), 29u);
  for (int i = 0; i < 29; ++i) {
    const int code = g.ids[i];
    EXPECT_EQ(code >> 8, 0xE0) << i;
    EXPECT_EQ(g.texts[i], std::string({static_cast<char>(code >> 8), static_cast<char>(code)})) << i;
    EXPECT_EQ(g.places[i].x, g.places[i % 8].x) << i;
    EXPECT_EQ(g.places[i].y, g.places[(i / 8) * 8].y) << i;
  }
  EXPECT_EQ(g.ids[0], 0xE031);
  EXPECT_LT(g.places[7].y, g.places[8].y);
  EXPECT_LT(g.places[0].x, g.places[1].x);
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
