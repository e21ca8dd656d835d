// The user's profile on Windows: WIN.INI through the profile functions.
#pragma once

#include "app/settings/profile.h"

namespace kesta::settings {

class Win32Profile : public Profile {
 public:
  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                         std::size_t bufferSize) const override;
};

}  // namespace kesta::settings
