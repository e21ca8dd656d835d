// Hangul font, host code and keyboard, "\env\kesta.han" (12 bytes).
#pragma once

#include <cstdint>
#include <string_view>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

inline constexpr int kHangulFontCount = 4;
inline constexpr int kHangulCodeCount = 8;
inline constexpr std::int32_t kHangulCodeUtf8 = 7;  // the list's last entry, code number 9
inline constexpr std::int32_t kKeyboardThreeSet = 1;
inline constexpr std::int32_t kKeyboardTwoSet = 2;

struct HangulSettings {
  static constexpr std::size_t kFileSize = 12;
  static constexpr const char* kRelativePath = "\\env\\kesta.han";

  std::int32_t font = 1;      // 0-3, see hangulFontFace()
  std::int32_t code = 5;      // index 0-7 into the Hangul code list ("KS Complete")
  std::int32_t keyboard = kKeyboardTwoSet;

  // The code number the code conversion takes: index + 1, and 9 (UTF-8) for
  // the last entry, since 8 is the callers' code and not in the list. An
  // index outside the list (a damaged file) gives the default's number, 6.
  int codeNumber() const {
    if (code == kHangulCodeUtf8) return 9;
    return code >= 0 && code < kHangulCodeCount ? code + 1 : 6;
  }

  void encodeTo(RecordWriter& out) const {
    out.putInt32(font);
    out.putInt32(code);
    out.putInt32(keyboard);
  }
  void decodeFrom(RecordReader& in) {
    font = in.int32();
    code = in.int32();
    keyboard = in.int32();
  }
  bool operator==(const HangulSettings&) const = default;
};

// A missing file leaves the defaults 1, 5, 2 in place and is not written.
inline bool readHangulSettings(const SettingsFiles& files, HangulSettings& settings) {
  return readRecord(files, settings);
}
inline bool writeHangulSettings(const SettingsFiles& files, const HangulSettings& settings) {
  return writeRecord(files, settings);
}

// "InternalMyungjo", "InternalGothic", "InternalPilgi", "InternalSammool";
// empty for a number outside 0-3.
std::string_view hangulFontFace(std::int32_t font);
// The code list's labels by index: English ("KS Complete") or Korean (UTF-8);
// empty for an index outside 0-7.
std::string_view hangulCodeLabel(std::int32_t index, bool korean);

}  // namespace kesta::settings
