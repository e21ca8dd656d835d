// The main window's saved client size, "\env\kesta.pos" (8 bytes): width,
// height in pixels, saved at exit and read at start-up.
#pragma once

#include <cstdint>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct WindowSize {
  static constexpr std::size_t kFileSize = 8;
  static constexpr const char* kRelativePath = "\\env\\kesta.pos";

  std::int32_t width = 0;
  std::int32_t height = 0;

  void encodeTo(RecordWriter& out) const {
    out.putInt32(width);
    out.putInt32(height);
  }
  void decodeFrom(RecordReader& in) {
    width = in.int32();
    height = in.int32();
  }
  bool operator==(const WindowSize&) const = default;
};

inline bool readWindowSize(const SettingsFiles& files, WindowSize& size) { return readRecord(files, size); }
inline bool writeWindowSize(const SettingsFiles& files, const WindowSize& size) { return writeRecord(files, size); }

}  // namespace kesta::settings
