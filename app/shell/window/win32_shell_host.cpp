#include <winsock2.h>
#include <windows.h>

#include <mmsystem.h>

#include "app/shell/dialogs/win32_settings_dialogs.h"
#include "app/shell/window/win32_shell.h"
#include "app/shell/window/win32_text.h"

namespace kesta::shell {

std::size_t ShellHost::send(std::string_view bytes) {
  sendToConnection(shell_, bytes);
  return bytes.size();
}

std::size_t NegotiationReplies::send(std::string_view bytes) { return shell_.socket.sendRaw(bytes); }

void ShellHost::postCommand(int command) { SendMessageA(shell_.window, WM_COMMAND, command, 0); }

bool ShellHost::koreanInterface() { return shell_.language == Language::Korean; }

void ShellHost::setStatusText(int part, std::string_view text) { setPaneText(shell_, part, text); }

void ShellHost::restartConnectionTimer() {
  shell_.connectionClock.restart();
  SetTimer(shell_.window, kConnectionTimer, 1000, nullptr);
}

void ShellHost::stopConnectionTimer() { KillTimer(shell_.window, kConnectionTimer); }

void ShellHost::endDiallingDialogs() { kesta::shell::endDiallingDialogs(shell_); }

void ShellHost::messageBox(std::string_view text, std::string_view caption) {
  messageBoxUtf8(shell_.window, text, caption, MB_OK);
}

bool ShellHost::voiceSupport() { return shell_.voice.on; }
bool ShellHost::backgroundMusic() { return shell_.music.on; }
std::string ShellHost::homeDirectory() { return shell_.files.homeDirectory(); }

void ShellHost::playWaveAndWait(const std::string& path) { sndPlaySoundA(path.c_str(), 0); }
void ShellHost::stopMusic() { sndPlaySoundA(nullptr, 0); }
void ShellHost::startMusic() {
  if (!shell_.music.path.empty()) sndPlaySoundA(shell_.music.path.c_str(), SND_ASYNC | SND_LOOP);
}

void ShellHost::hideCaret() {
  if (shell_.hasFocus && shell_.caretShown) {
    HideCaret(shell_.window);
    shell_.caretShown = false;
  }
}

void ShellHost::showCaretAt(int column, int row) {
  if (!shell_.hasFocus) return;
  const auto& g = shell_.target.geometry();
  SetCaretPos(g.windowX(column), g.windowY(row));
  if (!shell_.caretShown) {
    ShowCaret(shell_.window);
    shell_.caretShown = true;
  }
}

int ShellHost::chatColumn() { return shell_.chat.column(); }
void ShellHost::writeCapture(std::string_view bytes) { shell_.capture.writeCapture(bytes); }

void playCue(Shell& shell, const char* fileName) {
  if (!shell.voice.on) return;
  if (shell.music.on) shell.host.stopMusic();
  shell.host.playWaveAndWait(shell.files.path("\\wav\\") + fileName);
  if (shell.music.on) shell.host.startMusic();
}

}  // namespace kesta::shell
