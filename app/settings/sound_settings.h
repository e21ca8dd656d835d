// Sound settings: the voice flag, "\env\kesta.voc" (4 bytes: 1 sound effects
// on, 0 off), and the background music, "\env\kesta.mus" (104 bytes: on
// flag, then the 100-byte path of the wave file).
#pragma once

#include <string>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct VoiceFlag {
  static constexpr std::size_t kFileSize = 4;
  static constexpr const char* kRelativePath = "\\env\\kesta.voc";

  bool on = true;

  void encodeTo(RecordWriter& out) const { out.putInt32(on ? 1 : 0); }
  void decodeFrom(RecordReader& in) { on = in.int32() != 0; }
  bool operator==(const VoiceFlag&) const = default;
};

struct MusicSettings {
  static constexpr std::size_t kFileSize = 104;
  static constexpr const char* kRelativePath = "\\env\\kesta.mus";

  bool on = true;
  std::string path;  // system path text of the wave file, at most 99 bytes

  // On, home + "\wav\back.wav".
  static MusicSettings defaults(const SettingsFiles& files);

  void encodeTo(RecordWriter& out) const {
    out.putInt32(on ? 1 : 0);
    out.putText(path, kTextFieldSize);
  }
  void decodeFrom(RecordReader& in) {
    on = in.int32() != 0;
    path = in.text(kTextFieldSize);
  }
  bool operator==(const MusicSettings&) const = default;
};

inline bool readVoiceFlag(const SettingsFiles& files, VoiceFlag& flag) { return readRecord(files, flag); }
inline bool writeVoiceFlag(const SettingsFiles& files, const VoiceFlag& flag) { return writeRecord(files, flag); }
inline bool readMusicSettings(const SettingsFiles& files, MusicSettings& music) { return readRecord(files, music); }
inline bool writeMusicSettings(const SettingsFiles& files, const MusicSettings& music) {
  return writeRecord(files, music);
}

// Start-up: the file, or the defaults written to a new file when there is none.
VoiceFlag loadVoiceFlagOrCreate(const SettingsFiles& files);
MusicSettings loadMusicSettingsOrCreate(const SettingsFiles& files);

}  // namespace kesta::settings
