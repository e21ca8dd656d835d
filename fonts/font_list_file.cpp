#include "fonts/font_list_file.h"

#include <algorithm>
#include <cstring>

namespace kesta::fonts {

bool fontListHeaderMatches(std::span<const uint8_t> first50) {
  if (first50.size() < kFontListHeaderBytes) return false;
  uint8_t text[kFontListHeaderBytes];
  std::memcpy(text, first50.data(), kFontListHeaderBytes);
  text[kFontListHeaderBytes - 1] = 0;
  return std::memcmp(text, kFontListHeader, kFontListHeaderBytes) == 0;
}

std::string fontListRecordName(std::span<const uint8_t> record) {
  if (record.size() < kFontListRecordBytes) return {};
  const void* end = std::memchr(record.data(), 0, kFontListRecordBytes);
  if (end == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(record.data()),
                     static_cast<const uint8_t*>(end) - record.data());
}

std::vector<std::string> parseFontList(std::span<const uint8_t> file) {
  std::vector<std::string> names;
  if (file.size() < kFontListPreambleBytes || !fontListHeaderMatches(file.first(kFontListHeaderBytes))) return names;
  for (size_t at = kFontListPreambleBytes; at + kFontListRecordBytes <= file.size(); at += kFontListRecordBytes) {
    std::string name = fontListRecordName(file.subspan(at, kFontListRecordBytes));
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

std::vector<uint8_t> buildFontList(const std::vector<std::string>& files) {
  std::vector<uint8_t> out(kFontListPreambleBytes, 0);
  std::memcpy(out.data(), kFontListHeader, kFontListHeaderBytes);
  out[kFontListHeaderBytes] = 0x1A;
  for (const std::string& f : files) {
    size_t at = out.size();
    out.resize(at + kFontListRecordBytes, 0);
    std::memcpy(out.data() + at, f.data(), std::min(f.size(), kFontListRecordBytes - 1));
  }
  return out;
}

}  // namespace kesta::fonts
