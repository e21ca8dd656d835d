// Everything the main window owns, in one record reached through the
// window: settings, the terminal with its pipeline and page store, the
// connections, the bars and the clocks. WM_CREATE makes it, WM_DESTROY ends it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/session/receive_pipeline.h"
#include "app/session/settings_auto_response.h"
#include "app/session/telnet.h"
#include "app/session/telnet_reader.h"
#include "app/session/terminal.h"
#include "app/settings/color_settings.h"
#include "app/settings/hangul_settings.h"
#include "app/settings/modem_settings.h"
#include "app/settings/settings_files.h"
#include "app/settings/sound_settings.h"
#include "app/settings/win32_profile.h"
#include "app/shell/connection/win32_serial_port.h"
#include "app/shell/connection/win32_telnet.h"
#include "app/shell/input/win32_keyboard.h"
#include "app/shell/views/chat_ring.h"
#include "app/shell/views/passed_screen_view.h"
#include "app/shell/views/screen_selection.h"
#include "app/shell/views/win32_views.h"
#include "app/shell/window/connection_clock.h"
#include "app/shell/window/shell_texts.h"
#include "app/shell/window/win32_draw_target.h"

namespace kesta::shell {

inline constexpr char kWindowTitle[] = "Kesta Kesta 2.0 for Windows 95";
inline constexpr UINT kStartOfOperation = WM_USER + 2;
inline constexpr UINT_PTR kClockTimer = 10;
inline constexpr UINT_PTR kConnectionTimer = 20;

struct Shell;

// The session core's view of the program: sending, commands, status texts,
// timers, message boxes, sounds, keys and the caret, all on the main window.
class ShellHost : public session::SessionHost {
 public:
  explicit ShellHost(Shell& shell) : shell_(shell) {}
  std::size_t send(std::string_view bytes) override;
  void postCommand(int command) override;
  bool koreanInterface() override;
  void setStatusText(int part, std::string_view text) override;
  void restartConnectionTimer() override;
  void stopConnectionTimer() override;
  void endDiallingDialogs() override;
  void messageBox(std::string_view text, std::string_view caption) override;
  bool voiceSupport() override;
  bool backgroundMusic() override;
  std::string homeDirectory() override;
  void playWaveAndWait(const std::string& path) override;
  void stopMusic() override;
  void startMusic() override;
  void beep() override { MessageBeep(MB_OK); }
  bool keyDown(int virtualKey) override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
  void hideCaret() override;
  void showCaretAt(int column, int row) override;
  int chatColumn() override;
  void writeCapture(std::string_view bytes) override;

 private:
  Shell& shell_;
};

// Telnet negotiation replies go to the socket as they are, never doubled.
class NegotiationReplies : public session::Connection {
 public:
  explicit NegotiationReplies(Shell& shell) : shell_(shell) {}
  std::size_t send(std::string_view bytes) override;

 private:
  Shell& shell_;
};

struct Shell {
  explicit Shell(HWND window, HINSTANCE instance);

  HWND window;
  HINSTANCE instance;
  Language language;
  settings::Win32Profile profile;
  settings::SettingsFiles files;

  settings::HangulSettings hangul;
  settings::ColorSettings colors;
  settings::VoiceFlag voice;
  settings::MusicSettings music;

  int cellWidth = 8;     // W
  int cellHeight = 16;   // H
  int wideCaret = 16;    // W2, the caret over a two-byte character
  int zoom = 1;          // the terminal shown 1 to 4 times its size
  bool hasFocus = false;
  bool caretShown = false;

  Win32DrawTarget target;
  ShellHost host;
  NegotiationReplies replies;
  session::SettingsAutoResponseSource autoResponses;
  session::Terminal terminal;
  session::ReceivePipeline pipeline;
  session::TelnetProtocol telnetProtocol;
  session::TelnetReader telnetReader;
  TelnetSocket socket;
  WindowAutomaton automaton;
  TerminalKeys keys;
  CharacterProcessor processor;

  // The views.
  ChatRing chatRing;
  ChatRows chatRows;
  ChatProcessor chat;
  ShellReception reception;
  ReceptionHolds holds;
  PassedScreenView passedScreen;
  ScreenSelection selection;
  ShellModeFace modeFace;
  ProgramModes modes;
  StdioCaptureFiles captureFiles;
  ShellCaptureTaps captureTaps;
  Capture capture;
  std::string searchText;  // internal code
  HCURSOR clickCursor = nullptr;    // over a clickable item
  HCURSOR sendingCursor = nullptr;  // while a clicked item is sent
  std::unique_ptr<SerialPort> serial;  // its pointer also sits in the window's extra bytes

  HWND toolbar = nullptr;
  HWND statusBar = nullptr;
  std::array<std::string, kPaneCount> paneTexts;
  ConnectionClock connectionClock;
  HBITMAP background = nullptr;
  // The transfer library is loaded by name for every transfer and freed
  // after it; this reference, taken before any other thread exists, keeps it
  // mapped in between: Wine cannot map a DLL with thread-local storage while
  // the serial reader thread runs (its loader faults in alloc_tls_slot).
  HMODULE transferLibraryPin = nullptr;
  std::string startHost;  // "HOST[:PORT]" from the command line
};

Shell* shellOf(HWND window);

// What the entry hands the main window's creation.
struct StartParameters {
  std::string host;  // "HOST[:PORT]" from the command line, or empty
  HBITMAP background = nullptr;
};

// The connection side of the main window (win32_connection.cpp).
void openSerialAtStart(Shell& shell);
void closeSerial(Shell& shell);
bool openSerial(Shell& shell, const settings::ModemSettings& modem);
void drainSerial(Shell& shell, HANDLE notifiedHandle);
bool openTelnet(Shell& shell, const std::string& hostText);
void closeTelnet(Shell& shell);
void socketNotification(Shell& shell, WPARAM socket, LPARAM event);
void sendToConnection(Shell& shell, std::string_view bytes);

// Commands (win32_commands.cpp).
void runCommand(Shell& shell, int command);
void reapplyModemSettings(Shell& shell);

// The bars (win32_bars.cpp).
void createBars(Shell& shell);
void setPaneText(Shell& shell, int pane, std::string_view utf8);
bool answerTooltip(Shell& shell, LPARAM notification);

// Sounds (win32_shell_host.cpp): a cue from "\wav\" with the music around it.
void playCue(Shell& shell, const char* fileName);

// The logo window (win32_logo.cpp).
bool registerLogoClass(HINSTANCE instance);
HWND openLogo(HINSTANCE instance, HWND mainWindow, const settings::SettingsFiles& files);

// The main window (win32_main_window.cpp).
// The Hangul face of the settings becomes the terminal's, and the cell size
// is read again from it.
void useHangulFace(Shell& shell);
// The terminal shown `factor` times its size (kept within 1 to 4); the factor
// is saved and the window grows or shrinks to fit.
void setZoom(Shell& shell, int factor);
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kesta::shell
