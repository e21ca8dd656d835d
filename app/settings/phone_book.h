// The phone book, "\tel\kesta.tel": a sequence of 100-byte records, one
// list line each (NUL-terminated, at most 99 bytes), in list order, with no
// count; the file ends after the last record.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/settings/file_store.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

inline constexpr std::size_t kPhoneBookRecordSize = 100;
inline constexpr const char* kPhoneBookRelativePath = "\\tel\\kesta.tel";

// The lines of a phone-book file's bytes: one per 100-byte record, a short
// last record included; each line ends at its NUL or after 99 bytes.
std::vector<std::string> decodePhoneBook(std::span<const std::uint8_t> fileBytes);
// The file image of the lines: each cut to 99 bytes and NUL-padded to 100.
Bytes encodePhoneBook(const std::vector<std::string>& lines);

// The list from "\tel\kesta.tel"; empty when there is no file.
std::vector<std::string> readPhoneBook(const SettingsFiles& files);
// Replaces "\tel\kesta.tel" with the lines in list order.
bool writePhoneBook(const SettingsFiles& files, const std::vector<std::string>& lines);

}  // namespace kesta::settings
