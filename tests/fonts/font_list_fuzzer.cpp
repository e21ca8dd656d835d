// Any bytes as QUILF32.CFG: parsing stays inside the data and every name it
// returns ends inside its record.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fonts/font_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const std::string& name : kesta::fonts::parseFontList(std::span(data, size)))
    if (name.empty() || name.size() >= kesta::fonts::kFontListRecordBytes) std::abort();
  return 0;
}
