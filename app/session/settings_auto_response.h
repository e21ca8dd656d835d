// The receive pipeline's auto-response table, read from the settings file
// "\env\kesta.aut" under the home directory on every chunk.
#pragma once

#include "app/session/session_host.h"
#include "app/settings/settings_files.h"

namespace kesta::session {

class SettingsAutoResponseSource : public AutoResponseSource {
 public:
  explicit SettingsAutoResponseSource(const settings::SettingsFiles& files) : files_(files) {}
  // A missing or unreadable file leaves `slots` as they were, so the
  // pipeline keeps answering with its last table.
  bool load(AutoResponseSlots& slots) override;

 private:
  const settings::SettingsFiles& files_;
};

}  // namespace kesta::session
