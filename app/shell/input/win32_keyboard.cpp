#include <winsock2.h>
#include <windows.h>

#include "app/shell/input/win32_keyboard.h"

#include "app/shell/window/win32_shell.h"
#include "hangul/quilh32.h"

namespace kesta::shell {

std::int16_t WindowAutomaton::getKey(std::uint16_t& character) {
  WORD key = character;
  const short result = GetKey(window_, &key);
  character = key;
  return result;
}
std::uint16_t WindowAutomaton::completedCode() { return GetCompletedCode(window_); }
std::uint16_t WindowAutomaton::currentCode() { return GetCurrentCode(window_); }
std::uint16_t WindowAutomaton::makeCompleteCode() { return MakeCompleteCode(window_); }
bool WindowAutomaton::processingInput() { return IsProcessingInput(window_) != 0; }

void TerminalKeys::send(std::string_view bytes) { sendToConnection(shell_, bytes); }

void TerminalKeys::recreateCaret(bool wide) {
  if (!shell_.hasFocus || shell_.modes.caret() != CaretPlace::TerminalCursor) return;
  DestroyCaret();
  const auto& g = shell_.target.geometry();
  CreateCaret(shell_.window, nullptr, (wide ? shell_.wideCaret : shell_.cellWidth) * g.zoom, g.windowCellHeight());
  shell_.caretShown = false;
  const auto& state = shell_.terminal.state();
  shell_.host.showCaretAt(state.column, state.row);
}

void TerminalKeys::drawAtCursor(int cellOffset, const char* text, int length) {
  const auto& state = shell_.terminal.state();
  const int column = state.column + cellOffset;
  // The overlay stays inside the terminal's 80 columns.
  if (column < 0 || column >= session::kColumns) return;
  if (column + length > session::kColumns) length = session::kColumns - column;
  const std::string face(settings::hangulFontFace(shell_.hangul.font));
  const COLORREF ink = shell_.colors.text & 0xFFFFFF, paper = shell_.colors.background & 0xFFFFFF;
  const auto& g = shell_.target.geometry();
  HideCaret(shell_.window);
  shell_.target.drawOverArea(g.pageX(column), g.pageY(state.row), length * g.cellWidth, g.cellHeight,
                             [&](HDC dc, int x0, int y0) {
                               if (!face.empty()) HSelectHangulObject(dc, face.c_str(), nullptr);
                               SetTextColor(dc, ink);
                               SetBkColor(dc, paper);
                               SetBkMode(dc, OPAQUE);
                               HTextOut(dc, x0 + g.pageX(column), y0 + g.pageY(state.row), text, length);
                             });
  ShowCaret(shell_.window);
}

void TerminalKeys::drawSyllable(int cellOffset, std::uint16_t code) {
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  drawAtCursor(cellOffset, bytes, 2);
}

void TerminalKeys::eraseSyllable() { drawAtCursor(0, "   ", 3); }

void keyDown(Shell& shell, WPARAM virtualKey) {
  const int key = static_cast<int>(virtualKey);
  shell.modes.keyDown(key, IsToggleKeyPressed(shell.window, key) != 0);
}

void characterTyped(Shell& shell, WPARAM character, LPARAM flags) {
  const int repeat = (flags & 0xFFFF) > 0 ? static_cast<int>(flags & 0xFFFF) : 1;
  for (int i = 0; i < repeat; ++i) shell.modes.character(static_cast<std::uint16_t>(character));
}

}  // namespace kesta::shell
