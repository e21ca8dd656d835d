// "HCTLLineEdit" and "HCTLEdit" under Wine: the clipboard's bytes, the edit
// messages, notifications, and the painted text against the font store. Real
// keys and clicks come from outside the program: tests/e2e/controls_test.py.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "controls/hctl.h"
#include "hangul/quilh32.h"
#include "tests/wine/controls/support.h"

namespace {

using ctest::Parent;

// Importing from HCTL32 loads it, which registers the classes.
const WORD kLibraryVersion = HCTLGetVersion();

std::string textOf(HWND edit) {
  char buffer[256] = {};
  const LRESULT n = SendMessageA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<size_t>(n));
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

std::string clipboardText() {
  std::string s;
  if (!OpenClipboard(nullptr)) return s;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      s = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return s;
}

void setClipboardText(const std::string& s) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  char* p = static_cast<char*>(GlobalLock(h));
  std::memcpy(p, s.c_str(), s.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

std::wstring clipboardUnicode() {
  std::wstring s;
  if (!OpenClipboard(nullptr)) return s;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      s = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return s;
}

void setClipboardUnicode(const std::wstring& s) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (s.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(h), s.c_str(), (s.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(h);
  SetClipboardData(CF_UNICODETEXT, h);
  CloseClipboard();
}

TEST(EditClipboard, CopyConvertsOneToSixAndPasteSixToOne) {
  Parent parent;
  for (const char* cls : {"HCTLLineEdit", "HCTLEdit"}) {
    HWND edit = parent.child(cls, "", ES_MULTILINE, 400, 10, 10, 200, 40);
    ASSERT_NE(edit, nullptr) << cls;
    SetWindowTextA(edit, bytes({0x88, 0x61, 'A', 0x90, 0x61}).c_str());  // 가A나
    SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(0, 3));
    SendMessageA(edit, WM_USER + 38, 0, 0);
    EXPECT_EQ(clipboardText(), bytes({0xB0, 0xA1, 'A'})) << cls;  // 가A in code page 949
    SendMessageA(edit, WM_COPY, 0, 0);
    SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(0, 3));
    SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ(clipboardText(), bytes({0x88, 0x61, 'A'})) << cls;  // unconverted
    EXPECT_EQ(clipboardUnicode(), L"\uAC00A") << cls;              // beside it, 가A as Unicode
    // Unicode text another program gave goes in as the internal code, even
    // by the paste that converts nothing.
    setClipboardUnicode(L"\uB2E4\uB620!");  // 다똠!
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(textOf(edit), bytes({0x94, 0x61, 0x99, 0xB1, '!'})) << cls;
    setClipboardText(bytes({0xB3, 0xAA, 'z', 0xB0}));  // 나z and a lone lead byte
    SetWindowTextA(edit, "");
    SendMessageA(edit, WM_USER + 40, 0, 0);
    EXPECT_EQ(textOf(edit), bytes({0x90, 0x61, 'z'})) << cls;
    DestroyWindow(edit);
  }
}

TEST(LineEditMessages, LimitsLinesAndNotifications) {
  Parent parent;
  HWND edit = parent.child("HCTLLineEdit", "", 0, 401, 10, 10, 200, 16);
  ASSERT_NE(edit, nullptr);
  parent.notes.clear();
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  for (char c : std::string("abcd")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(textOf(edit), "abc");
  int changes = 0, maxText = 0;
  for (const auto& n : parent.notes) {
    if (n.message != WM_COMMAND || LOWORD(n.wParam) != 401) continue;
    changes += HIWORD(n.wParam) == 0x300;
    maxText += HIWORD(n.wParam) == 0x501;
  }
  EXPECT_EQ(changes, 1);  // the line edit reports its first change only
  EXPECT_EQ(maxText, 1);
  // EM_GETLINE: the 16-bit size, never more than it.
  char out[16];
  std::memset(out, 'Z', sizeof out);
  const WORD size = 3;
  std::memcpy(out, &size, sizeof size);
  EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(out)), 2);
  EXPECT_EQ(std::string(out, 3), std::string("ab\0", 3));
  EXPECT_EQ(out[3], 'Z');
  // WM_GETTEXT never splits a two-byte character.
  SetWindowTextA(edit, bytes({'1', 0x88, 0x61}).c_str());
  char two[3] = {};
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, 2 + 1 - 1, reinterpret_cast<LPARAM>(two)), 1);
  // WM_SETTEXT with a shorter text clamps the caret.
  SetWindowTextA(edit, "abc");
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(3, 3));
  SetWindowTextA(edit, bytes({0x88, 0x61}).c_str());
  DWORD start = 9, end = 9;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 2u);
  // EM_SETHANDLE with a small block without a NUL.
  HLOCAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "wxyz", 4);
  GlobalUnlock(block);
  SendMessageA(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(block), 0);
  EXPECT_EQ(textOf(edit), "wxy");
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  for (int i = 0; i < 2000; ++i) SendMessageA(edit, WM_CHAR, 'q', 0);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 2003);
  HGLOBAL now = reinterpret_cast<HGLOBAL>(SendMessageA(edit, EM_GETHANDLE, 0, 0));
  ASSERT_NE(now, nullptr);
  EXPECT_GE(GlobalSize(now), 2004u);
  EXPECT_EQ(std::strlen(static_cast<const char*>(GlobalLock(now))), 2003u);
  GlobalUnlock(now);
}

