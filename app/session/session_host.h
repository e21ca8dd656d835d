// What the terminal core needs from the program around it, cut into the
// roles a front end plays for it: the connection (sending), the main window
// (commands, status texts, timers, dialogs, caret, input line), sound, the
// keyboard state and the capture file. The interpreter and the pipeline
// each take only the roles they use; `SessionHost` bundles all of them for
// a program (or a test) that plays every role in one object.
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

// The open connection (socket or serial port).
class Connection {
 public:
  virtual ~Connection() = default;
  // Sends the bytes; returns the number of bytes sent.
  virtual std::size_t send(std::string_view bytes) = 0;
};

// The main window as the core sees it.
class SessionWindow {
 public:
  virtual ~SessionWindow() = default;
  // Sends a command to the main window and returns when it is done (the
  // download runs a modal transfer in here).
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
  // The caret.
  virtual void hideCaret() = 0;
  virtual void showCaretAt(int column, int row) = 0;
  virtual int chatColumn() = 0;  // the caret column of the chat window
};

// The speaker and the wave player, with the settings that govern them.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // "Voice Support" and "Background Music" settings, and the home directory
  // the wave files lie under.
  virtual bool voiceSupport() = 0;
  virtual bool backgroundMusic() = 0;
  virtual std::string homeDirectory() = 0;
  virtual void playWaveAndWait(const std::string& path) = 0;
  virtual void stopMusic() = 0;
  virtual void startMusic() = 0;  // asynchronous and looping
  virtual void beep() = 0;
};

// The asynchronous key state.
class KeyboardState {
 public:
  virtual ~KeyboardState() = default;
  // True while the key is down.
  virtual bool keyDown(int virtualKey) = 0;
};

// The open capture file (screen capture or code capture).
class CaptureSink {
 public:
  virtual ~CaptureSink() = default;
  virtual void writeCapture(std::string_view bytes) = 0;
};

// Every role in one object.
class SessionHost : public Connection,
                    public SessionWindow,
                    public SoundOutput,
                    public KeyboardState,
                    public CaptureSink {};

// The roles the interpreter uses.
struct TerminalRoles {
  SessionWindow& window;  // caret and input line at the end of a chunk
  SoundOutput& sounds;    // BEL
  CaptureSink& capture;   // screen capture
  TerminalRoles(SessionWindow& w, SoundOutput& s, CaptureSink& c) : window(w), sounds(s), capture(c) {}
  TerminalRoles(SessionHost& host) : TerminalRoles(host, host, host) {}  // NOLINT: a host plays every role
};

// The roles the receive pipeline uses.
struct PipelineRoles {
  Connection& connection;  // auto-response answers
  SessionWindow& window;   // commands, status texts, timers, dialling dialogs
  SoundOutput& sounds;     // connect and hang-up sounds
  KeyboardState& keys;     // Ctrl+F9
  CaptureSink& capture;    // code capture
  PipelineRoles(Connection& n, SessionWindow& w, SoundOutput& s, KeyboardState& k, CaptureSink& c)
      : connection(n), window(w), sounds(s), keys(k), capture(c) {}
  PipelineRoles(SessionHost& host) : PipelineRoles(host, host, host, host, host) {}  // NOLINT: as above
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

// The auto-response table file ("\env\kesta.aut"), asked on every chunk.
class AutoResponseSource {
 public:
  virtual ~AutoResponseSource() = default;
  // Fills `slots` and returns true, or returns false (leaving `slots` alone)
  // when the file cannot be opened.
  virtual bool load(AutoResponseSlots& slots) = 0;
  // True when the table is known to be the one the last successful load
  // gave (the file has not changed since): the pipeline then skips `load`.
  virtual bool unchanged() { return false; }
};

}  // namespace kesta::session
