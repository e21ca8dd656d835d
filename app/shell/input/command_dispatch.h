// What a menu, accelerator or toolbar command does, decided from the
// shell's modes; the main window carries the decision out. Commands whose
// effect depends on a mode (PgUp and PgDn in the passed-screen view, the
// head and tail texts outside chat mode) are settled here.
#pragma once

#include <string>
#include <string_view>

namespace kesta::shell {

struct ShellModes {
  bool telnetOpen = false;
  bool serialPresent = false;  // the window has a serial-port record
  bool chatMode = false;
  bool passedScreenView = false;
};

enum class CommandAction {
  Nothing,
  RunDialog,          // a settings dialog; `reload` names what to read again when it reports a change
  TelnetConnect,      // the "OpenSocket" dialog, then a connection
  HangUp,
  SendInitialString,
  SendMacro,          // `macro` 1 to 9
  SwitchHangulMode,
  TextColour,
  BackgroundColour,
  ChatWindow,
  SpecialCharacter,
  HanjaCharacter,
  ScreenCapture,
  CodeCapture,
  SendFile,
  ReceiveFiles,
  ViewPageUp,
  ViewPageDown,
  Paste,
  Copy,
  SendSelection,
  MusicSwitch,
  ChooseMusic,
  VoiceSwitch,
  Exit,
  About,
  PassedScreenView,
  ZoomIn,
  ZoomOut,
};

enum class Reload { Nothing, HangulSettings, HangulKeyboard, ModemSettings };

struct CommandDecision {
  CommandAction action = CommandAction::Nothing;
  std::string_view dialog;  // resource name for RunDialog
  Reload reload = Reload::Nothing;
  int macro = 0;
};

CommandDecision decideCommand(int command, const ShellModes& modes);

// The transfer export for the connection in use, or empty when there is no
// connection to transfer over.
std::string_view transferExport(bool send, const ShellModes& modes);

// The download directory: the configured one with a backslash at its end,
// or home + "\down\" when there is none (or it is empty).
std::string downloadDirectory(bool settingsLoaded, std::string_view configured, std::string_view home);

}  // namespace kesta::shell
