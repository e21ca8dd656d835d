// The settings the main window loads when it is created, in its order:
// sounds (written when missing), Hangul settings (not written), colours
// (written when missing) and the saved window size (not written).
#pragma once

#include <optional>

#include "app/settings/color_settings.h"
#include "app/settings/hangul_settings.h"
#include "app/settings/settings_files.h"
#include "app/settings/sound_settings.h"
#include "app/settings/window_size.h"

namespace kesta::settings {

struct StartupSettings {
  VoiceFlag voice;
  MusicSettings music;
  HangulSettings hangul;
  ColorSettings colors;
  std::optional<WindowSize> windowSize;  // empty: keep the built-in size
};

StartupSettings loadStartupSettings(const SettingsFiles& files);

}  // namespace kesta::settings
