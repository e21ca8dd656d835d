#include "app/shell/dialogs/text_dialogs.h"

#include "app/shell/dialogs/text_cut.h"

namespace kesta::shell {

void DirectoryDialog::ok(const std::string& download, const std::string& upload, const std::string& capture) {
  settings::DirectorySettings paths;
  paths.download = cutAtCharacter(download, kTextLimit);
  paths.upload = cutAtCharacter(upload, kTextLimit);
  paths.capture = cutAtCharacter(capture, kTextLimit);
  settings::writeDirectorySettings(files_, paths);
  changed_ = true;
}

void MacroDialog::ok(const Texts& typed) {
  settings::MacroTable table;
  for (std::size_t i = 0; i < table.macros.size(); ++i) table.macros[i] = cutAtCharacter(typed[i], kTextLimit);
  settings::writeMacroTable(files_, table);
  changed_ = true;
}

settings::AutoResponseTable AutoDialog::open() const {
  settings::AutoResponseTable table;
  settings::readAutoResponseTable(files_, table);
  return table;
}

std::array<std::string, 2 * settings::AutoResponseTable::kRows> AutoDialog::editTexts(
    const settings::AutoResponseTable& table) {
  std::array<std::string, 2 * settings::AutoResponseTable::kRows> texts;
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    texts[2 * r] = table.rows[r].reference;
    texts[2 * r + 1] = table.rows[r].transfer;
  }
  return texts;
}

void AutoDialog::ok(const settings::AutoResponseTable& typed) {
  settings::AutoResponseTable table;
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    table.rows[r].enabled = typed.rows[r].enabled;
    table.rows[r].reference = cutAtCharacter(typed.rows[r].reference, kTextLimit);
    table.rows[r].transfer = cutAtCharacter(typed.rows[r].transfer, kTextLimit);
  }
  settings::writeAutoResponseTable(files_, table);
  changed_ = true;
}

}  // namespace kesta::shell
