// The models behind "HanFontDlg", "HanCodeDlg" and "HanKeyDlg": one list
// each over "\env\kesta.han" (the defaults when there is no file). OK sets
// "changed" and writes the whole record with the other two values as they
// were; Cancel clears "changed" and writes nothing.
#pragma once

#include <string>
#include <vector>

#include "app/settings/hangul_settings.h"
#include "app/settings/settings_files.h"
#include "app/shell/window/shell_texts.h"

namespace kesta::shell {

enum class HangulChoice { Font, Code, Keyboard };

class HangulChoiceDialog {
 public:
  HangulChoiceDialog(const settings::SettingsFiles& files, HangulChoice choice) : files_(files), choice_(choice) {}

  // The list's items in the interface's language.
  std::vector<std::string> items(Language language) const;

  // Opening: reads the record and gives the item to select (-1 for a stored
  // value with no item). The keyboard list selects its first item ("2
  // BulSik") for the value 2 and its second for anything else.
  int open();

  // OK with the selected item (-1 for none). The font is written even with
  // nothing selected (unchanged); the code and keyboard only with an item.
  void ok(int item);
  void cancel() { changed_ = false; }
  bool changed() const { return changed_; }
  const settings::HangulSettings& record() const { return record_; }

 private:
  const settings::SettingsFiles& files_;
  HangulChoice choice_;
  settings::HangulSettings record_;
  bool changed_ = false;
};

}  // namespace kesta::shell
