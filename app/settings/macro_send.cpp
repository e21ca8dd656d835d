#include "app/settings/macro_send.h"

#include "app/settings/macro_table.h"

namespace kesta::settings {

std::size_t sendMacro(const SettingsFiles& files, int n, int hostCodeNumber, const ToHostCode& toHostCode,
                      const SendBytes& send) {
  if (n < 1 || n > MacroTable::kMacros) return 0;
  MacroTable table;
  if (!readMacroTable(files, table)) return 0;
  const std::string& macro = table.macros[static_cast<std::size_t>(n - 1)];
  if (macro.empty()) return 0;
  std::string bytes = toHostCode ? toHostCode(macro, hostCodeNumber) : macro;
  if (bytes.empty()) return 0;
  send(bytes);
  return bytes.size();
}

}  // namespace kesta::settings
