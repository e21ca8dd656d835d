// A small PNG writer for black-on-white pictures: 1-bit greyscale, the image
// data in stored (uncompressed) deflate blocks, so no compression library
// is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kesta::fonts {

// ink: width x height bytes, non-zero = black. Returns the PNG file bytes.
std::vector<uint8_t> encodeMonochromePng(int width, int height, const std::vector<uint8_t>& ink);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace kesta::fonts
