#include "app/settings/auto_response.h"

namespace kesta::settings {

void AutoResponseTable::encodeTo(RecordWriter& out) const {
  for (const auto& row : rows) out.putInt32(row.enabled ? 1 : 0);
  for (const auto& row : rows) {
    out.putText(row.reference, kTextFieldSize);
    out.putText(row.transfer, kTextFieldSize);
  }
}

void AutoResponseTable::decodeFrom(RecordReader& in) {
  for (auto& row : rows) row.enabled = in.int32() != 0;
  for (auto& row : rows) {
    row.reference = in.text(kTextFieldSize);
    row.transfer = in.text(kTextFieldSize);
  }
}

bool readAutoResponseTable(const SettingsFiles& files, AutoResponseTable& table) { return readRecord(files, table); }

bool writeAutoResponseTable(const SettingsFiles& files, const AutoResponseTable& table) {
  return writeRecord(files, table);
}

AutoResponseTable decodeAutoResponseTable(std::span<const std::uint8_t> fileBytes) {
  AutoResponseTable table;
  overlayRecord(fileBytes, table);
  return table;
}

}  // namespace kesta::settings
