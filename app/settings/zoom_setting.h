// The terminal's zoom, "\env\kesta.zom" (4 bytes: the factor 1 to 4). A
// missing file, one of another length or a factor out of range leaves the
// choice to the screen's DPI at start, and nothing is written until the user
// changes the factor.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;

struct ZoomSetting {
  static constexpr std::size_t kFileSize = 4;
  static constexpr const char* kRelativePath = "\\env\\kesta.zom";

  std::int32_t factor = 1;

  void encodeTo(RecordWriter& out) const { out.putInt32(factor); }
  void decodeFrom(RecordReader& in) { factor = in.int32(); }
};

// The stored factor, when the file holds exactly one in range.
inline std::optional<int> readZoom(const SettingsFiles& files) {
  const auto bytes = files.store().readPrefix(files.path(ZoomSetting::kRelativePath), ZoomSetting::kFileSize + 1);
  if (!bytes || bytes->size() != ZoomSetting::kFileSize) return std::nullopt;
  ZoomSetting zoom;
  overlayRecord(*bytes, zoom);
  if (zoom.factor < kMinZoom || zoom.factor > kMaxZoom) return std::nullopt;
  return zoom.factor;
}

inline bool writeZoom(const SettingsFiles& files, int factor) {
  return writeRecord(files, ZoomSetting{std::clamp(factor, kMinZoom, kMaxZoom)});
}

// The factor a screen's DPI asks for: 96 or less gives 1, 192 gives 2, and so on.
constexpr int zoomForDpi(int dpi) { return std::clamp(dpi / 96, kMinZoom, kMaxZoom); }

}  // namespace kesta::settings
