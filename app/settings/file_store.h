// File access for the settings: whole files are read up to a limit and
// written anew. Paths are the system's own texts ("NULL\env\kesta.mdm");
// the host store maps them to the host's separator in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kesta::settings {

using Bytes = std::vector<std::uint8_t>;

// What tells one version of a file from the next: its time and its size.
struct FileStamp {
  std::int64_t time = 0;
  std::uint64_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

class FileStore {
 public:
  virtual ~FileStore() = default;
  // At most maxBytes from the start of the file; nullopt when it cannot be opened.
  virtual std::optional<Bytes> readPrefix(const std::string& systemPath, std::size_t maxBytes) = 0;
  // Every byte of the file; nullopt when it cannot be opened.
  virtual std::optional<Bytes> readAll(const std::string& systemPath) = 0;
  // Creates the file anew (truncating an old one) with exactly these bytes.
  virtual bool writeWhole(const std::string& systemPath, std::span<const std::uint8_t> bytes) = 0;
  // The file's time and size, or nullopt when the store cannot tell (no
  // such file, or one written so recently that its next version might
  // carry the same stamp): a caller then reads the file again.
  virtual std::optional<FileStamp> stamp(const std::string&) { return std::nullopt; }
};

// The host's own files.
class HostFileStore : public FileStore {
 public:
  std::optional<Bytes> readPrefix(const std::string& systemPath, std::size_t maxBytes) override;
  std::optional<Bytes> readAll(const std::string& systemPath) override;
  bool writeWhole(const std::string& systemPath, std::span<const std::uint8_t> bytes) override;
  std::optional<FileStamp> stamp(const std::string& systemPath) override;
};

// The system's path text with backslashes turned into the host's separator
// (unchanged on Windows).
std::string toHostPath(std::string_view systemPath);

// One process-wide host store for callers that need no other.
HostFileStore& hostFileStore();

}  // namespace kesta::settings
