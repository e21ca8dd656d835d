// Shared body of the settings-file fuzz targets: any bytes laid over a
// record must decode inside its fields, and what decodes must survive a
// write and a read unchanged.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "app/settings/record_codec.h"

namespace kesta::settings::fuzz {

inline void requireFits(const std::string& text, std::size_t width) {
  if (text.size() >= width || text.find('\0') != std::string::npos) std::abort();
}

template <class R, class CheckFields>
int fuzzRecord(const std::uint8_t* data, std::size_t size, R start, CheckFields checkFields) {
  R record = start;
  overlayRecord(std::span<const std::uint8_t>(data, size), record);
  checkFields(record);
  Bytes image = encodeRecord(record);
  if (image.size() != R::kFileSize) std::abort();
  R again = start;
  overlayRecord(image, again);
  if (!(again == record)) std::abort();
  return 0;
}

}  // namespace kesta::settings::fuzz