// Leaving a line edit while a syllable is being composed completes it into
// the text (typing Hangul and then Tab or OK in a dialog); EN_SETFOCUS and
// EN_KILLFOCUS tell the parent; EM_SETMODIFY(0) lets the next change report
// EN_CHANGE again.
TEST(LineEditFocus, LeavingCompletesTheSyllable) {
  Parent parent;
  HWND edit = parent.child("HCTLLineEdit", "", 0, 405, 10, 10, 200, 16);
  ASSERT_NE(edit, nullptr);
  const auto count = [&](WORD code) {
    int n = 0;
    for (const auto& note : parent.notes)
      n += note.message == WM_COMMAND && LOWORD(note.wParam) == 405 && HIWORD(note.wParam) == code;
    return n;
  };
  SendMessageA(edit, WM_USER + 37, 1, 0);  // Hangul mode
  parent.notes.clear();
  SetFocus(edit);
  for (char c : {'r', 'k'}) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(textOf(edit), bytes({0x88, 0x61}));  // 가, still open
  SetFocus(parent.hwnd());
  SetFocus(edit);
  SendMessageA(edit, WM_CHAR, 's', 0);  // an open 가 would become 간
  const std::string text = textOf(edit);
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 2), bytes({0x88, 0x61}));
  EXPECT_EQ(count(0x100), 2);
  EXPECT_EQ(count(0x200), 1);
  EXPECT_EQ(count(0x300), 1);
  SendMessageA(edit, EM_SETMODIFY, 0, 0);
  SendMessageA(edit, WM_USER + 37, 0, 0);
  SendMessageA(edit, WM_CHAR, 'x', 0);
  EXPECT_EQ(count(0x300), 2);
}

TEST(MultiLineEditMessages, LinesAndReplaceSelection) {
  Parent parent;
  HWND edit = parent.child("HCTLEdit", "", ES_MULTILINE | WS_VSCROLL, 402, 10, 10, 200, 64);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, bytes({'a', 'b', '\r', '\n', 0x88, 0x61, '\r', '\n', 'x'}).c_str());
  EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 2, 0), 8);
  EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 3, 0), -1);
  EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, 5, 0), 2);
  EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, 4, 0), 1);
  char out[8];
  std::memset(out, 'Z', sizeof out);
  const WORD size = 2;
  std::memcpy(out, &size, sizeof size);
  EXPECT_EQ(SendMessageA(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(out)), 0);  // 가 does not fit in 1 byte
  EXPECT_EQ(out[2], 'Z');
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("Q"));  // no selection: nothing
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 9);
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(0, 2));
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("Q"));
  EXPECT_EQ(textOf(edit).substr(0, 3), "Q\r\n");
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(5, 5));  // start not below end: no selection
  EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), 0);
}

