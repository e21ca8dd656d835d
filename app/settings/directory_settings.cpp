#include "app/settings/directory_settings.h"

namespace kesta::settings {

DirectorySettings DirectorySettings::defaults(const SettingsFiles& files) {
  DirectorySettings d;
  d.download = files.path("\\down");
  d.upload = files.path("\\up");
  d.capture = files.path("\\cap");
  return d;
}

DirectorySettings loadDirectorySettings(const SettingsFiles& files) {
  DirectorySettings d = DirectorySettings::defaults(files);
  readDirectorySettings(files, d);
  return d;
}

}  // namespace kesta::settings
