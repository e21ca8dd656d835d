// The keyboard on the main window: the window's automaton in QUILH32 and
// the terminal row it draws on, for the character processor.
#pragma once

#include <windows.h>

#include "app/shell/input/character_processor.h"

namespace kesta::shell {

struct Shell;

class WindowAutomaton : public KeyboardAutomaton {
 public:
  explicit WindowAutomaton(HWND window) : window_(window) {}
  std::int16_t getKey(std::uint16_t& character) override;
  std::uint16_t completedCode() override;
  std::uint16_t currentCode() override;
  std::uint16_t makeCompleteCode() override;
  bool processingInput() override;

 private:
  HWND window_;
};

class TerminalKeys : public TerminalKeyView {
 public:
  explicit TerminalKeys(Shell& shell) : shell_(shell) {}
  void send(std::string_view bytes) override;
  void recreateCaret(bool wide) override;
  void drawSyllable(int cellOffset, std::uint16_t code) override;
  void eraseSyllable() override;

 private:
  void drawAtCursor(int cellOffset, const char* text, int length);
  Shell& shell_;
};

// Message handlers of the main window.
void keyDown(Shell& shell, WPARAM virtualKey);
void characterTyped(Shell& shell, WPARAM character, LPARAM flags);

}  // namespace kesta::shell
