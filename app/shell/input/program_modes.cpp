#include "app/shell/input/program_modes.h"

#include "app/shell/input/virtual_keys.h"
#include "app/shell/views/clickable_item.h"

namespace kesta::shell {

CaretPlace ProgramModes::caret() const {
  if (view_.isOpen() || selection_.selecting()) return CaretPlace::Hidden;
  return chatOpen_ ? CaretPlace::ChatColumn : CaretPlace::TerminalCursor;
}

void ProgramModes::placeCaret() {
  switch (caret()) {
    case CaretPlace::Hidden: face_.hideCaret(); break;
    case CaretPlace::ChatColumn: chat_.showCaret(); break;
    case CaretPlace::TerminalCursor: face_.placeTerminalCaret(automaton_.processingInput()); break;
  }
}

bool ProgramModes::keyDown(int virtualKey, bool switchKey) {
  if (switchKey) {
    hangulMode_ = !hangulMode_;
    face_.showHangulMode(hangulMode_);
  }
  switch (routeKeyDown(virtualKey, view_.isOpen(), chatOpen_)) {
    case KeyRoute::PassedScreenView:
      if (auto key = viewKeyFor(virtualKey)) view_.key(*key);
      return true;
    case KeyRoute::ChatLine:
      if (auto key = chatKeyFor(virtualKey)) chat_.key(*key);
      return true;
    case KeyRoute::None:
      return false;
  }
  return false;
}

void ProgramModes::character(std::uint16_t character) {
  if (character == 27) {
    if (view_.isOpen()) {
      toggleView();
    } else {
      sendOwnBytes("\x1b");
    }
    return;
  }
  // Characters typed while the view is open still go where the mode sends
  // them; the view stays.
  if (chatOpen_) {
    switch (character) {
      case 8: chat_.backspace(); break;
      case 13: chat_.sendLine(); break;
      default: chat_.character(character); break;
    }
    return;
  }
  switch (character) {
    case 8: terminalKeys_.backspace(); break;
    case 13: terminalKeys_.carriageReturn(); break;
    default: terminalKeys_.character(character); break;
  }
}

void ProgramModes::finishComposition() {
  if (chatOpen_) {
    chat_.commitComposition();
  } else {
    terminalKeys_.commitComposition();
  }
}

void ProgramModes::switchHangulMode() {
  finishComposition();
  face_.hideCaret();
  hangulMode_ = !hangulMode_;
  face_.setAutomatonMode(hangulMode_);
  face_.showHangulMode(hangulMode_);
  placeCaret();
}

void ProgramModes::sendOwnBytes(std::string_view hostBytes) {
  if (!chatOpen_) terminalKeys_.commitComposition();
  face_.send(hostBytes);
}

std::uint16_t ProgramModes::takeSyllableForHanja() {
  if (!automaton_.processingInput()) return 0;
  // In chat mode the syllable keeps its two opened cells until the pick
  // takes them.
  const std::uint16_t syllable = automaton_.makeCompleteCode();
  placeCaret();
  return syllable;
}

void ProgramModes::putPicked(std::uint16_t code) {
  if (code == 0) return;
  if (chatOpen_) {
    chat_.insertCharacter(code);
    return;
  }
  terminalKeys_.sendCharacter(code);
  placeCaret();
}

void ProgramModes::toggleChat() {
  // The view shows pages of the terminal's size; it closes before the
  // terminal gives rows to the chat window or takes them back.
  if (view_.isOpen()) view_.close();
  face_.hideCaret();
  if (!chatOpen_) {
    terminalKeys_.commitComposition();
    chatOpen_ = true;
    face_.openChatRows();
    chat_.open();
  } else {
    // What was being composed stays in the line; nothing is sent.
    chat_.commitComposition();
    chatOpen_ = false;
    face_.closeChatRows();
  }
  placeCaret();
}

void ProgramModes::toggleView() {
  if (view_.isOpen()) {
    view_.close();
  } else {
    view_.open(face_.displayOffset(), chatOpen_);
  }
  placeCaret();
}

void ProgramModes::viewKey(ViewKey key) { view_.key(key); }

std::optional<std::string> ProgramModes::buttonDown(std::optional<GridCell> cell, const GridRows& grid) {
  if (view_.isOpen()) return std::nullopt;
  if (selection_.buttonDown(cell)) placeCaret();
  if (!cell) return std::nullopt;
  return clickableItem(grid.row(cell->row), cell->column, grid.gridCode());
}

bool ProgramModes::dragTo(std::optional<GridCell> cell, const GridRows& grid) {
  if (view_.isOpen() || !cell || !selection_.dragging()) return false;
  if (selection_.dragTo(*cell, grid)) placeCaret();  // the selection began: the caret hides
  return selection_.selecting();
}

void ProgramModes::endSelection() {
  selection_.end();
  placeCaret();
}

}  // namespace kesta::shell
