// The nine macros, "\env\kesta.mac" (900 bytes: nine 100-byte texts, macro
// 1 first), in the internal Hangul code, sent as typed by Ctrl+1 to Ctrl+9.
#pragma once

#include <array>
#include <string>

#include "app/settings/record_codec.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

struct MacroTable {
  static constexpr int kMacros = 9;
  static constexpr std::size_t kFileSize = 900;
  static constexpr const char* kRelativePath = "\\env\\kesta.mac";

  std::array<std::string, kMacros> macros{};  // at most 99 bytes each; default all empty

  void encodeTo(RecordWriter& out) const {
    for (const auto& m : macros) out.putText(m, kTextFieldSize);
  }
  void decodeFrom(RecordReader& in) {
    for (auto& m : macros) m = in.text(kTextFieldSize);
  }
  bool operator==(const MacroTable&) const = default;
};

inline bool readMacroTable(const SettingsFiles& files, MacroTable& table) { return readRecord(files, table); }
inline bool writeMacroTable(const SettingsFiles& files, const MacroTable& table) { return writeRecord(files, table); }

// What the Macro dialog does on opening: read the file, or, when there is
// none, take nine empty macros and write the file at once.
MacroTable loadMacroTableForDialog(const SettingsFiles& files);

}  // namespace kesta::settings
