// The main window's commands carried out: the dispatcher decides, this file
// acts. Connecting and hanging up, the initial string and macros, sounds and
// colours, file transfers through the transfer library.
#include <algorithm>
#include <iterator>

#include <winsock2.h>
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include "app/settings/directory_settings.h"
#include "app/settings/macro_send.h"
#include "app/settings/modem_settings.h"
#include "app/shell/dialogs/win32_dialogs.h"
#include "app/shell/dialogs/win32_settings_dialogs.h"
#include "app/shell/input/command_dispatch.h"
#include "app/shell/input/command_ids.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"
#include "controls/hctl.h"
#include "hangul/quilh32.h"
#include "xlat/hxlat_import.h"

namespace kesta::shell {

namespace {

ShellModes modesOf(const Shell& shell) {
  ShellModes m;
  m.telnetOpen = shell.socket.isOpen();
  m.serialPresent = shell.serial != nullptr;
  m.chatMode = shell.modes.chatOpen();
  m.passedScreenView = shell.modes.viewOpen();
  return m;
}

// Where the Send File chooser opens: the configured upload directory, or
// home + "\up" when none is configured.
std::string uploadDirectory(const settings::SettingsFiles& files) {
  const settings::DirectorySettings directories = settings::loadDirectorySettings(files);
  return directories.upload.empty() ? settings::DirectorySettings::defaults(files).upload : directories.upload;
}

void checkMenuItem(Shell& shell, int command, bool on) {
  CheckMenuItem(GetMenu(shell.window), command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void connectTelnet(Shell& shell) {
  std::string host;
  if (!runOpenSocketDialog(shell.instance, shell.window, host)) return;
  if (!openTelnet(shell, host)) {
    const ShellTexts& texts = shellTexts(shell.language);
    messageBoxUtf8(shell.window, texts.socketError, texts.socketErrorTitle, MB_OK);
  }
}

void hangUp(Shell& shell) {
  const ShellTexts& texts = shellTexts(shell.language);
  if (messageBoxUtf8(shell.window, texts.hangUpQuestion, texts.hangUpTitle, MB_OKCANCEL) != IDOK) return;
  if (shell.socket.isOpen()) {
    closeTelnet(shell);
    shell.pipeline.connectionLost();  // timer, panes and the hang-up cue
    return;
  }
  // The modem hangs up when DTR drops; its "OK" afterwards ends the connection.
  if (shell.serial) {
    shell.serial->close();
    const ULONGLONG until = GetTickCount64() + 100;
    while (GetTickCount64() < until) Sleep(10);
    shell.serial->open();
    shell.holds.serialOpened();
  }
  shell.pipeline.setAwaitingHangUp(true);
  playCue(shell, "hang.wav");
}

void sendInitialString(Shell& shell) {
  const settings::ModemSettings modem = settings::loadModemSettingsForStartup(shell.files);
  shell.modes.sendOwnBytes(modem.initialCommand + "\r");
}

void sendMacro(Shell& shell, int n) {
  settings::sendMacro(
      shell.files, n, shell.hangul.codeNumber(),
      [](std::string_view internal, int code) {
        std::string text(internal);
        text.resize(internal.size() * 2 + 16);
        const std::size_t length = xlat::convertThroughDll(1, code, text.data(), text.size());
        text.resize(length < text.size() ? length : text.size());
        return text;
      },
      [&shell](std::string_view bytes) { shell.modes.sendOwnBytes(bytes); });
}

void switchVoice(Shell& shell) {
  shell.voice.on = !shell.voice.on;
  checkMenuItem(shell, IDM_VOICE_SUPPORT, shell.voice.on);
  settings::writeVoiceFlag(shell.files, shell.voice);
}

void switchMusic(Shell& shell) {
  if (shell.music.on) {
    shell.host.stopMusic();
    shell.music.on = false;
  } else {
    shell.music.on = true;
    shell.host.startMusic();
  }
  checkMenuItem(shell, IDM_BACKGROUND_MUSIC, shell.music.on);
  settings::writeMusicSettings(shell.files, shell.music);
}

void chooseMusic(Shell& shell) {
  if (shell.music.on) shell.host.stopMusic();
  std::string path;
  const std::string sounds = shell.files.homeDirectory() + "\\wav";
  if (chooseFile(shell.window, "Wave File (*.wav)\0*.wav\0All Files (*.*)\0*.*\0", path, "Change Music File",
                 sounds.c_str(), "wav") &&
      path.size() < 100) {
    shell.music.path = path;
    settings::writeMusicSettings(shell.files, shell.music);
  }
  if (shell.music.on) shell.host.startMusic();
}

void chooseColour(Shell& shell, bool background) {
  COLORREF custom[16];  // all white at every opening
  std::fill(std::begin(custom), std::end(custom), RGB(255, 255, 255));
  CHOOSECOLORA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = shell.window;
  choice.rgbResult = (background ? shell.colors.background : shell.colors.text) & 0xFFFFFF;
  choice.lpCustColors = custom;
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choice)) return;
  (background ? shell.colors.background : shell.colors.text) = choice.rgbResult;
  shell.terminal.setUserColours(shell.colors.text, shell.colors.background);
  settings::writeColorSettings(shell.files, shell.colors);
  if (background) InvalidateRect(shell.window, nullptr, TRUE);
}

void reloadHangulSettings(Shell& shell, bool keyboard) {
  settings::readHangulSettings(shell.files, shell.hangul);
  shell.terminal.setHostCode(shell.hangul.codeNumber());
  shell.processor.setHostCode(shell.hangul.codeNumber());
  shell.chat.setHostCode(shell.hangul.codeNumber());
  useHangulFace(shell);
  InvalidateRect(shell.window, nullptr, TRUE);
  if (keyboard) SetKbdType(shell.window, shell.hangul.keyboard);
}

// A transfer through ZLINK32.DLL, loaded for this transfer only.
void transfer(Shell& shell, bool send) {
  // A UTF-8 host's names are UTF-8, and so is every path the library gets
  // then, so files of any name go and come whatever the code page.
  const bool utf8 = shell.terminal.hostCode() == session::kUtf8Code;
  std::string path;
  if (send) {
    const std::string uploads = uploadDirectory(shell.files);
    const auto choose = utf8 ? chooseFileUtf8 : chooseFile;
    if (!choose(shell.window, "Zip File (*.zip)\0*.zip\0 Arj File (*.arj)\0*.arj\0All Files (*.*)\0*.*\0", path,
                "Send File", uploads.c_str(), "zip")) {
      return;
    }
  } else {
    playCue(shell, "down.wav");
    settings::DirectorySettings directories;
    const bool loaded = settings::readDirectorySettings(shell.files, directories);
    path = downloadDirectory(loaded, directories.download, shell.files.homeDirectory());
    if (utf8) path = narrowUtf8(widenAnsi(path));
  }
  const std::string_view name = transferExport(send, modesOf(shell));
  if (name.empty()) return;
  HMODULE library = LoadLibraryA("ZLINK32.DLL");
  if (library == nullptr) {
    MessageBoxA(shell.window, "Unable to load 'ZLINK16.dll'...", kWindowTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  using Export = int(__cdecl*)(HWND, UINT_PTR, const char*, int);
  auto call = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(library, std::string(name).c_str())));
  if (call == nullptr) {
    MessageBoxA(shell.window, "Unable to get address", kWindowTitle, MB_OK | MB_ICONWARNING);
    FreeLibrary(library);
    return;
  }
  const UINT_PTR connection = shell.socket.isOpen() ? static_cast<UINT_PTR>(shell.socket.socket())
                                                     : reinterpret_cast<UINT_PTR>(shell.serial->handle());
  shell.holds.hold(ReceptionHolder::Transfer);
  // The fourth argument tells the library the names and the path are UTF-8.
  const int nameCode = utf8 ? session::kUtf8Code : 0;
  const int result = call(shell.window, connection, path.c_str(), nameCode);
  if (!send && result == 1) playCue(shell, "dwed.wav");
  shell.holds.release(ReceptionHolder::Transfer);
  FreeLibrary(library);
  if (result < 0) {
    const TransferFailure failure = transferFailure(send, result, shell.language);
    if (!failure.text.empty()) messageBoxUtf8(shell.window, failure.text, failure.title, MB_OK | MB_ICONWARNING);
  }
}

// F9: the Hanja of the syllable under composition; the syllable itself is
// kept when no Hanja is chosen, so nothing typed is lost. It goes where the
// syllable would have gone: the chat line in chat mode, else the host.
void pickHanja(Shell& shell) {
  const std::uint16_t syllable = shell.modes.takeSyllableForHanja();
  if (syllable == 0) return;
  const int chosen = HanjaInput(shell.window, syllable) & 0xFFFF;
  shell.modes.putPicked(chosen >= 0xE031 ? static_cast<std::uint16_t>(chosen) : syllable);
}

// F4: one of the 128 special characters. The special font's glyph i is the
// i-th symbol of KS X 1001 from row 1 on; the line gets that symbol, since
// the 0xD4 lead is the font's own and no host code has it.
void pickSpecial(Shell& shell) {
  shell.modes.finishComposition();
  const int chosen = SpecialInput(shell.window, "KSSpecial") & 0xFFFF;
  if (chosen < 0xD480 || chosen > 0xD4FF) return;
  const int i = chosen - 0xD480;
  char symbol[3] = {static_cast<char>(0xA1 + i / 94), static_cast<char>(0xA1 + i % 94), '\0'};
  if (xlat::convertThroughDll(6, 1, symbol, sizeof symbol) != 2) return;
  shell.modes.putPicked(static_cast<std::uint16_t>(static_cast<unsigned char>(symbol[0]) << 8 |
                                                   static_cast<unsigned char>(symbol[1])));
}

INT_PTR CALLBACK aboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

void about(Shell& shell) {
  DialogBoxParamA(shell.instance, MAKEINTRESOURCEA(IDD_ABOUT), shell.window, aboutProcedure, 0);
}

}  // namespace

void runCommand(Shell& shell, int command) {
  const CommandDecision d = decideCommand(command, modesOf(shell));
  switch (d.action) {
    case CommandAction::RunDialog:
      if (d.dialog == "SearchDlg") {
        searchCommand(shell);
      } else if (d.dialog == "HeadDlg" || d.dialog == "TailDlg") {
        headOrTailCommand(shell, d.dialog == "HeadDlg");
      } else if (runSettingsDialog(shell, d.dialog)) {
        // A dialog that reports a change has its file read again.
        if (d.reload == Reload::HangulSettings || d.reload == Reload::HangulKeyboard) {
          reloadHangulSettings(shell, d.reload == Reload::HangulKeyboard);
        } else if (d.reload == Reload::ModemSettings) {
          reapplyModemSettings(shell);
          if (!shell.serial || !shell.serial->connected()) showFailedPortDialog(shell);
        }
      }
      break;
    case CommandAction::TelnetConnect: connectTelnet(shell); break;
    case CommandAction::HangUp: hangUp(shell); break;
    case CommandAction::SendInitialString: sendInitialString(shell); break;
    case CommandAction::SendMacro: sendMacro(shell, d.macro); break;
    case CommandAction::SwitchHangulMode: shell.modes.switchHangulMode(); break;
    case CommandAction::TextColour: chooseColour(shell, false); break;
    case CommandAction::BackgroundColour: chooseColour(shell, true); break;
    case CommandAction::SendFile: transfer(shell, true); break;
    case CommandAction::ReceiveFiles: transfer(shell, false); break;
    case CommandAction::MusicSwitch: switchMusic(shell); break;
    case CommandAction::ChooseMusic: chooseMusic(shell); break;
    case CommandAction::VoiceSwitch: switchVoice(shell); break;
    case CommandAction::Exit: PostMessageA(shell.window, WM_CLOSE, 0, 0); break;
    case CommandAction::About: about(shell); break;
    case CommandAction::ChatWindow: shell.modes.toggleChat(); break;
    case CommandAction::PassedScreenView: shell.modes.toggleView(); break;
    case CommandAction::ViewPageUp: shell.modes.viewKey(ViewKey::PageUp); break;
    case CommandAction::ViewPageDown: shell.modes.viewKey(ViewKey::PageDown); break;
    case CommandAction::ZoomIn: setZoom(shell, shell.zoom + 1); break;
    case CommandAction::ZoomOut: setZoom(shell, shell.zoom - 1); break;
    case CommandAction::Copy: copySelection(shell); break;
    case CommandAction::SendSelection: sendSelection(shell); break;
    case CommandAction::Paste: pasteClipboard(shell); break;
    case CommandAction::ScreenCapture: captureCommand(shell, CaptureKind::Screen); break;
    case CommandAction::CodeCapture: captureCommand(shell, CaptureKind::Code); break;
    case CommandAction::SpecialCharacter: pickSpecial(shell); break;
    case CommandAction::HanjaCharacter: pickHanja(shell); break;
    default:
      break;
  }
}

// After the modem dialog: the port opened again with the new settings.
void reapplyModemSettings(Shell& shell) {
  const settings::ModemSettings modem = settings::loadModemSettingsForStartup(shell.files);
  closeSerial(shell);
  openSerial(shell, modem);
  // The initial string always goes to the modem, also during a telnet connection.
  const std::string command = modem.initialCommand + "\r";
  if (shell.serial) shell.serial->write(command.data(), command.size());
}

}  // namespace kesta::shell
