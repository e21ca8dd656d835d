#include "app/settings/macro_table.h"

namespace kesta::settings {

MacroTable loadMacroTableForDialog(const SettingsFiles& files) {
  MacroTable table;
  if (!readMacroTable(files, table)) {
    table = MacroTable{};
    writeMacroTable(files, table);
  }
  return table;
}

}  // namespace kesta::settings
