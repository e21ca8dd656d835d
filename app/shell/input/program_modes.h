// The program's modes in one place: the terminal, the chat window, the
// passed-screen view and a selection, with reception held by whoever needs
// a still picture or the line to itself. For each input it decides where
// it goes (a typed character, a finished or pending syllable, a command, a
// mouse event), where the caret stands and which page the window paints;
// the window asks it and carries out, and tests no mode flags of its own.
//
// Typing goes to one place at a time. In chat mode the chat line owns the
// syllable under composition: anything that finishes it writes it into the
// line, and only Enter puts the line on the wire. On the terminal row a
// syllable is sent as soon as it is finished, and senders of their own
// bytes (Escape, macros, Paste, clicks, Send) finish it first so the wire
// keeps the order of typing; in chat mode they send without touching the
// chat's syllable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/shell/input/character_processor.h"
#include "app/shell/input/chat_processor.h"
#include "app/shell/views/passed_screen_view.h"
#include "app/shell/views/screen_selection.h"

namespace kesta::shell {

enum class CaretPlace { Hidden, TerminalCursor, ChatColumn };
enum class PaintedPage { Live, PassedScreenView };

// What the modes need of the window.
class ModeFace {
 public:
  virtual ~ModeFace() = default;
  virtual int displayOffset() = 0;  // the page store's display offset
  virtual void send(std::string_view hostBytes) = 0;
  // The terminal gives its last rows to the chat window and they are drawn,
  // or it takes them back.
  virtual void openChatRows() = 0;
  virtual void closeChatRows() = 0;
  // The automaton's Hangul mode set (Shift+Space), and the status pane
  // showing the mode.
  virtual void setAutomatonMode(bool hangul) = 0;
  virtual void showHangulMode(bool hangul) = 0;
  virtual void hideCaret() = 0;
  // The caret at the terminal cursor, a syllable wide or one cell wide.
  virtual void placeTerminalCaret(bool wide) = 0;
};

class ProgramModes {
 public:
  ProgramModes(KeyboardAutomaton& automaton, CharacterProcessor& terminalKeys, ChatProcessor& chat,
               PassedScreenView& view, ScreenSelection& selection, ModeFace& face)
      : automaton_(automaton), terminalKeys_(terminalKeys), chat_(chat), view_(view), selection_(selection), face_(face) {}

  bool chatOpen() const { return chatOpen_; }
  bool viewOpen() const { return view_.isOpen(); }
  bool hangulMode() const { return hangulMode_; }
  CaretPlace caret() const;
  PaintedPage paintedPage() const { return view_.isOpen() ? PaintedPage::PassedScreenView : PaintedPage::Live; }

  // The caret put where the mode says: after a dialog, a resize, focus.
  void placeCaret();

  // Keyboard. A key down that the automaton calls its switch key (Ctrl+Space)
  // flips the mode flag; the automaton itself switches on the character.
  // Returns whether the key was taken (a view step or a chat line edit).
  bool keyDown(int virtualKey, bool switchKey);
  void character(std::uint16_t character);  // one WM_CHAR, Enter, Backspace and Escape included
  void switchHangulMode();                  // Shift+Space

  // Bytes already in the host code that go out as they are: the syllable
  // under composition on the terminal row goes first.
  void sendOwnBytes(std::string_view hostBytes);
  // F4: the syllable under composition finished where it belongs, before
  // the picker opens.
  void finishComposition();
  // F9: the syllable under composition, finished for the Hanja picker; 0
  // when nothing is being composed.
  std::uint16_t takeSyllableForHanja();
  // A picked character (internal code): into the chat line in chat mode,
  // else to the host.
  void putPicked(std::uint16_t code);

  void toggleChat();
  void toggleView();
  void viewKey(ViewKey key);

  // Mouse. Button down ends a selection and, on a clickable item, returns
  // its text (grid code) for sending; nothing while the view is open.
  std::optional<std::string> buttonDown(std::optional<GridCell> cell, const GridRows& grid);
  // A move with the button held; true when the highlight must be drawn again.
  bool dragTo(std::optional<GridCell> cell, const GridRows& grid);
  void buttonUp() { selection_.buttonUp(); }
  // Copy and Send end the selection.
  void endSelection();
  bool selecting() const { return selection_.selecting(); }

 private:
  KeyboardAutomaton& automaton_;
  CharacterProcessor& terminalKeys_;
  ChatProcessor& chat_;
  PassedScreenView& view_;
  ScreenSelection& selection_;
  ModeFace& face_;
  bool chatOpen_ = false;
  bool hangulMode_ = false;
};

}  // namespace kesta::shell
