#include "zlink/file_info.h"

#include <cstdio>

namespace kesta::zlink {

std::string_view bareName(std::string_view path) {
  size_t cut = path.find_last_of(":\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::vector<uint8_t> buildFileInfo(std::string_view path, long size) {
  std::string_view name = bareName(path);
  std::vector<uint8_t> info(name.begin(), name.end());
  info.push_back(0);
  char text[96];
  int n = std::snprintf(text, sizeof text, "%ld %lo 0 0 %d %ld 0", size, 0L, 1, size);
  info.insert(info.end(), text, text + n);
  info.push_back(0);
  return info;
}

namespace {

// Reads one number in the given base after blanks; false when none is there.
bool readNumber(const uint8_t* data, size_t size, size_t* at, int base, long* out) {
  while (*at < size && data[*at] == ' ') ++*at;
  long value = 0;
  size_t start = *at;
  while (*at < size) {
    int c = data[*at];
    int digit = (c >= '0' && c <= '9') ? c - '0' : -1;
    if (digit < 0 || digit >= base) break;
    if (value < (0x7FFFFFFFL - digit) / base) value = value * base + digit;  // saturate, never overflow
    else value = 0x7FFFFFFFL;
    ++*at;
  }
  if (*at == start) return false;
  *out = value;
  return true;
}

}  // namespace

bool parseFileInfo(const uint8_t* data, size_t size, FileInfo* info) {
  *info = FileInfo{};
  size_t end = 0;
  while (end < size && data[end] != 0) ++end;
  if (end == 0) return false;
  info->name.assign(reinterpret_cast<const char*>(data), end);
  // The numbers stop at the next NUL or the end of the block.
  size_t limit = end + 1;
  while (limit < size && data[limit] != 0) ++limit;
  size_t at = end + 1;
  if (at > limit) at = limit;
  // Fields missing after the size stay 0.
  info->sizeGiven = readNumber(data, limit, &at, 10, &info->size);
  if (info->sizeGiven && readNumber(data, limit, &at, 8, &info->modificationTime) &&
      readNumber(data, limit, &at, 8, &info->mode) && readNumber(data, limit, &at, 10, &info->serialNumber) &&
      readNumber(data, limit, &at, 10, &info->filesRemaining) &&
      readNumber(data, limit, &at, 10, &info->bytesRemaining)) {
    readNumber(data, limit, &at, 10, &info->fileType);
  }
  return true;
}

}  // namespace kesta::zlink
