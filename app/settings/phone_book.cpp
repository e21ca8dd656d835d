#include "app/settings/phone_book.h"

#include <algorithm>

#include "app/settings/record_codec.h"

namespace kesta::settings {

std::vector<std::string> decodePhoneBook(std::span<const std::uint8_t> fileBytes) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < fileBytes.size(); at += kPhoneBookRecordSize) {
    std::size_t n = std::min(kPhoneBookRecordSize, fileBytes.size() - at);
    RecordReader record(fileBytes.subspan(at, n));
    lines.push_back(record.text(kPhoneBookRecordSize));
  }
  return lines;
}

Bytes encodePhoneBook(const std::vector<std::string>& lines) {
  Bytes image;
  image.reserve(lines.size() * kPhoneBookRecordSize);
  RecordWriter writer(image);
  for (const auto& line : lines) writer.putText(line, kPhoneBookRecordSize);
  return image;
}

std::vector<std::string> readPhoneBook(const SettingsFiles& files) {
  auto bytes = files.store().readAll(files.path(kPhoneBookRelativePath));
  if (!bytes) return {};
  return decodePhoneBook(*bytes);
}

bool writePhoneBook(const SettingsFiles& files, const std::vector<std::string>& lines) {
  return files.store().writeWhole(files.path(kPhoneBookRelativePath), encodePhoneBook(lines));
}

}  // namespace kesta::settings