TEST(EditPaint, TextAndSelectionAgainstTheFontStore) {
  Parent parent;
  const std::string text = bytes({0x88, 0x61, 'A', 0x90, 0x61});  // 가A나
  HWND edit = parent.child("HCTLLineEdit", "", 0, 403, 10, 10, 120, 16);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, text.c_str());
  InvalidateRect(edit, nullptr, TRUE);
  UpdateWindow(edit);
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), paper = GetSysColor(COLOR_WINDOW);
  const auto expected = ctest::expectedInk(text, "InternalGothic", "InternalMokraGothic");
  auto shifted = [](const ctest::Pixels& p, int dx) {
    ctest::Pixels s;
    s.width = p.width - dx;
    s.height = p.height;
    for (int y = 0; y < p.height; ++y)
      for (int x = dx; x < p.width; ++x) s.rgb.push_back(p.at(x, y));
    return s;
  };
  EXPECT_EQ(ctest::mismatches(shifted(ctest::capture(edit), 2), expected, ink, paper), 0);
  // Select 나 (bytes 3..5): white on blue in its cell.
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(3, 5));
  UpdateWindow(edit);
  const int cellX = 2 + expected.width - 16;
  EXPECT_EQ(ctest::mismatches(shifted(ctest::capture(edit), cellX),
                              ctest::expectedInk(text.substr(3), "InternalGothic", "InternalMokraGothic"),
                              RGB(255, 255, 255), RGB(0, 0, 255)),
            0);
  EXPECT_EQ(ctest::mismatches(shifted(ctest::capture(edit), 2), ctest::expectedInk(text.substr(0, 3), "InternalGothic",
                                                                             "InternalMokraGothic"),
                              ink, paper),
            0);
}

// Ctrl and Shift held for the keys sent next (the edits read the key state).
void holdKeys(bool control, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = control ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
}
void holdControl(bool down) { holdKeys(down, false); }

// The line edit's editing keys and its Hangul-mode message: each row starts
// from a text and a selection (anchor, end), presses one key with modifiers,
// types characters, and checks the text and the clipboard.
TEST(LineEditKeys, DeleteInsertAndHangulMode) {
  Parent parent;
  HWND edit = parent.child("HCTLLineEdit", "", 0, 406, 10, 10, 200, 16);
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  struct Row {
    const char* what;
    std::string text;
    WORD anchor, end;
    WPARAM key;  // 0: none
    bool control, shift;
    int hangulMode;  // -1: WM_USER + 37 not sent
    const char* typed;
    std::string expectText, expectClipboard;
  };
  const std::string ga = bytes({0x88, 0x61});
  const Row rows[] = {
      {"Delete at the caret", "abc", 1, 1, VK_DELETE, false, false, -1, "", "ac", "keep"},
      {"Delete over a two-byte character", "a" + ga + "b", 1, 1, VK_DELETE, false, false, -1, "", "ab", "keep"},
      {"Delete at the end", "ab", 2, 2, VK_DELETE, false, false, -1, "", "ab", "keep"},
      {"Delete with a selection", "abcd", 1, 3, VK_DELETE, false, false, -1, "", "ad", "keep"},
      {"Ctrl+Delete clears the selection", "abcd", 1, 3, VK_DELETE, true, false, -1, "", "ad", "keep"},
      {"Shift+Delete cuts it", "abcd", 1, 3, VK_DELETE, false, true, -1, "", "ad", "bc"},
      {"Ctrl+Insert copies", "abcd", 1, 3, VK_INSERT, true, false, -1, "", "abcd", "bc"},
      {"Shift+Insert pastes", "ab", 1, 1, VK_INSERT, false, true, -1, "", "akeepb", "keep"},
      {"Insert: overwrite", "abc", 1, 1, VK_INSERT, false, false, -1, "x", "axc", "keep"},
      {"Insert again: insert", "abc", 1, 1, VK_INSERT, false, false, -1, "y", "aybc", "keep"},
      {"overwrite over a two-byte character", ga + "c", 0, 0, VK_INSERT, false, false, -1, "z", "zc", "keep"},
      {"WM_USER + 37 (1): Hangul", "", 0, 0, 0, false, false, 1, "rk", ga, "keep"},
      {"WM_USER + 37 (0): English", "", 0, 0, 0, false, false, 0, "rk", "rk", "keep"},
  };
  for (const Row& r : rows) {
    setClipboardText("keep");
    SetWindowTextA(edit, r.text.c_str());
    SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(r.anchor, r.end));
    if (r.hangulMode >= 0) SendMessageA(edit, WM_USER + 37, static_cast<WPARAM>(r.hangulMode), 0);
    if (r.key != 0) {
      holdKeys(r.control, r.shift);
      SendMessageA(edit, WM_KEYDOWN, r.key, 0);
      holdKeys(false, false);
    }
    for (const char* c = r.typed; *c != 0; ++c) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*c), 0);
    EXPECT_EQ(textOf(edit), r.expectText) << r.what;
    EXPECT_EQ(clipboardText(), r.expectClipboard) << r.what;
  }
}

