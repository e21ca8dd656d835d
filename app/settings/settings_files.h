// Where the settings live: the home directory, read from the profile each
// time a path is built, and the file store the readers and writers use.
#pragma once

#include <string>
#include <string_view>

#include "app/settings/file_store.h"
#include "app/settings/profile.h"

namespace kesta::settings {

inline constexpr char kProfileSection[] = "KESTA 20";
inline constexpr char kProfileKey[] = "PROGRAM";
inline constexpr char kDefaultHome[] = "NULL";
inline constexpr std::size_t kHomeBufferSize = 80;  // the home directory is at most 79 bytes

class SettingsFiles {
 public:
  SettingsFiles(const Profile& profile, FileStore& store) : profile_(&profile), store_(&store) {}

  // The home directory as the profile says now ("NULL" when it says nothing).
  std::string homeDirectory() const;
  // The home directory followed by `relative`, which begins with a backslash;
  // no separator is added.
  std::string path(std::string_view relative) const { return homeDirectory() + std::string(relative); }

  FileStore& store() const { return *store_; }

 private:
  const Profile* profile_;
  FileStore* store_;
};

}  // namespace kesta::settings
