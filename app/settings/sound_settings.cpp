#include "app/settings/sound_settings.h"

namespace kesta::settings {

MusicSettings MusicSettings::defaults(const SettingsFiles& files) {
  MusicSettings m;
  m.on = true;
  m.path = files.path("\\wav\\back.wav");
  return m;
}

VoiceFlag loadVoiceFlagOrCreate(const SettingsFiles& files) {
  VoiceFlag flag;
  if (!readVoiceFlag(files, flag)) {
    flag = VoiceFlag{};
    writeVoiceFlag(files, flag);
  }
  return flag;
}

MusicSettings loadMusicSettingsOrCreate(const SettingsFiles& files) {
  MusicSettings music;
  if (!readMusicSettings(files, music)) {
    music = MusicSettings::defaults(files);
    writeMusicSettings(files, music);
  }
  return music;
}

}  // namespace kesta::settings
