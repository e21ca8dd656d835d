#include "app/settings/startup_settings.h"

namespace kesta::settings {

StartupSettings loadStartupSettings(const SettingsFiles& files) {
  StartupSettings s;
  s.voice = loadVoiceFlagOrCreate(files);
  s.music = loadMusicSettingsOrCreate(files);
  readHangulSettings(files, s.hangul);
  s.colors = loadColorSettingsOrCreate(files);
  WindowSize size;
  if (readWindowSize(files, size)) s.windowSize = size;
  return s;
}

}  // namespace kesta::settings
