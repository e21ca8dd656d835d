// The models behind the dialogs made of line edits: "DirectoryDlg",
// "HeadDlg" and "TailDlg", "MacroDlg" and "AutoDlg". Texts are taken as the
// edits give them (the internal code for the Hangul line edits) and cut at
// their limit before a two-byte character, never inside it. OK writes the
// whole file and sets "changed"; Cancel writes nothing.
#pragma once

#include <array>
#include <string>

#include "app/settings/auto_response.h"
#include "app/settings/directory_settings.h"
#include "app/settings/macro_table.h"
#include "app/settings/settings_files.h"

namespace kesta::shell {

class DirectoryDialog {
 public:
  explicit DirectoryDialog(const settings::SettingsFiles& files) : files_(files) {}
  // The three paths of "\env\kesta.dir", or home + "\down", "\up", "\cap".
  settings::DirectorySettings open() const { return settings::loadDirectorySettings(files_); }
  // OK: each path cut at 99 bytes, the file written.
  void ok(const std::string& download, const std::string& upload, const std::string& capture);
  bool changed() const { return changed_; }

 private:
  const settings::SettingsFiles& files_;
  bool changed_ = false;
};

class MacroDialog {
 public:
  using Texts = std::array<std::string, settings::MacroTable::kMacros>;
  explicit MacroDialog(const settings::SettingsFiles& files) : files_(files) {}
  // Macro i for edit 183 + i. With no "\env\kesta.mac" the nine empty
  // macros are written at once, even if the dialog is then cancelled.
  Texts open() const { return settings::loadMacroTableForDialog(files_).macros; }
  // OK: each macro cut at 99 bytes, the whole file written.
  void ok(const Texts& typed);
  bool changed() const { return changed_; }

 private:
  const settings::SettingsFiles& files_;
  bool changed_ = false;
};

class AutoDialog {
 public:
  explicit AutoDialog(const settings::SettingsFiles& files) : files_(files) {}
  // The rows of "\env\kesta.aut", or every row off and empty when there is
  // none (nothing is written then).
  settings::AutoResponseTable open() const;
  // The sixteen edits in file order: reference 1, transfer 1, reference 2...
  static std::array<std::string, 2 * settings::AutoResponseTable::kRows> editTexts(
      const settings::AutoResponseTable& table);
  // OK: every text cut at 99 bytes, the flags as checked, the whole file written.
  void ok(const settings::AutoResponseTable& typed);
  bool changed() const { return changed_; }

 private:
  const settings::SettingsFiles& files_;
  bool changed_ = false;
};

}  // namespace kesta::shell
