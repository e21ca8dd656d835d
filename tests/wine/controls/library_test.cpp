// The library as a process sees it: version, classes, registered messages,
// the export table of both builds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls/hctl.h"

namespace {

const char* const kClassSuffixes[] = {"Dlg",         "MsgBoxDlg", "Static",   "BitmapButton", "Button",
                                      "RadioButton", "CheckBox",  "LineEdit", "Edit"};

// The program's import: linked through the import library.
TEST(Library, VersionThroughTheImportLibrary) { EXPECT_EQ(HCTLGetVersion(), 0x0101); }

TEST(Library, ClassesAreRegisteredWithTheirStyles) {
  struct Row {
    const char* suffix;
    UINT style;
  };
  const Row rows[] = {{"Dlg", 0x400B},         {"MsgBoxDlg", 0x400B}, {"Static", 0x400B},
                      {"BitmapButton", 0x400B}, {"Button", 0x400B},    {"RadioButton", 0x4003},
                      {"CheckBox", 0x4003},     {"LineEdit", 0x4003},  {"Edit", 0x4003}};
  for (const Row& row : rows) {
    const std::string name = std::string("HCTL") + row.suffix;
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, name.c_str(), &wc)) << name;
    EXPECT_EQ(wc.style, row.style) << name;
    EXPECT_NE(wc.lpfnWndProc, nullptr) << name;
  }
}

TEST(Library, SecondBuildRegistersItsOwnClassesOnceAndRemovesThemOnLastFree) {
  HMODULE first = LoadLibraryA("HCTLW32.DLL");
  ASSERT_NE(first, nullptr);
  HMODULE second = LoadLibraryA("HCTLW32.DLL");
  ASSERT_EQ(first, second);
  auto version = reinterpret_cast<WORD(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(first, "HCTLWGetVersion")));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version(), 0x0100);
  WNDCLASSA wc = {};
  for (const char* suffix : kClassSuffixes)
    EXPECT_TRUE(GetClassInfoA(nullptr, (std::string("HCTLW") + suffix).c_str(), &wc)) << suffix;
  FreeLibrary(second);
  EXPECT_TRUE(GetClassInfoA(nullptr, "HCTLWDlg", &wc)) << "still loaded once";
  FreeLibrary(first);
  for (const char* suffix : kClassSuffixes)
    EXPECT_FALSE(GetClassInfoA(nullptr, (std::string("HCTLW") + suffix).c_str(), &wc)) << suffix;
  // HCTL32's classes are untouched.
  EXPECT_TRUE(GetClassInfoA(nullptr, "HCTLStatic", &wc));
}

TEST(Library, FontMessagesAreTheRegisteredNames) {
  EXPECT_EQ(GetHwmSetHangulFont(), RegisterWindowMessageA("HWM_SETHANGULFONT"));
  EXPECT_EQ(GetHwmSetHanjaFont(), RegisterWindowMessageA("HWM_SETHANJAFONT"));
  EXPECT_EQ(GetHwmSetSpecialFont(), RegisterWindowMessageA("HWM_SETSPECIALFONT"));
  EXPECT_EQ(GetHwmSetEnglishFont(), RegisterWindowMessageA("HWM_SETENGLISHFONT"));
  EXPECT_EQ(GetHwmSetKSSMSpecialFont(), RegisterWindowMessageA("HWM_SETKSSMSPECIALFONT"));
  EXPECT_GE(GetHwmSetHangulFont(), 0xC000u);
}

}  // namespace
