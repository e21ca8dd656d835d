#include "app/settings/record_codec.h"

namespace kesta::settings {

void RecordWriter::putUInt32(std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void RecordWriter::putInt32(std::int32_t value) { putUInt32(static_cast<std::uint32_t>(value)); }

void RecordWriter::putText(std::string_view text, std::size_t width) {
  if (width == 0) return;
  std::size_t n = std::min(text.size(), width - 1);
  // A text with a NUL inside ends there, as it would on reading.
  std::size_t nul = text.substr(0, n).find('\0');
  if (nul != std::string_view::npos) n = nul;
  out_.insert(out_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
  out_.insert(out_.end(), width - n, 0);
}

std::uint32_t RecordReader::uint32() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i, ++pos_) {
    if (pos_ < in_.size()) value |= static_cast<std::uint32_t>(in_[pos_]) << (8 * i);
  }
  return value;
}

std::int32_t RecordReader::int32() { return static_cast<std::int32_t>(uint32()); }

std::string RecordReader::text(std::size_t width) {
  std::string value;
  std::size_t start = pos_;
  pos_ += width;
  if (width == 0) return value;
  for (std::size_t i = 0; i + 1 < width && start + i < in_.size(); ++i) {
    char c = static_cast<char>(in_[start + i]);
    if (c == '\0') break;
    value.push_back(c);
  }
  return value;
}

std::uint16_t loadUInt16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return 0;
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t loadUInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

void storeUInt32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return;
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace kesta::settings
