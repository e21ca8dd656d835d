// The auto-response table, "\env\kesta.aut" (1632 bytes): eight rows, each
// an enabled flag, a reference text awaited in the received data and a
// transfer text sent when it arrives. Texts are in the internal Hangul code,
// at most 99 bytes each. The receive pipeline reloads the table on every
// chunk; the AutoTransfer dialog reads it on opening and writes it on OK.
//
// File layout: offset 0, eight 32-bit little-endian flags (row 1 first; 0
// off, any other value on, written as 1); offset 32, sixteen 100-byte text
// fields in row order: row 1 reference, row 1 transfer, row 2 reference, ...
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct AutoResponseRow {
  bool enabled = false;
  std::string reference;  // awaited text, internal code, at most 99 bytes
  std::string transfer;   // answer, internal code, at most 99 bytes
  bool operator==(const AutoResponseRow&) const = default;
};

struct AutoResponseTable {
  static constexpr int kRows = 8;
  static constexpr std::size_t kFileSize = 1632;
  static constexpr const char* kRelativePath = "\\env\\kesta.aut";

  std::array<AutoResponseRow, kRows> rows{};  // default: every row off, every text empty

  void encodeTo(RecordWriter& out) const;
  void decodeFrom(RecordReader& in);
  bool operator==(const AutoResponseTable&) const = default;
};

// Reads "\env\kesta.aut" over `table`. Returns false, leaving `table` as it
// was, when the file cannot be opened: the receive pipeline then keeps its
// last table, the dialog starts from a default-constructed one. A file
// shorter than 1632 bytes changes only the fields it covers.
bool readAutoResponseTable(const SettingsFiles& files, AutoResponseTable& table);

// Writes the whole table as a new "\env\kesta.aut"; texts longer than 99
// bytes are cut. Returns whether the file was written.
bool writeAutoResponseTable(const SettingsFiles& files, const AutoResponseTable& table);

// The table from a file's bytes alone (no file access), over the defaults.
AutoResponseTable decodeAutoResponseTable(std::span<const std::uint8_t> fileBytes);

}  // namespace kesta::settings
