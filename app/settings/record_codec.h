// Explicit byte layouts of the settings records: 32-bit little-endian
// integers and fixed-width NUL-terminated text fields, written and read
// field by field so that every build gives the same file.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/settings/file_store.h"
#include "app/settings/settings_files.h"

namespace kesta::settings {

// Every text field of the settings files is this wide; its text is at most
// 99 bytes, so a NUL always follows it.
inline constexpr std::size_t kTextFieldSize = 100;

// Appends fields to a record image.
class RecordWriter {
 public:
  explicit RecordWriter(Bytes& out) : out_(out) {}
  void putInt32(std::int32_t value);
  void putUInt32(std::uint32_t value);
  // The text cut to width - 1 bytes, then NUL bytes up to the width.
  void putText(std::string_view text, std::size_t width);

 private:
  Bytes& out_;
};

// Takes fields from a record image; reading past its end yields zeroes.
class RecordReader {
 public:
  explicit RecordReader(std::span<const std::uint8_t> in) : in_(in) {}
  std::int32_t int32();
  std::uint32_t uint32();
  // The text up to its NUL, or width - 1 bytes when the field holds no NUL
  // there: a field never yields more than it can hold with its terminator.
  std::string text(std::size_t width);

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

// Little-endian access to a byte image, for formats read in place.
std::uint16_t loadUInt16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t loadUInt32(std::span<const std::uint8_t> bytes, std::size_t offset);
void storeUInt32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

// A record type R provides:
//   static constexpr std::size_t kFileSize;       the file's length
//   static constexpr const char* kRelativePath;   e.g. "\\env\\kesta.mdm"
//   void encodeTo(RecordWriter&) const;            exactly kFileSize bytes
//   void decodeFrom(RecordReader&);

template <class R>
Bytes encodeRecord(const R& record) {
  Bytes image;
  image.reserve(R::kFileSize);
  RecordWriter writer(image);
  record.encodeTo(writer);
  image.resize(R::kFileSize, 0);  // a record never writes more; pad if it wrote less
  return image;
}

// Lays the file's bytes over the record: a file shorter than the record
// leaves the rest of the record as it was, a longer one is taken only up to
// the record's size.
template <class R>
void overlayRecord(std::span<const std::uint8_t> fileBytes, R& record) {
  Bytes image = encodeRecord(record);
  std::size_t n = std::min(fileBytes.size(), image.size());
  std::copy_n(fileBytes.begin(), n, image.begin());
  RecordReader reader(image);
  record.decodeFrom(reader);
}

// Reads the record's file over `record`; false (record untouched) when the
// file cannot be opened.
template <class R>
bool readRecord(const SettingsFiles& files, R& record) {
  auto bytes = files.store().readPrefix(files.path(R::kRelativePath), R::kFileSize);
  if (!bytes) return false;
  overlayRecord(*bytes, record);
  return true;
}

// Writes the whole record as a new file; the result may be ignored, as the
// program does.
template <class R>
bool writeRecord(const SettingsFiles& files, const R& record) {
  Bytes image = encodeRecord(record);
  return files.store().writeWhole(files.path(R::kRelativePath), image);
}

}  // namespace kesta::settings