// The multi-line edit's view: the parent's brush on colour bit 4 only; End on
// a line wider than the window puts the caret at its last pixel column;
// Ctrl+End shows the last line at the top; without WS_VSCROLL (so without
// ES_AUTOVSCROLL) the view does not follow the caret down.
TEST(MultiLineEditView, ColourBitsEndKeysAndAutoScroll) {
  Parent parent;
  parent.ctlColourBrush = CreateSolidBrush(RGB(255, 0, 0));
  std::string lines;
  for (int i = 0; i < 12; ++i) lines += "line\r\n";
  lines += std::string(60, 'w');  // wider than the window
  struct Row {
    DWORD style;
    LONG bits;
    COLORREF background;
  };
  const Row rows[] = {{ES_MULTILINE | WS_VSCROLL, 4, 0xFF0000},  // captured pixels are 0xRRGGBB
                      {ES_MULTILINE | WS_VSCROLL, 1, 0xFFFFFF},
                      {ES_MULTILINE, 0, 0xFFFFFF}};
  int id = 410;
  for (const Row& r : rows) {
    HWND edit = parent.child("HCTLEdit", "", r.style, id++, 10, 10, 200, 64);
    ASSERT_NE(edit, nullptr);
    HCTLSetCtlColorBits(edit, r.bits);
    SetWindowTextA(edit, lines.c_str());
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    const ctest::Pixels before = ctest::capture(edit);
    EXPECT_EQ(before.at(before.width - 3, before.height - 3), r.background) << "bits " << r.bits;

    SetFocus(edit);
    parent.notes.clear();
    for (int i = 0; i < 12; ++i) SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
    const bool scrolled = std::any_of(parent.notes.begin(), parent.notes.end(), [](const Parent::Note& n) {
      return n.message == WM_COMMAND && HIWORD(n.wParam) == 0x602;
    });
    EXPECT_EQ(scrolled, (r.style & WS_VSCROLL) != 0) << "EN_VSCROLL while the caret goes down";

    RECT client;
    GetClientRect(edit, &client);
    SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, client.right - 1) << "End on the wide line";
    SendMessageA(edit, WM_KEYDOWN, VK_HOME, 0);
    holdControl(true);
    SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
    holdControl(false);
    EXPECT_EQ(HIWORD(SendMessageA(edit, WM_USER + 36, 0, 0)), 12) << "Ctrl+End: the caret on the last line";
    GetCaretPos(&caret);
    EXPECT_EQ(caret.y, 0) << "Ctrl+End: the last line at the top";
    DestroyWindow(edit);
  }
  DeleteObject(parent.ctlColourBrush);
}

