#include "app/session/settings_auto_response.h"

#include "app/settings/auto_response.h"

namespace kesta::session {

bool SettingsAutoResponseSource::unchanged() {
  if (!loadedStamp_) return false;
  // A file found settled and unchanged is looked at again only after a
  // short while: a status call for every 80-byte serial chunk costs more
  // than the chunk.
  auto now = std::chrono::steady_clock::now();
  if (settled_ && now - checkedAt_ < kRecheckInterval) return true;
  std::string path = files_.path(settings::AutoResponseTable::kRelativePath);
  settled_ = path == loadedPath_ && files_.store().stamp(path) == loadedStamp_;
  checkedAt_ = now;
  return settled_;
}

bool SettingsAutoResponseSource::load(AutoResponseSlots& slots) {
  // The stamp is taken before the read: a change during it is seen next time.
  std::string path = files_.path(settings::AutoResponseTable::kRelativePath);
  std::optional<settings::FileStamp> stamp = files_.store().stamp(path);
  settings::AutoResponseTable table;
  settled_ = false;
  if (!settings::readAutoResponseTable(files_, table)) {
    loadedStamp_.reset();
    return false;
  }
  loadedPath_ = path;
  loadedStamp_ = stamp;
  for (int i = 0; i < kAutoResponseSlots; ++i) {
    const auto& row = table.rows[static_cast<std::size_t>(i)];
    slots[static_cast<std::size_t>(i)] = AutoResponseSlot{row.enabled, row.reference, row.transfer};
  }
  return true;
}

}  // namespace kesta::session
