// Text and background colours, "\env\kesta.col" (8 bytes), each a colour
// value 0x00BBGGRR.
#pragma once

#include <cstdint>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct ColorSettings {
  static constexpr std::size_t kFileSize = 8;
  static constexpr const char* kRelativePath = "\\env\\kesta.col";

  std::uint32_t text = 0xFFFFFF;        // white
  std::uint32_t background = 0x7D0000;  // dark blue (red 0, green 0, blue 125)

  void encodeTo(RecordWriter& out) const {
    out.putUInt32(text);
    out.putUInt32(background);
  }
  void decodeFrom(RecordReader& in) {
    text = in.uint32();
    background = in.uint32();
  }
  bool operator==(const ColorSettings&) const = default;
};

inline bool readColorSettings(const SettingsFiles& files, ColorSettings& colors) { return readRecord(files, colors); }
inline bool writeColorSettings(const SettingsFiles& files, const ColorSettings& colors) {
  return writeRecord(files, colors);
}

// Start-up: the file, or the defaults written to a new file when there is none.
ColorSettings loadColorSettingsOrCreate(const SettingsFiles& files);

}  // namespace kesta::settings