// The multi-line edit's scrolling messages: each row sends one message and
// checks both scroll-bar positions and the scroll notifications it caused.
TEST(MultiLineEditScroll, LineScrollAndScrollBars) {
  Parent parent;
  std::string lines;
  for (int i = 0; i < 12; ++i) lines += "line\r\n";
  lines += "last";  // 13 lines
  HWND edit = parent.child("HCTLEdit", "", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, 420, 10, 10, 200, 64);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, lines.c_str());
  struct Row {
    const char* what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int vertical, horizontal;  // scroll-bar positions after the message
    int vscrolls, hscrolls, updates;
  };
  const auto lineScroll = [](int lines, int cells) { return MAKELPARAM(static_cast<WORD>(lines), static_cast<WORD>(cells)); };
  const Row rows[] = {
      {"3 lines down", EM_LINESCROLL, 0, lineScroll(3, 0), 3, 0, 1, 0, 1},
      {"1 line up", EM_LINESCROLL, 0, lineScroll(-1, 0), 2, 0, 1, 0, 1},
      {"past the end stops at the last line", EM_LINESCROLL, 0, lineScroll(100, 0), 12, 0, 1, 0, 1},
      {"5 cells right", EM_LINESCROLL, 0, lineScroll(0, 5), 12, 5, 0, 1, 1},
      {"left past 0 stops at 0", EM_LINESCROLL, 0, lineScroll(0, -10), 12, 0, 0, 1, 1},
      {"nothing to scroll: no notification", EM_LINESCROLL, 0, lineScroll(0, -1), 12, 0, 0, 0, 0},
      {"SB_TOP", WM_VSCROLL, SB_TOP, 0, 0, 0, 1, 0, 1},
      {"SB_LINEDOWN", WM_VSCROLL, SB_LINEDOWN, 0, 1, 0, 1, 0, 1},
      {"SB_THUMBPOSITION 7", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 0, 7, 0, 1, 0, 1},
      {"SB_LINEUP", WM_VSCROLL, SB_LINEUP, 0, 6, 0, 1, 0, 1},
      {"SB_LINERIGHT", WM_HSCROLL, SB_LINERIGHT, 0, 6, 1, 0, 1, 1},
      {"SB_THUMBPOSITION 400 stops at 300", WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 400), 0, 6, 300, 0, 1, 1},
      {"SB_LINELEFT", WM_HSCROLL, SB_LINELEFT, 0, 6, 299, 0, 1, 1},
  };
  const auto count = [&](WORD code) {
    int n = 0;
    for (const auto& note : parent.notes)
      n += note.message == WM_COMMAND && LOWORD(note.wParam) == 420 && HIWORD(note.wParam) == code;
    return n;
  };
  for (const Row& r : rows) {
    parent.notes.clear();
    SendMessageA(edit, r.message, r.wParam, r.lParam);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), r.vertical) << r.what;
    EXPECT_EQ(GetScrollPos(edit, SB_HORZ), r.horizontal) << r.what;
    EXPECT_EQ(count(0x602), r.vscrolls) << r.what;
    EXPECT_EQ(count(0x601), r.hscrolls) << r.what;
    EXPECT_EQ(count(0x400), r.updates) << r.what;
  }
  // Without ES_MULTILINE, EM_LINESCROLL does nothing.
  HWND single = parent.child("HCTLEdit", "", WS_VSCROLL, 421, 10, 80, 200, 64);
  ASSERT_NE(single, nullptr);
  SetWindowTextA(single, lines.c_str());
  parent.notes.clear();
  EXPECT_EQ(SendMessageA(single, EM_LINESCROLL, 0, lineScroll(3, 0)), 0);
  EXPECT_TRUE(parent.notes.empty());
}

