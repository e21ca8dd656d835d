#include "app/settings/file_store.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
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

std::optional<FileStamp> HostFileStore::stamp(const std::string& systemPath) {
  // One status call: this is asked for every received chunk.
  std::string path = toHostPath(systemPath);
#ifdef _WIN32
  struct _stat64 status;
  if (_stat64(path.c_str(), &status) != 0) return std::nullopt;
  std::int64_t nanoseconds = static_cast<std::int64_t>(status.st_mtime) * 1000000000;
#else
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  std::int64_t nanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
#endif
  // File times advance in coarse steps: two writes close together may
  // carry the same time and size. A file written in the last two seconds
  // cannot be told apart from its next version yet.
  if (std::time(nullptr) - status.st_mtime < 2) return std::nullopt;
  return FileStamp{nanoseconds, static_cast<std::uint64_t>(status.st_size)};
}

HostFileStore& hostFileStore() {
  static HostFileStore store;
  return store;
}

}  // namespace kesta::settings
