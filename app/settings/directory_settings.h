// Download, upload and capture directories, "\env\kesta.dir" (300 bytes:
// three 100-byte path fields in that order).
#pragma once

#include <string>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct DirectorySettings {
  static constexpr std::size_t kFileSize = 300;
  static constexpr const char* kRelativePath = "\\env\\kesta.dir";

  std::string download;  // system path texts, at most 99 bytes each
  std::string upload;
  std::string capture;

  // home + "\down", home + "\up", home + "\cap".
  static DirectorySettings defaults(const SettingsFiles& files);

  void encodeTo(RecordWriter& out) const {
    out.putText(download, kTextFieldSize);
    out.putText(upload, kTextFieldSize);
    out.putText(capture, kTextFieldSize);
  }
  void decodeFrom(RecordReader& in) {
    download = in.text(kTextFieldSize);
    upload = in.text(kTextFieldSize);
    capture = in.text(kTextFieldSize);
  }
  bool operator==(const DirectorySettings&) const = default;
};

inline bool readDirectorySettings(const SettingsFiles& files, DirectorySettings& settings) {
  return readRecord(files, settings);
}
inline bool writeDirectorySettings(const SettingsFiles& files, const DirectorySettings& settings) {
  return writeRecord(files, settings);
}

// What the file choosers and transfers use: the file over the defaults, or
// the defaults alone when there is no file.
DirectorySettings loadDirectorySettings(const SettingsFiles& files);

}  // namespace kesta::settings
