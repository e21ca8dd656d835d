// The receive pipeline's auto-response table, read from the settings file
// "\env\kesta.aut" under the home directory. Asked on every chunk, it reads
// the file again only when its time, its size or the home directory changed;
// a settled file is looked at no more than every 20 ms.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/session/session_host.h"
#include "app/settings/settings_files.h"

namespace kesta::session {

class SettingsAutoResponseSource : public AutoResponseSource {
 public:
  // How long a settled, unchanged file is taken as unchanged without a look.
  static constexpr std::chrono::milliseconds kRecheckInterval{20};

  explicit SettingsAutoResponseSource(const settings::SettingsFiles& files) : files_(files) {}
  // A missing or unreadable file leaves `slots` as they were, so the
  // pipeline keeps answering with its last table.
  bool load(AutoResponseSlots& slots) override;
  bool unchanged() override;

 private:
  const settings::SettingsFiles& files_;
  std::string loadedPath_;  // the file the last successful load read
  std::optional<settings::FileStamp> loadedStamp_;
  // The last look found the file settled and as loaded, at this time.
  bool settled_ = false;
  std::chrono::steady_clock::time_point checkedAt_{};
};

}  // namespace kesta::session
