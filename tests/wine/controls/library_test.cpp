// The library as a process sees it: version, classes, registered messages,
// the export table of both builds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "controls/hctl.h"
#include "tests/wine/controls/support.h"

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

// Every export by name in both builds; the second's HCTL names carry HCTLW.
TEST(Library, EveryExportIsPresentByNameInBothBuilds) {
  const char* const prefixed[] = {"GetVersion",        "SetCtlColorBits",   "DlgProc",       "StaticWndFn",
                                  "BitmapButtonWndFn", "ButtonWndFn",       "RadioButtonWndFn", "CheckBoxWndFn",
                                  "LineEditWndFn",     "EditWndFn"};
  const char* const plain[] = {"GetHwmSetHangulFont", "GetHwmSetHanjaFont", "GetHwmSetSpecialFont",
                               "GetHwmSetEnglishFont", "GetHwmSetKSSMSpecialFont", "CreateDialogHeader",
                               "CreateDialogItem",    "HMessageBox",        "WMessageBox",
                               "MsgBoxDlgFn",         "HanjaInput",         "HanjaInputDlgFn",
                               "SpecialInput",        "SpecialInputDlgFn",  "GetFontInfo"};
  for (const char* dll : {"HCTL32.DLL", "HCTLW32.DLL"}) {
    HMODULE module = LoadLibraryA(dll);
    ASSERT_NE(module, nullptr) << dll;
    const std::string prefix = std::string(dll) == "HCTL32.DLL" ? "HCTL" : "HCTLW";
    for (const char* name : prefixed)
      EXPECT_NE(GetProcAddress(module, (prefix + name).c_str()), nullptr) << dll << " " << prefix + name;
    for (const char* name : plain) EXPECT_NE(GetProcAddress(module, name), nullptr) << dll << " " << name;
    // The ordinals of the .def files.
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(1)), GetProcAddress(module, (prefix + "GetVersion").c_str()));
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(30)), GetProcAddress(module, "HanjaInput"));
    FreeLibrary(module);
  }
}

TEST(Library, WindowExtraBytesHoldPointers) {
  struct Row {
    const char* cls;
    int bytes;
  };
  const int w = static_cast<int>(sizeof(LONG_PTR));
  const Row rows[] = {{"HCTLDlg", DLGWINDOWEXTRA},    {"HCTLMsgBoxDlg", DLGWINDOWEXTRA + 4},
                      {"HCTLStatic", 3 * w},          {"HCTLBitmapButton", 2 * w},
                      {"HCTLButton", 3 * w},          {"HCTLRadioButton", 3 * w},
                      {"HCTLCheckBox", 3 * w},        {"HCTLLineEdit", w},
                      {"HCTLEdit", 2 * w}};
  for (const Row& r : rows) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(nullptr, r.cls, &wc)) << r.cls;
    EXPECT_EQ(wc.cbWndExtra, r.bytes) << r.cls;
  }
}

// The colour bits land only where a class keeps them: the static and the
// multi-line edit. The line edit's word 0 is its state and stays.
TEST(Library, ColourBitsOnlyWhereKept) {
  ctest::Parent parent;
  HWND st = parent.child("HCTLStatic", "", 0, 10, 0, 0, 50, 20);
  HWND edit = parent.child("HCTLEdit", "", 0, 11, 0, 30, 50, 20);
  HWND line = parent.child("HCTLLineEdit", "", 0, 12, 0, 60, 50, 20);
  ASSERT_TRUE(st && edit && line);
  EXPECT_EQ(HCTLSetCtlColorBits(st, 0x12345), 0);
  EXPECT_EQ(HCTLSetCtlColorBits(st, 4), 0x2345) << "only the low 16 bits are kept";
  EXPECT_EQ(GetWindowLongPtrA(st, 0), 4);
  EXPECT_EQ(HCTLSetCtlColorBits(edit, 0xFFFF0004), 0);
  EXPECT_EQ(GetWindowLongPtrA(edit, 0), 4);
  SetWindowLongPtrA(line, 0, 0x5A5A);
  EXPECT_EQ(HCTLSetCtlColorBits(line, 4), 0);
  EXPECT_EQ(GetWindowLongPtrA(line, 0), 0x5A5A);
  EXPECT_EQ(HCTLSetCtlColorBits(parent.hwnd(), 4), 0);
  EXPECT_EQ(HCTLSetCtlColorBits(nullptr, 4), 0);
}

}  // namespace
