// The views on the main window: the chat window, the passed-screen view,
// mouse clicks and selection, the clipboard, capture and the search string.
// Their logic is neutral (chat_processor.h, passed_screen_view.h,
// screen_selection.h, capture.h ...); this face draws, reads the mouse and
// talks to the clipboard.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/shell/input/chat_processor.h"
#include "app/shell/input/program_modes.h"
#include "app/shell/views/capture.h"
#include "app/shell/views/reception_holds.h"

namespace kesta::shell {

struct Shell;

// Text in the internal code drawn at a terminal cell of the window only.
void drawCells(Shell& shell, int column, int row, std::string_view internal, COLORREF text, COLORREF background,
               const char* face = nullptr);

// The connections' pause switches: telnet's notifications, the serial
// reader thread and the serial event mask.
class ShellReception : public ReceptionLines {
 public:
  explicit ShellReception(Shell& shell) : shell_(shell) {}
  bool telnetOpen() const override;
  bool serialOpen() const override;
  void setPaused(PauseStep step, bool paused) override;

 private:
  Shell& shell_;
};

// What the mode model asks of the main window.
class ShellModeFace : public ModeFace {
 public:
  explicit ShellModeFace(Shell& shell) : shell_(shell) {}
  int displayOffset() override;
  void send(std::string_view hostBytes) override;
  void openChatRows() override;
  void closeChatRows() override;
  void setAutomatonMode(bool hangul) override;
  void showHangulMode(bool hangul) override;
  void hideCaret() override;
  void placeTerminalCaret(bool wide) override;

 private:
  Shell& shell_;
};

class ChatRows : public ChatView {
 public:
  explicit ChatRows(Shell& shell) : shell_(shell) {}
  void send(std::string_view bytes) override;
  void redrawCurrentLine() override;
  void redrawChatRows() override;
  void placeCaret(int column, bool wide) override;
  void drawHintBar();

 private:
  Shell& shell_;
};

class ShellCaptureTaps : public CaptureTaps {
 public:
  explicit ShellCaptureTaps(Shell& shell) : shell_(shell) {}
  void tapScreen(bool on) override;
  void tapCodes(bool on) override;

 private:
  Shell& shell_;
};

// Message handlers.
void mouseMove(Shell& shell, WPARAM buttons, int x, int y);
void leftButtonDown(Shell& shell, int x, int y);
void leftButtonUp(Shell& shell);
void rightButtonDown(Shell& shell, int x, int y);
// Screen text (grid code) in the host's code, for Send and clicked items.
std::string screenTextForHost(const Shell& shell, std::string_view gridText);
void copySelection(Shell& shell);
void sendSelection(Shell& shell);
void pasteClipboard(Shell& shell);
void captureCommand(Shell& shell, CaptureKind kind);
void searchCommand(Shell& shell);
void headOrTailCommand(Shell& shell, bool head);
void paintChatArea(Shell& shell);

}  // namespace kesta::shell
