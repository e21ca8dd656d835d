#include <winsock2.h>
#include <windows.h>
#include <commdlg.h>

#include "app/shell/views/win32_views.h"

#include "app/settings/directory_settings.h"
#include "app/shell/dialogs/win32_dialogs.h"
#include "app/shell/input/host_text.h"
#include "app/shell/input/virtual_keys.h"
#include "app/shell/views/clickable_item.h"
#include "app/shell/views/clipboard_text.h"
#include "app/shell/views/screen_pointer.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

namespace kesta::shell {

namespace {
constexpr int kHintRow = 24;
constexpr int kChatRow = 26;
constexpr COLORREF kSelectionText = RGB(0, 0, 0);
constexpr COLORREF kSelectionBackground = 0x00FFFF;  // yellow
constexpr COLORREF kHintBackground = 0xDCDCDC;

COLORREF textColour(const Shell& shell) { return shell.colors.text & 0xFFFFFF; }
COLORREF backgroundColour(const Shell& shell) { return shell.colors.background & 0xFFFFFF; }

// A grid row (grid code) as internal-code text for drawing.
std::string internalRow(const Shell& shell, std::string_view gridRow) {
  std::string text(gridRow);
  text.resize(gridRow.size() * 2 + 16);
  const std::size_t n = shell.terminal.converter()(shell.terminal.gridCode(), 1, text.data(), text.size());
  text.resize(n < text.size() ? n : 0);
  return text;
}

void setClassCursor(Shell& shell, HCURSOR cursor) {
  SetClassLongPtrA(shell.window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  SetCursor(cursor);
}

void redrawTerminal(Shell& shell) {
  const auto& g = shell.target.geometry();
  RECT area{g.leftMargin, g.topMargin, g.leftMargin + g.windowWidth(), g.topMargin + g.windowHeight()};
  InvalidateRect(shell.window, &area, FALSE);
}

// The selection drawn over the terminal rows: selected cells black on yellow.
void drawSelection(Shell& shell) {
  const int rows = shell.terminal.terminalRows();
  for (int row = 0; row < rows; ++row) {
    const auto [first, end] = shell.selection.columnsOn(row);
    const std::string_view grid = shell.terminal.gridRow(row);
    drawCells(shell, 0, row, internalRow(shell, grid), textColour(shell), backgroundColour(shell));
    if (end > first) {
      drawCells(shell, first, row, internalRow(shell, grid.substr(first, end - first)), kSelectionText,
                kSelectionBackground);
    }
  }
}

std::optional<GridCell> cellAt(Shell& shell, int x, int y) {
  return cellAtPointer(shell.target.geometry(), x, y, shell.modes.chatOpen());
}
}  // namespace

void drawCells(Shell& shell, int column, int row, std::string_view internal, COLORREF text, COLORREF background,
               const char* face) {
  const std::string own(settings::hangulFontFace(shell.hangul.font));
  const char* chosen = face != nullptr ? face : own.c_str();
  const auto& g = shell.target.geometry();
  HideCaret(shell.window);
  shell.target.drawOverArea(g.pageX(column), g.pageY(row), static_cast<int>(internal.size()) * g.cellWidth,
                            g.cellHeight, [&](HDC dc, int x0, int y0) {
                              if (chosen[0] != '\0') HSelectHangulObject(dc, chosen, nullptr);
                              SetTextColor(dc, text);
                              SetBkColor(dc, background);
                              SetBkMode(dc, OPAQUE);
                              HTextOut(dc, x0 + g.pageX(column), y0 + g.pageY(row), internal.data(),
                                       static_cast<int>(internal.size()));
                            });
  ShowCaret(shell.window);
}

bool ShellReception::telnetOpen() const { return shell_.socket.isOpen(); }
bool ShellReception::serialOpen() const { return shell_.serial != nullptr; }

void ShellReception::setPaused(PauseStep step, bool paused) {
  switch (step) {
    case PauseStep::SocketNotifications:
      // The resume reads once: data waiting and a close that came meanwhile are found.
      if (paused) shell_.socket.pauseNotifications();
      else shell_.socket.resumeNotifications();
      return;
    case PauseStep::SerialReader:
      if (!shell_.serial) return;
      if (paused) shell_.serial->suspendReader();
      else shell_.serial->resumeReader();
      break;
    case PauseStep::SerialEvents:
      if (!shell_.serial) return;
      shell_.serial->setCharacterEvents(!paused);
      break;
  }
  // Notifications that came while the port was paused were ignored: what
  // waits is read once now.
  if (!paused) drainSerial(shell_, nullptr);
}

// ---------------------------------------------------------------- the mode model's face

int ShellModeFace::displayOffset() { return shell_.terminal.state().displayOffset; }
void ShellModeFace::send(std::string_view hostBytes) { sendToConnection(shell_, hostBytes); }

void ShellModeFace::openChatRows() {
  shell_.terminal.openChat();
  paintChatArea(shell_);
}

void ShellModeFace::closeChatRows() { shell_.terminal.closeChat(); }

void ShellModeFace::setAutomatonMode(bool hangul) { SetHangulMode(shell_.window, hangul ? 1 : 0); }

void ShellModeFace::showHangulMode(bool hangul) {
  const ShellTexts& texts = shellTexts(shell_.language);
  setPaneText(shell_, kPaneInputMode, hangul ? texts.hangul : texts.english);
}

void ShellModeFace::hideCaret() { shell_.host.hideCaret(); }
void ShellModeFace::placeTerminalCaret(bool wide) { shell_.keys.recreateCaret(wide); }

// ---------------------------------------------------------------- chat rows

void ChatRows::send(std::string_view bytes) { sendToConnection(shell_, bytes); }

void ChatRows::redrawCurrentLine() {
  std::string line(shell_.chatRing.current());
  line.resize(session::kColumns, ' ');
  drawCells(shell_, 0, kChatRow, line, textColour(shell_), backgroundColour(shell_));
}

void ChatRows::redrawChatRows() {
  const auto lines = shell_.chatRing.shownLines();
  for (int i = 0; i < 3; ++i) {
    std::string line(lines[i]);
    line.resize(session::kDrawColumns, ' ');
    drawCells(shell_, 0, kChatRow - 1 + i, line, textColour(shell_), backgroundColour(shell_));
  }
}

void ChatRows::placeCaret(int column, bool wide) {
  if (!shell_.hasFocus || shell_.modes.caret() != CaretPlace::ChatColumn) return;
  DestroyCaret();
  const auto& g = shell_.target.geometry();
  CreateCaret(shell_.window, nullptr, (wide ? shell_.wideCaret : shell_.cellWidth) * g.zoom, g.windowCellHeight());
  SetCaretPos(g.windowX(column), g.windowY(kChatRow));
  ShowCaret(shell_.window);
  shell_.caretShown = true;
}

void ChatRows::drawHintBar() {
  // UTF-8 source text, through code page 949, to the combination code.
  const std::wstring wide = widen(chatHintText(shell_.language));
  std::string cp949(wide.size() * 2 + 1, '\0');
  const int n = WideCharToMultiByte(949, 0, wide.data(), static_cast<int>(wide.size()), cp949.data(),
                                    static_cast<int>(cp949.size()), nullptr, nullptr);
  cp949.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  const std::string hint = xlat::convertThroughDll(8, 1, cp949);
  std::string row = hint.substr(0, session::kDrawColumns);
  row.resize(session::kDrawColumns, ' ');
  drawCells(shell_, 0, kHintRow, row, RGB(0, 0, 0), kHintBackground, "InternalGothic");
  // A white line along the top and down the right, dark grey along the left and the bottom.
  const auto& g = shell_.target.geometry();
  const int top = g.pageY(kHintRow), right = g.pageWidth() - 1, bottom = top + g.cellHeight - 1;
  shell_.target.drawOverArea(0, top, g.pageWidth(), g.cellHeight, [&](HDC dc, int x0, int y0) {
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255)), grey = CreatePen(PS_SOLID, 1, RGB(100, 100, 100));
    HGDIOBJ old = SelectObject(dc, white);
    MoveToEx(dc, x0, y0 + top, nullptr);
    LineTo(dc, x0 + right, y0 + top);
    LineTo(dc, x0 + right, y0 + bottom + 1);
    SelectObject(dc, grey);
    MoveToEx(dc, x0, y0 + top, nullptr);
    LineTo(dc, x0, y0 + bottom);
    LineTo(dc, x0 + right, y0 + bottom);
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(grey);
  });
}

