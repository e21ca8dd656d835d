#include "app/shell/input/command_dispatch.h"

#include "app/shell/input/command_ids.h"

namespace kesta::shell {

namespace {
CommandDecision dialog(std::string_view name, Reload reload = Reload::Nothing) {
  return {CommandAction::RunDialog, name, reload, 0};
}
CommandDecision act(CommandAction action) { return {action, {}, Reload::Nothing, 0}; }
}  // namespace

CommandDecision decideCommand(int command, const ShellModes& modes) {
  if (command >= IDM_MACRO1 && command <= IDM_MACRO9) {
    return {CommandAction::SendMacro, {}, Reload::Nothing, command - IDM_MACRO1 + 1};
  }
  switch (command) {
    case IDM_PHONE_NUMBER: return dialog("DialDlg");
    case IDM_HANG_UP_BY_KEY:
    case IDM_CLOSE: return act(CommandAction::HangUp);
    case IDM_HANGUL_FONT: return dialog("HanFontDlg", Reload::HangulSettings);
    case IDM_HANGUL_CODE: return dialog("HanCodeDlg", Reload::HangulSettings);
    case IDM_CHAT_WINDOW: return act(CommandAction::ChatWindow);
    case IDM_SETTING_MODEM: return dialog("ModemDlg", Reload::ModemSettings);
    case IDM_MODEM_STATE: return dialog("StateDlg");
    case IDM_SEND_INITIAL: return act(CommandAction::SendInitialString);
    case IDM_HANGUL_KEYTYPE: return dialog("HanKeyDlg", Reload::HangulKeyboard);
    // The head and tail texts belong to the chat window.
    case IDM_PREFIX: return modes.chatMode ? dialog("HeadDlg") : act(CommandAction::Nothing);
    case IDM_SUFFIX: return modes.chatMode ? dialog("TailDlg") : act(CommandAction::Nothing);
    case IDM_SPECIAL_CHARACTER: return act(CommandAction::SpecialCharacter);
    case IDM_HANJA_CHARACTER: return act(CommandAction::HanjaCharacter);
    case IDM_SWITCH_HANGUL: return act(CommandAction::SwitchHangulMode);
    case IDM_TEXT_COLOR: return act(CommandAction::TextColour);
    case IDM_BACKGROUND_COLOR: return act(CommandAction::BackgroundColour);
    case IDM_SEARCH_STRING: return dialog("SearchDlg");
    case IDM_SCREEN_CAPTURE: return act(CommandAction::ScreenCapture);
    case IDM_CODE_CAPTURE: return act(CommandAction::CodeCapture);
    // PgUp and PgDn page the passed-screen view while it is open.
    case IDM_SEND_FILE:
      return act(modes.passedScreenView ? CommandAction::ViewPageUp : CommandAction::SendFile);
    case IDM_RECEIVE_FILE:
      return act(modes.passedScreenView ? CommandAction::ViewPageDown : CommandAction::ReceiveFiles);
    case IDM_DOMAIN_NAME: return act(CommandAction::TelnetConnect);
    case IDM_DIRECTORY: return dialog("DirectoryDlg");
    case IDM_DEFINE_MACRO: return dialog("MacroDlg");
    case IDM_AUTO_TRANSFER: return dialog("AutoDlg");
    case IDM_PASTE: return act(CommandAction::Paste);
    case IDM_COPY: return act(CommandAction::Copy);
    case IDM_SEND_SELECTION: return act(CommandAction::SendSelection);
    case IDM_BACKGROUND_MUSIC: return act(CommandAction::MusicSwitch);
    case IDM_CHANGE_MUSIC: return act(CommandAction::ChooseMusic);
    case IDM_VOICE_SUPPORT: return act(CommandAction::VoiceSwitch);
    case IDM_EXIT: return act(CommandAction::Exit);
    case IDM_ABOUT: return act(CommandAction::About);
    case IDM_PASSED_SCREEN: return act(CommandAction::PassedScreenView);
    case IDM_ZOOM_IN: return act(CommandAction::ZoomIn);
    case IDM_ZOOM_OUT: return act(CommandAction::ZoomOut);
    default: return act(CommandAction::Nothing);  // 123, 164, 165 only take their keys
  }
}

std::string_view transferExport(bool send, const ShellModes& modes) {
  if (modes.telnetOpen) return send ? "wsz32s" : "wrz32s";
  if (modes.serialPresent) return send ? "wsz32" : "wrz32";
  return {};
}

std::string downloadDirectory(bool settingsLoaded, std::string_view configured, std::string_view home) {
  if (!settingsLoaded || configured.empty()) return std::string(home) + "\\down\\";
  std::string directory(configured);
  if (directory.back() != '\\') directory += '\\';
  return directory;
}

}  // namespace kesta::shell
