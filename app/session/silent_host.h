// A session host that does nothing: no keys held, sends swallowed, no sounds,
// status texts or dialogs. For replaying captures and measuring throughput.
#pragma once

#include <string>
#include <string_view>

#include "app/session/session_host.h"

namespace kesta::session {

struct SilentHost : SessionHost {
  std::size_t send(std::string_view bytes) override { return bytes.size(); }
  void postCommand(int) override {}
  bool koreanInterface() override { return false; }
  void setStatusText(int, std::string_view) override {}
  void restartConnectionTimer() override {}
  void stopConnectionTimer() override {}
  void endDiallingDialogs() override {}
  void messageBox(std::string_view, std::string_view) override {}
  bool voiceSupport() override { return false; }
  bool backgroundMusic() override { return false; }
  std::string homeDirectory() override { return {}; }
  void playWaveAndWait(const std::string&) override {}
  void stopMusic() override {}
  void startMusic() override {}
  void beep() override {}
  bool keyDown(int) override { return false; }
  void hideCaret() override {}
  void showCaretAt(int, int) override {}
  int chatColumn() override { return 0; }
  void writeCapture(std::string_view) override {}
};

}  // namespace kesta::session