void paintChatArea(Shell& shell) {
  if (!shell.modes.chatOpen()) return;
  shell.chatRows.drawHintBar();
  shell.chatRows.redrawChatRows();
}

void ShellCaptureTaps::tapScreen(bool on) { shell_.terminal.setTextCapture(on); }
void ShellCaptureTaps::tapCodes(bool on) { shell_.pipeline.setRawCapture(on); }

// ---------------------------------------------------------------- mouse

void mouseMove(Shell& shell, WPARAM buttons, int x, int y) {
  if (shell.modes.viewOpen()) return;  // the view shows a still picture: nothing to point at
  const auto cell = cellAt(shell, x, y);
  const TerminalGrid grid(shell.terminal);
  if (buttons & MK_LBUTTON) {
    if (shell.modes.dragTo(cell, grid)) drawSelection(shell);
    if (shell.modes.selecting()) return;
  }
  const bool clickable =
      cell && clickableItem(shell.terminal.gridRow(cell->row), cell->column, shell.terminal.gridCode());
  setClassCursor(shell, clickable ? shell.clickCursor : LoadCursor(nullptr, IDC_ARROW));
}

void leftButtonDown(Shell& shell, int x, int y) {
  if (shell.modes.viewOpen()) return;
  const auto cell = cellAt(shell, x, y);
  const TerminalGrid grid(shell.terminal);
  const std::optional<std::string> item = shell.modes.buttonDown(cell, grid);
  if (!cell) return;
  SetCapture(shell.window);
  redrawTerminal(shell);
  if (item) {
    setClassCursor(shell, shell.sendingCursor);
    shell.modes.sendOwnBytes(screenTextForHost(shell, *item) + "\r");
    setClassCursor(shell, shell.clickCursor);
  }
}

