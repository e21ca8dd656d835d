#include "app/settings/profile.h"

#include "app/settings/settings_files.h"

namespace kesta::settings {

std::string FixedHomeProfile::readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue, std::size_t bufferSize) const {
  std::string value(present_ && section == kProfileSection && key == kProfileKey ? std::string_view(home_)
                                                                                 : defaultValue);
  if (bufferSize == 0) return {};
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

}  // namespace kesta::settings
