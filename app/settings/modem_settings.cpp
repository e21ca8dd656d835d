#include "app/settings/modem_settings.h"

namespace kesta::settings {

ModemSettings ModemSettings::dialogDefaults() {
  ModemSettings s;
  s.port = 4;
  s.rate = 38400;
  s.dataBits = 8;
  s.parity = kParityNone;
  s.stopBits = kOneStopBit;
  s.initialCommand = "ATZ";
  return s;
}

void ModemSettings::encodeTo(RecordWriter& out) const {
  out.putInt32(port);
  out.putInt32(rate);
  out.putInt32(dataBits);
  out.putInt32(parity);
  out.putInt32(stopBits);
  out.putText(initialCommand, kInitialCommandSize);
}

void ModemSettings::decodeFrom(RecordReader& in) {
  port = in.int32();
  rate = in.int32();
  dataBits = in.int32();
  parity = in.int32();
  stopBits = in.int32();
  initialCommand = in.text(kInitialCommandSize);
}

bool readModemSettings(const SettingsFiles& files, ModemSettings& settings) { return readRecord(files, settings); }
bool writeModemSettings(const SettingsFiles& files, const ModemSettings& settings) {
  return writeRecord(files, settings);
}

ModemSettings loadModemSettingsForStartup(const SettingsFiles& files) {
  ModemSettings settings;
  if (!readModemSettings(files, settings)) settings = ModemSettings::dialogDefaults();
  return settings;
}

}  // namespace kesta::settings
