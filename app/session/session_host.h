// What the terminal core needs from the program around it: sending, the
// main window's commands, status texts, timers, sounds, the caret, the
// capture file and the keyboard state. The Win32 face implements it on the
// main window; tests record the calls.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::session {

// Commands of the main window that the core posts (and waits for).
inline constexpr int kCommandHangUp = 102;
inline constexpr int kCommandReceiveFile = 160;

// Virtual-key codes asked of the asynchronous key state.
inline constexpr int kKeyControl = 0x11;
inline constexpr int kKeyF9 = 0x78;

// Status bar parts.
inline constexpr int kStatusConnection = 0;
inline constexpr int kStatusTime = 3;

class SessionHost {
 public:
  virtual ~SessionHost() = default;

  // Sends through the open connection (socket or serial port); returns the
  // number of bytes sent.
  virtual std::size_t send(std::string_view bytes) = 0;
  // Sends a command to the main window and returns when it is done.
  virtual void postCommand(int command) = 0;
  // True when the user interface is Korean (ANSI code page 949).
  virtual bool koreanInterface() = 0;
  // Status bar text; `text` is UTF-8.
  virtual void setStatusText(int part, std::string_view text) = 0;
  // The connection timer (timer 20, 1000 ms): restart with the time at 0, or stop.
  virtual void restartConnectionTimer() = 0;
  virtual void stopConnectionTimer() = 0;
  // If a dialling dialog is open: ends both dialling dialogs, stops their
  // timer and clears the dialling flag.
  virtual void endDiallingDialogs() = 0;
  // A message box (UTF-8 texts).
  virtual void messageBox(std::string_view text, std::string_view caption) = 0;

  // Sounds: "Voice Support" and "Background Music" settings, the home
  // directory, and playing.
  virtual bool voiceSupport() = 0;
  virtual bool backgroundMusic() = 0;
  virtual std::string homeDirectory() = 0;
  virtual void playWaveAndWait(const std::string& path) = 0;
  virtual void stopMusic() = 0;
  virtual void startMusic() = 0;  // asynchronous and looping
  virtual void beep() = 0;

  // The asynchronous key state: true while the key is down.
  virtual bool keyDown(int virtualKey) = 0;

  // The caret, the capture file and the keyboard's input line.
  virtual void hideCaret() = 0;
  virtual void showCaretAt(int column, int row) = 0;
  virtual int chatColumn() = 0;  // the caret column of the chat window
  virtual void writeCapture(std::string_view bytes) = 0;
  virtual void clearInputLine() = 0;
};

// One row of the auto-response table, texts in the internal code.
struct AutoResponseSlot {
  bool enabled = false;
  std::string reference;  // the trigger awaited in the received data
  std::string transfer;   // the answer
  bool operator==(const AutoResponseSlot&) const = default;
};
inline constexpr int kAutoResponseSlots = 8;
using AutoResponseSlots = std::array<AutoResponseSlot, kAutoResponseSlots>;

// The auto-response table file ("\env\kesta.aut"), read on every chunk.
class AutoResponseSource {
 public:
  virtual ~AutoResponseSource() = default;
  // Fills `slots` and returns true, or returns false (leaving `slots` alone)
  // when the file cannot be opened.
  virtual bool load(AutoResponseSlots& slots) = 0;
};

}  // namespace kesta::session
