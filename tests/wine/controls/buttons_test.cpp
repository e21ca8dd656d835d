// Bitmap buttons, push buttons, check boxes and radio buttons driven by messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/hctl.h"
#include "tests/wine/controls/support.h"

namespace {

using ctest::Parent;

int commandsFrom(const Parent& parent, HWND control) {
  int n = 0;
  for (const auto& note : parent.notes)
    if (note.message == WM_COMMAND && reinterpret_cast<HWND>(note.lParam) == control &&
        HIWORD(note.wParam) == 0 && LOWORD(note.wParam) == GetDlgCtrlID(control))
      ++n;
  return n;
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

TEST(BitmapButton, SizesItselfToItsBitmapsAndPaintsItsState) {
  Parent parent;
  struct Row {
    int id;
    DWORD style;
    LRESULT dlgCode;
    COLORREF border;
  };
  // 1: the library's "OK" faces; 99: no faces of its own, the generic ones.
  const Row rows[] = {{1, BS_DEFPUSHBUTTON, 0x2010, 0}, {2, 0, 0x2020, 0xFFFFFF}, {99, 0, 0x2020, 0xFFFFFF}};
  for (const Row& r : rows) {
    HWND b = parent.child("HCTLBitmapButton", "", r.style | WS_TABSTOP, r.id, 10, 10, 5, 5);
    ASSERT_NE(b, nullptr);
    RECT rc;
    GetClientRect(b, &rc);
    EXPECT_EQ(rc.right, 65) << r.id;
    EXPECT_EQ(rc.bottom, 41) << r.id;
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), r.dlgCode) << r.id;
    auto p = ctest::capture(b);
    EXPECT_EQ(p.at(0, 0), r.border) << r.id;
    EXPECT_EQ(p.at(1, 1), 0xFFFFFFu) << "the face's raised edge";
    SendMessageA(b, BM_SETSTATE, 1, 0);
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_PUSHED);
    p = ctest::capture(b);
    EXPECT_EQ(p.at(1, 1), 0x808080u) << "the pushed face";
    SendMessageA(b, BM_SETSTATE, 0, 0);
    EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 0);
    SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, 0);
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), 0x2010);
    SendMessageA(b, BM_SETSTYLE, BS_PUSHBUTTON, 0);
    EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), 0x2020);
    EnableWindow(b, FALSE);
    p = ctest::capture(b);
    int grey = 0;
    for (int x = 2; x < 60; ++x) grey += p.at(x, 20) == 0xC0C0C0u;
    EXPECT_GT(grey, 10) << "the disabled face lets the grey through the halftone";
    DestroyWindow(b);
  }
}

// Mouse and space sequences on the push-like buttons; the click reaches the parent.
TEST(PushButtons, ClicksReachTheParentOnlyWhenReleasedInside) {
  for (const char* cls : {"HCTLBitmapButton", "HCTLButton"}) {
    Parent parent;
    HWND b = parent.child(cls, "OK", WS_TABSTOP, 1, 10, 10, 70, 30);
    ASSERT_NE(b, nullptr) << cls;
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    EXPECT_EQ(GetCapture(), b) << cls;
    SendMessageA(b, WM_LBUTTONUP, 0, at(5, 5));
    EXPECT_EQ(commandsFrom(parent, b), 1) << cls;
    EXPECT_EQ(GetCapture(), nullptr) << cls;
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, at(500, 5));
    SendMessageA(b, WM_LBUTTONUP, 0, at(500, 5));
    EXPECT_EQ(commandsFrom(parent, b), 1) << cls << ": released outside";
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, at(500, 5));
    SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, at(6, 6));
    SendMessageA(b, WM_LBUTTONUP, 0, at(6, 6));
    EXPECT_EQ(commandsFrom(parent, b), 2) << cls << ": came back inside";
    ctest::pressWithSpace(b);
    EXPECT_EQ(commandsFrom(parent, b), 3) << cls << ": space";
    SendMessageA(b, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(commandsFrom(parent, b), 3) << cls << ": a lone key-up";
  }
}

