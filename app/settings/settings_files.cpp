#include "app/settings/settings_files.h"

namespace kesta::settings {

std::string SettingsFiles::homeDirectory() const {
  std::string home = profile_->readString(kProfileSection, kProfileKey, kDefaultHome, kHomeBufferSize);
  // A profile that ignores the buffer size still gets no more than the buffer holds.
  if (home.size() > kHomeBufferSize - 1) home.resize(kHomeBufferSize - 1);
  return home;
}

}  // namespace kesta::settings