void leftButtonUp(Shell& shell) {
  shell.modes.buttonUp();
  ReleaseCapture();
}

void rightButtonDown(Shell& shell, int x, int y) {
  const bool korean = shell.language == Language::Korean;
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 210, widen(korean ? "복사하기" : "&Copy").c_str());
  AppendMenuW(menu, MF_STRING, 209, widen(korean ? "붙여넣기" : "&Paste").c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 211, widen(korean ? "보내기" : "&Send").c_str());
  POINT at{x, y};
  ClientToScreen(shell.window, &at);
  TrackPopupMenu(menu, TPM_LEFTBUTTON, at.x, at.y, 0, shell.window, nullptr);
  DestroyMenu(menu);
}

// ---------------------------------------------------------------- clipboard

namespace {
// Puts bytes on the open clipboard in a new moveable block with room for the
// terminator (two bytes, which also ends a UTF-16 text).
void putClipboardBlock(UINT format, const void* data, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 2);
  if (block == nullptr) return;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return;
  }
  memcpy(bytes, data, size);
  GlobalUnlock(block);
  if (!SetClipboardData(format, block)) GlobalFree(block);
}

// Windows makes CF_UNICODETEXT from CF_TEXT (and back) for a program that
// gives one of them; the one given comes first in the clipboard's list.
bool unicodeGiven() {
  for (UINT f = EnumClipboardFormats(0); f != 0 && f != CF_TEXT; f = EnumClipboardFormats(f))
    if (f == CF_UNICODETEXT) return true;
  return false;
}