TEST(PushButtons, TextButtonTakesAFaceNameWithAnyFlags) {
  Parent parent;
  HWND b = parent.child("HCTLButton", "", 0, 5, 0, 0, 80, 30);
  const std::string text = ctest::combination("확인");
  SendMessageA(b, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  UpdateWindow(b);
  const auto before = ctest::capture(b);
  SendMessageA(b, GetHwmSetHangulFont(), 0, reinterpret_cast<LPARAM>("InternalPilgi"));
  InvalidateRect(b, nullptr, TRUE);
  UpdateWindow(b);
  const auto after = ctest::capture(b);
  EXPECT_NE(before.rgb, after.rgb) << "the label is drawn with the new face";
  int ink = 0;
  for (COLORREF c : after.rgb) ink += c == 0;
  EXPECT_GT(ink, 20);
}

TEST(CheckBox, StylesSetAndToggleTheirChecks) {
  struct Row {
    DWORD style;
    int afterClick;      // BM_GETCHECK after one click from unchecked
    int afterSetTwo;     // BM_GETCHECK after BM_SETCHECK 2
  };
  const Row rows[] = {{BS_CHECKBOX, 0, 1}, {BS_AUTOCHECKBOX, 1, 1}, {BS_3STATE, 0, 2}, {BS_AUTO3STATE, 1, 2}};
  for (const Row& r : rows) {
    Parent parent;
    HWND c = parent.child("HCTLCheckBox", "", r.style, 40, 0, 0, 100, 20);
    EXPECT_EQ(SendMessageA(c, WM_GETDLGCODE, 0, 0), 0x2000);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
    EXPECT_EQ(SendMessageA(c, BM_GETSTATE, 0, 0), BST_PUSHED);
    SendMessageA(c, WM_LBUTTONUP, 0, at(3, 3));
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), r.afterClick) << r.style;
    EXPECT_EQ(commandsFrom(parent, c), 1) << r.style;
    SendMessageA(c, BM_SETCHECK, 2, 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), r.afterSetTwo) << r.style;
    SendMessageA(c, BM_SETCHECK, 0, 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0) << r.style;
    ctest::pressWithSpace(c);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), r.afterClick) << r.style << ": space";
    EXPECT_EQ(commandsFrom(parent, c), 2) << r.style;
  }
}

TEST(RadioButton, CheckingOneClearsTheOthersOfItsGroupOnly) {
  Parent parent;
  HWND a = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON | WS_GROUP, 50, 0, 0, 80, 20);
  HWND b = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON, 51, 0, 20, 80, 20);
  HWND c = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON, 52, 0, 40, 80, 20);
  HWND plain = parent.child("HCTLRadioButton", "", BS_RADIOBUTTON, 53, 0, 60, 80, 20);
  HWND d = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON | WS_GROUP, 54, 0, 80, 80, 20);
  EXPECT_EQ(SendMessageA(a, WM_GETDLGCODE, 0, 0), DLGC_RADIOBUTTON);
  for (HWND w : {a, plain, d}) SendMessageA(w, BM_SETCHECK, 1, 0);
  SendMessageA(b, BM_SETCHECK, 1, 0);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), 1) << "not an automatic radio button";
  EXPECT_EQ(SendMessageA(d, BM_GETCHECK, 0, 0), 1) << "another group";
  EXPECT_TRUE(GetWindowLongPtrA(b, GWL_STYLE) & WS_TABSTOP);
  // A click on an automatic radio button checks it before reporting.
  SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
  SendMessageA(c, WM_LBUTTONUP, 0, at(3, 3));
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(commandsFrom(parent, c), 1);
}

// The group walk ends for disabled and hidden buttons too.
TEST(RadioButton, SetCheckOnDisabledOrHiddenButtonsReturns) {
  Parent parent;
  HWND a = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON | WS_GROUP | WS_DISABLED, 60, 0, 0, 80, 20);
  HWND b = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON | WS_DISABLED, 61, 0, 20, 80, 20);
  HWND c = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON, 62, 0, 40, 80, 20);
  ShowWindow(c, SW_HIDE);
  HWND lone = parent.child("HCTLRadioButton", "", BS_AUTORADIOBUTTON | WS_GROUP | WS_DISABLED, 63, 0, 60, 80, 20);
  ctest::Watchdog watchdog("BM_SETCHECK on a disabled radio button", 20000);
  SendMessageA(b, BM_SETCHECK, 1, 0);
  SendMessageA(c, BM_SETCHECK, 1, 0);
  SendMessageA(a, BM_SETCHECK, 1, 0);
  SendMessageA(lone, BM_SETCHECK, 1, 0);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), 0);
  EXPECT_EQ(SendMessageA(lone, BM_GETCHECK, 0, 0), 1);
}

TEST(Buttons, TellTheirParentOfCreationAndDestruction) {
  for (const char* cls : {"HCTLButton", "HCTLCheckBox", "HCTLRadioButton", "HCTLBitmapButton"}) {
    Parent parent;
    HWND w = parent.child(cls, "", 0, 33, 0, 0, 30, 20);
    DestroyWindow(w);
    int created = 0, destroyed = 0;
    for (const auto& n : parent.notes) {
      if (n.message != WM_PARENTNOTIFY || reinterpret_cast<HWND>(n.lParam) != w) continue;
      created += n.wParam == MAKEWPARAM(WM_CREATE, 33);
      destroyed += n.wParam == MAKEWPARAM(WM_DESTROY, 33);
    }
    EXPECT_GE(created, 1) << cls;
    EXPECT_GE(destroyed, 1) << cls;
  }
}

}  // namespace