// The multi-line edit's other messages: WM_SETTEXT's EN_CHANGE, the caret
// place (WM_USER + 36), the code-8 clipboard messages (WM_USER + 41 to + 43:
// code 8 is code page 949, as on the Windows clipboard), read-only mode and
// the font messages (pixels against the font store).
TEST(MultiLineEditMessages, CaretPlaceClipboardReadOnlyAndFonts) {
  Parent parent;
  HWND edit = parent.child("HCTLEdit", "", ES_MULTILINE | WS_VSCROLL, 422, 10, 10, 200, 64);
  ASSERT_NE(edit, nullptr);
  const auto count = [&](WORD code) {
    int n = 0;
    for (const auto& note : parent.notes)
      n += note.message == WM_COMMAND && LOWORD(note.wParam) == 422 && HIWORD(note.wParam) == code;
    return n;
  };
  parent.notes.clear();
  const std::string ga = bytes({0x88, 0x61}), na = bytes({0x90, 0x61});
  SetWindowTextA(edit, ("ab\r\nc" + ga + "d").c_str());
  EXPECT_EQ(count(0x300), 1) << "WM_SETTEXT sends EN_CHANGE";

  SetFocus(edit);
  holdControl(true);
  SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
  holdControl(false);
  EXPECT_EQ(SendMessageA(edit, WM_USER + 36, 0, 0), MAKELONG(4, 1)) << "column 4 of line 1";

  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(5, 7));  // 가
  SendMessageA(edit, WM_USER + 41, 0, 0);
  EXPECT_EQ(clipboardText(), bytes({0xB0, 0xA1})) << "copy to code 8";
  EXPECT_EQ(textOf(edit), "ab\r\nc" + ga + "d");
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(5, 7));
  SendMessageA(edit, WM_USER + 42, 0, 0);
  EXPECT_EQ(clipboardText(), bytes({0xB0, 0xA1})) << "cut to code 8";
  EXPECT_EQ(textOf(edit), "ab\r\ncd");
  setClipboardText(bytes({0xB3, 0xAA}));  // 나
  SendMessageA(edit, WM_USER + 43, 0, 0);
  EXPECT_EQ(textOf(edit), "ab\r\nc" + na + "d") << "paste from code 8";

  // Read-only: characters, cut and paste are ignored; clearing the flag
  // lets them through again.
  const std::string before = textOf(edit);
  EXPECT_EQ(SendMessageA(edit, EM_SETREADONLY, 1, 0), 1);
  EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
  setClipboardText("P");
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(0, 2));
  SendMessageA(edit, WM_CUT, 0, 0);
  SendMessageA(edit, WM_CHAR, 'x', 0);
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(edit), before) << "read-only";
  EXPECT_EQ(clipboardText(), "P");
  SendMessageA(edit, EM_SETREADONLY, 0, 0);
  EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
  SendMessageA(edit, EM_SETSEL, 0, MAKELPARAM(0, 2));
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(textOf(edit).substr(0, 3), "P\r\n") << "writable again";

  // Font messages: by name only with flag 2; the text is drawn in the faces set.
  const std::string text = ga + "A" + na;
  SetWindowTextA(edit, text.c_str());
  SetFocus(parent.hwnd());  // no caret in the picture
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), paper = GetSysColor(COLOR_WINDOW);
  struct FontRow {
    const char* what;
    UINT message;
    WPARAM flags;
    const char* face;
    const char *hangul, *english;
  };
  const FontRow fonts[] = {
      {"Hangul by name without flag 2: kept", GetHwmSetHangulFont(), 0, "InternalPilgi", "InternalGothic",
       "InternalMokraGothic"},
      {"Hangul by name", GetHwmSetHangulFont(), 2, "InternalPilgi", "InternalPilgi", "InternalMokraGothic"},
      {"English by name", GetHwmSetEnglishFont(), 2, "InternalRoman", "InternalPilgi", "InternalRoman"},
  };
  for (const FontRow& f : fonts) {
    SendMessageA(edit, f.message, f.flags, reinterpret_cast<LPARAM>(f.face));
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    EXPECT_EQ(ctest::mismatches(ctest::capture(edit), ctest::expectedInk(text, f.hangul, f.english), ink, paper), 0)
        << f.what;
  }
}

}  // namespace
