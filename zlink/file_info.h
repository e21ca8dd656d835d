// The file information carried by ZFILE: the name, a NUL, then
// "size mtime mode serial files-remaining bytes-remaining type".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesta::zlink {

struct FileInfo {
  std::string name;           // as received, before it is made safe
  long size = 0;
  bool sizeGiven = false;
  long modificationTime = 0;  // seconds, as sent
  long mode = 0;
  long serialNumber = 0;
  long filesRemaining = 0;    // 0 counts as 1
  long bytesRemaining = 0;    // 0 counts as the size
  long fileType = 0;
};

// The sender's information for one file: the part of the path after the
// last ":", "\" or "/", then "size 0 0 0 1 size 0".
std::vector<uint8_t> buildFileInfo(std::string_view path, long size);

// Reads a received block; false when it holds no name at all.
bool parseFileInfo(const uint8_t* data, size_t size, FileInfo* info);

// The part of a path after its last ":", "\" or "/".
std::string_view bareName(std::string_view path);

}  // namespace kesta::zlink
