// The modem and port settings, "\env\kesta.mdm" (100 bytes): port, rate,
// data bits, parity, stop bits (32-bit little-endian each), then the
// modem's initial command in an 80-byte field.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

// Parity and stop-bit numbers are the serial port's own codes.
inline constexpr std::int32_t kParityNone = 0;
inline constexpr std::int32_t kParityOdd = 1;
inline constexpr std::int32_t kParityEven = 2;
inline constexpr std::int32_t kOneStopBit = 0;
inline constexpr std::int32_t kTwoStopBits = 2;

// The rates the Modem dialog offers, in its order.
inline constexpr std::array<std::int32_t, 13> kModemRates = {110,   300,   600,   1200,  2400,  4800,   9600,
                                                             14400, 19200, 38400, 56000, 128000, 256000};

struct ModemSettings {
  static constexpr std::size_t kFileSize = 100;
  static constexpr std::size_t kInitialCommandSize = 80;
  static constexpr const char* kRelativePath = "\\env\\kesta.mdm";

  // A value-initialised record is the all-zero record.
  std::int32_t port = 0;  // 1-9 for "COM1" to "COM9"
  std::int32_t rate = 0;  // bits per second
  std::int32_t dataBits = 0;
  std::int32_t parity = kParityNone;
  std::int32_t stopBits = kOneStopBit;
  std::string initialCommand;  // at most 79 bytes

  // What the Modem dialog shows when there is no file: COM4, 38400, 8-N-1, "ATZ".
  static ModemSettings dialogDefaults();

  void encodeTo(RecordWriter& out) const;
  void decodeFrom(RecordReader& in);
  bool operator==(const ModemSettings&) const = default;
};

bool readModemSettings(const SettingsFiles& files, ModemSettings& settings);
bool writeModemSettings(const SettingsFiles& files, const ModemSettings& settings);

// The settings the start of operation opens the port with: the file over an
// all-zero record, or the Modem dialog's defaults when there is no file.
ModemSettings loadModemSettingsForStartup(const SettingsFiles& files);

}  // namespace kesta::settings
