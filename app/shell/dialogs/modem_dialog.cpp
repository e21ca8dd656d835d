#include "app/shell/dialogs/modem_dialog.h"

#include "app/shell/dialogs/dialog_choices.h"
#include "app/shell/dialogs/dialog_ids.h"
#include "app/shell/dialogs/text_cut.h"

namespace kesta::shell {

namespace {

using settings::ModemSettings;

int parityButton(std::int32_t parity) {
  switch (parity) {
    case settings::kParityNone: return dialog::kModemParityNone;
    case settings::kParityOdd: return dialog::kModemParityOdd;
    case settings::kParityEven: return dialog::kModemParityEven;
    default: return 0;
  }
}

int dataButton(std::int32_t dataBits) {
  if (dataBits == 7) return dialog::kModemData7;
  if (dataBits == 8) return dialog::kModemData8;
  return 0;
}

int stopButton(std::int32_t stopBits) {
  if (stopBits == settings::kOneStopBit) return dialog::kModemStop1;
  if (stopBits == settings::kTwoStopBits) return dialog::kModemStop2;
  return 0;
}

// The text of a value in a small list, or empty for a value outside it.
template <std::size_t N>
std::string listText(const std::string_view (&texts)[N], int index) {
  if (index < 0 || index >= static_cast<int>(N)) return {};
  return std::string(texts[index]);
}

}  // namespace

ModemRadioButtons radioButtonsFor(const ModemSettings& modem) {
  return {parityButton(modem.parity), dataButton(modem.dataBits), stopButton(modem.stopBits)};
}

void ModemDialog::open() {
  record_ = ModemSettings::dialogDefaults();
  ModemSettings stored;
  if (settings::readModemSettings(files_, stored)) record_ = stored;
  changed_ = false;
}

int ModemDialog::portItem() const { return record_.port >= 1 && record_.port <= 9 ? record_.port - 1 : -1; }

int ModemDialog::rateItem() const { return rateIndex(record_.rate); }

void ModemDialog::clickRadioButton(int id) {
  switch (id) {
    case dialog::kModemParityNone: record_.parity = settings::kParityNone; break;
    case dialog::kModemParityOdd: record_.parity = settings::kParityOdd; break;
    case dialog::kModemParityEven: record_.parity = settings::kParityEven; break;
    case dialog::kModemData7: record_.dataBits = 7; break;
    case dialog::kModemData8: record_.dataBits = 8; break;
    case dialog::kModemStop1: record_.stopBits = settings::kOneStopBit; break;
    case dialog::kModemStop2: record_.stopBits = settings::kTwoStopBits; break;
    default: break;
  }
}

void ModemDialog::select(int portItem, int rateItem, const std::string& initialCommand) {
  record_.initialCommand = cutAtCharacter(initialCommand, kShortTextLimit);
  if (portItem >= 0 && portItem < 9) record_.port = portItem + 1;
  if (std::int32_t rate = rateForIndex(rateItem); rate != 0) record_.rate = rate;
  settings::writeModemSettings(files_, record_);
  changed_ = true;
}

ModemStateTexts modemStateTexts(const ModemSettings& modem) {
  ModemStateTexts texts;
  if (modem.port >= 1 && modem.port <= 9) texts.port = "COM" + std::to_string(modem.port);
  if (rateForIndex(rateIndex(modem.rate)) == modem.rate) texts.rate = std::to_string(modem.rate);
  texts.parity = listText(kParityTexts, modem.parity);
  texts.dataBits = listText(kDataBitsTexts, modem.dataBits - 7);
  int stopItem = modem.stopBits == settings::kOneStopBit ? 0 : modem.stopBits == settings::kTwoStopBits ? 1 : -1;
  texts.stopBits = listText(kStopBitsTexts, stopItem);
  texts.initialCommand = cutAtCharacter(modem.initialCommand, kShortTextLimit);
  return texts;
}

ModemStateTexts readModemStateTexts(const settings::SettingsFiles& files) {
  ModemSettings modem = ModemSettings::dialogDefaults();
  settings::readModemSettings(files, modem);
  return modemStateTexts(modem);
}

}  // namespace kesta::shell
