// The models behind "ModemDlg" (title "Modem") and "StateDlg" (title "Modem
// State"): the port and modem settings of "\env\kesta.mdm" shown as list
// items, radio buttons and texts, and the record written whole on "Select".
#pragma once

#include <string>

#include "app/settings/modem_settings.h"
#include "app/settings/settings_files.h"

namespace kesta::shell {

// The radio buttons that show a record's parity, data bits and stop bits
// (0 where the value has no button).
struct ModemRadioButtons {
  int parity = 0;
  int data = 0;
  int stop = 0;
  bool operator==(const ModemRadioButtons&) const = default;
};
ModemRadioButtons radioButtonsFor(const settings::ModemSettings& modem);

class ModemDialog {
 public:
  explicit ModemDialog(const settings::SettingsFiles& files) : files_(files) {}

  // Opening: the file's values, or the defaults (COM4, 38400, 8-N-1, "ATZ")
  // when there is none; they become the working record.
  void open();
  const settings::ModemSettings& record() const { return record_; }
  // The port and rate items to select: port n is item n - 1 (-1 for a port
  // outside 1-9); a rate not in the list selects the first item.
  int portItem() const;
  int rateItem() const;

  // A radio button (107-113) was clicked: the working record takes its value.
  void clickRadioButton(int id);

  // "Select": the initial command cut at 79 bytes, the port and rate from
  // the selected items (-1: none selected, the working value stays), the
  // whole record written and "changed" set.
  void select(int portItem, int rateItem, const std::string& initialCommand);
  // "Cancel": nothing written, "changed" cleared.
  void cancel() { changed_ = false; }
  bool changed() const { return changed_; }

 private:
  const settings::SettingsFiles& files_;
  settings::ModemSettings record_;
  bool changed_ = false;
};

// What the Modem State dialog shows in fields 118-122 and 114.
struct ModemStateTexts {
  std::string port, rate, parity, dataBits, stopBits, initialCommand;
  bool operator==(const ModemStateTexts&) const = default;
};

// Texts for a record: a value outside its list gives an empty text.
ModemStateTexts modemStateTexts(const settings::ModemSettings& modem);
// The file's record shown, or the defaults when there is no file.
ModemStateTexts readModemStateTexts(const settings::SettingsFiles& files);

}  // namespace kesta::shell
