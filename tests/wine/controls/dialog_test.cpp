// CreateDialogHeader and CreateDialogItem, and the dialog class running them.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/hctl.h"
#include "tests/wine/controls/support.h"

namespace {

WORD word(const void* block, size_t at) {
  const auto* b = static_cast<const uint8_t*>(block);
  return static_cast<WORD>(b[at] | b[at + 1] << 8);
}

INT_PTR WINAPI nothing(HWND, UINT, WPARAM, LPARAM) { return 0; }

TEST(Templates, ItemsAppendOnFourByteBoundaries) {
  DWORD size = 0;
  void* t = CreateDialogHeader(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, &size, 8, 16, 160, 96, nullptr, "HCTLDlg", "Test");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(size % 4, 0u);
  EXPECT_EQ(word(t, 8), 0);
  const LONG units = GetDialogBaseUnits();
  EXPECT_EQ(word(t, 14), 160 * 4 / LOWORD(units));
  EXPECT_EQ(word(t, 16), 96 * 8 / HIWORD(units));
  const char* texts[] = {"", "A", "AB", "ABC"};
  for (int i = 0; i < 4; ++i) {
    const DWORD before = size;
    t = CreateDialogItem(t, &size, static_cast<WORD>(100 + i), WS_CHILD, 0, "HCTLStatic", 4, 4 + 20 * i, 60, 16,
                         texts[i]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(size % 4, 0u);
    EXPECT_EQ(before % 4, 0u);
    EXPECT_EQ(word(t, 8), i + 1);
    EXPECT_EQ(word(t, before + 16), 100 + i) << "identifier";
    EXPECT_EQ(word(t, before + 2) & 0x1000, 0x1000) << "WS_VISIBLE added";
  }
  // The dialog class runs it: children with their identifiers.
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(t), nullptr,
                                           nothing, 0);
  ASSERT_NE(dialog, nullptr);
  char cls[32];
  GetClassNameA(dialog, cls, sizeof cls);
  EXPECT_STREQ(cls, "HCTLDlg");
  for (int i = 0; i < 4; ++i) EXPECT_NE(GetDlgItem(dialog, 100 + i), nullptr);
  UpdateWindow(dialog);
  // The background and its two-pixel frame.
  const auto p = ctest::capture(dialog);
  EXPECT_EQ(p.at(p.width - 1, p.height - 1), 0x808080u);
  EXPECT_EQ(p.at(p.width - 2, p.height - 2), 0x808080u);
  EXPECT_EQ(p.at(p.width - 40, p.height - 10), 0xC0C0C0u);
  DestroyWindow(dialog);
  GlobalFree(t);
}

TEST(Templates, RefuseWhatTheyCannotTrust) {
  DWORD size = 0;
  EXPECT_EQ(CreateDialogHeader(0, 0, nullptr, 0, 0, 1, 1, nullptr, nullptr, nullptr), nullptr);
  void* t = CreateDialogHeader(0, 0, &size, 0, 0, 1, 1, nullptr, nullptr, nullptr);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(size, 24u);
  EXPECT_EQ(CreateDialogItem(nullptr, &size, 1, 0, 0, "HCTLStatic", 0, 0, 1, 1, ""), nullptr);
  EXPECT_EQ(CreateDialogItem(t, nullptr, 1, 0, 0, "HCTLStatic", 0, 0, 1, 1, ""), nullptr);
  DWORD tooBig = 1 << 20;
  EXPECT_EQ(CreateDialogItem(t, &tooBig, 1, 0, 0, "HCTLStatic", 0, 0, 1, 1, ""), nullptr) << "size beyond the block";
  DWORD tooSmall = 4;
  EXPECT_EQ(CreateDialogItem(t, &tooSmall, 1, 0, 0, "HCTLStatic", 0, 0, 1, 1, ""), nullptr);
  GlobalFree(t);
}

}  // namespace
