#include "app/settings/file_store.h"

#include <cstdio>
#include <memory>

namespace kesta::settings {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::string& systemPath, const char* mode) {
  return File(std::fopen(toHostPath(systemPath).c_str(), mode));
}

}  // namespace

std::string toHostPath(std::string_view systemPath) {
  std::string path(systemPath);
#ifndef _WIN32
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return path;
}

std::optional<Bytes> HostFileStore::readPrefix(const std::string& systemPath, std::size_t maxBytes) {
  File f = openFile(systemPath, "rb");
  if (!f) return std::nullopt;
  Bytes bytes(maxBytes);
  std::size_t got = maxBytes == 0 ? 0 : std::fread(bytes.data(), 1, maxBytes, f.get());
  bytes.resize(got);
  return bytes;
}

std::optional<Bytes> HostFileStore::readAll(const std::string& systemPath) {
  File f = openFile(systemPath, "rb");
  if (!f) return std::nullopt;
  Bytes bytes;
  std::uint8_t chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

bool HostFileStore::writeWhole(const std::string& systemPath, std::span<const std::uint8_t> bytes) {
  File f = openFile(systemPath, "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  return std::fclose(f.release()) == 0 && ok;
}

HostFileStore& hostFileStore() {
  static HostFileStore store;
  return store;
}

}  // namespace kesta::settings
