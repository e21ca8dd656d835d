#include "app/session/settings_auto_response.h"

#include "app/settings/auto_response.h"

namespace kesta::session {

bool SettingsAutoResponseSource::load(AutoResponseSlots& slots) {
  settings::AutoResponseTable table;
  if (!settings::readAutoResponseTable(files_, table)) return false;
  for (int i = 0; i < kAutoResponseSlots; ++i) {
    const auto& row = table.rows[static_cast<std::size_t>(i)];
    slots[static_cast<std::size_t>(i)] = AutoResponseSlot{row.enabled, row.reference, row.transfer};
  }
  return true;
}

}  // namespace kesta::session