// The clipboard's text for Paste: the Unicode text when a program gave one
// (it reads right whatever code page that program used), in the host's
// code; else CF_TEXT's bytes as they are.
std::string clipboardTextForHost(Shell& shell) {
  std::string text;
  if (unicodeGiven()) {
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(block))) {
        const std::size_t length = wcsnlen(wide, GlobalSize(block) / sizeof(wchar_t));
        text = utf8ToHostCode(narrowUtf8(std::wstring_view(wide, length)), shell.terminal.hostCode(), shell.terminal.converter());
        GlobalUnlock(block);
        return text;
      }
    }
  }
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
      text = std::string(clipboardText(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  return text;
}
}  // namespace

std::string screenTextForHost(const Shell& shell, std::string_view gridText) {
  return gridToHostCode(gridText, shell.terminal.gridCode(), shell.terminal.hostCode(), shell.terminal.converter());
}

// Copy puts the selection on the clipboard twice: as CF_TEXT in the bytes it
// always had, and as Unicode text, which any program reads right on any
// Windows, whatever its code page.
void copySelection(Shell& shell) {
  const std::string& text = shell.selection.text();
  if (OpenClipboard(shell.window)) {
    EmptyClipboard();
    const session::Converter convert = shell.terminal.converter();
    const std::string bytes =
        gridToClipboardBytes(text, shell.terminal.gridCode(), shell.terminal.hostCode(), convert);
    const std::wstring wide = widen(gridToUtf8(text, shell.terminal.gridCode(), convert));
    putClipboardBlock(CF_UNICODETEXT, wide.data(), wide.size() * sizeof(wchar_t));
    putClipboardBlock(CF_TEXT, bytes.data(), bytes.size());
    CloseClipboard();
  }
  shell.modes.endSelection();
  redrawTerminal(shell);
}

void sendSelection(Shell& shell) {
  shell.modes.endSelection();
  redrawTerminal(shell);
  shell.modes.sendOwnBytes(screenTextForHost(shell, shell.selection.text()));
}

void pasteClipboard(Shell& shell) {
  if (!IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
  if (!OpenClipboard(shell.window)) return;
  const std::string text = clipboardTextForHost(shell);
  CloseClipboard();
  for (std::size_t at = 0; at < text.size(); at += kPastePiece) shell.modes.sendOwnBytes(pieceAt(text, at));
}

// ---------------------------------------------------------------- capture and search

void captureCommand(Shell& shell, CaptureKind kind) {
  if (shell.capture.command(kind) != Capture::Step::ChooseFile) return;
  settings::DirectorySettings directories;
  const bool loaded = settings::readDirectorySettings(shell.files, directories);
  const std::string start =
      captureStartDirectory(loaded ? directories.capture : std::string(), shell.files.homeDirectory());
  std::string path;
  if (chooseSaveFile(shell.window, "Capture File (*.cap)\0*.cap\0All Files (*.*)\0*.*\0", "Script Save File", start,
                     "cap", path)) {
    shell.capture.start(kind, path);
  }
}

void searchCommand(Shell& shell) {
  std::string text = shell.searchText;
  if (runLineDialog(shell.instance, shell.window, kSearchDialog, shell.hangul.keyboard, text)) {
    shell.searchText = text.substr(0, 100);
    shell.terminal.setSearch(!shell.searchText.empty(), shell.searchText);
  } else {
    shell.terminal.setSearch(false, "");
  }
}

void headOrTailCommand(Shell& shell, bool head) {
  std::string text(head ? shell.chat.head() : shell.chat.tail());
  if (!runLineDialog(shell.instance, shell.window, head ? kHeadDialog : kTailDialog, shell.hangul.keyboard, text)) return;
  if (head) {
    shell.chat.setHead(text);
  } else {
    shell.chat.setTail(text);
  }
}

}  // namespace kesta::shell
