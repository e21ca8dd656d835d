// Settings files held in memory: a home directory "C:\KESTA" whose files
// a test puts and reads back byte for byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/file_store.h"
#include "app/settings/profile.h"
#include "app/settings/settings_files.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::shell::testing {

using Bytes = std::vector<std::uint8_t>;

class MemoryFileStore : public settings::FileStore {
 public:
  std::optional<Bytes> readPrefix(const std::string& path, std::size_t maxBytes) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    Bytes bytes = found->second;
    bytes.resize(std::min(bytes.size(), maxBytes));
    return bytes;
  }
  std::optional<Bytes> readAll(const std::string& path) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool writeWhole(const std::string& path, std::span<const std::uint8_t> bytes) override {
    files[path] = Bytes(bytes.begin(), bytes.end());
    ++writes;
    return true;
  }

  std::map<std::string, Bytes> files;
  int writes = 0;
};

struct MemoryHome {
  static constexpr const char* kHome = "C:\\KESTA";
  settings::FixedHomeProfile profile{kHome};
  MemoryFileStore store;
  settings::SettingsFiles files{profile, store};

  void put(const std::string& relative, Bytes bytes) { store.files[kHome + relative] = std::move(bytes); }
  std::optional<Bytes> get(const std::string& relative) const {
    auto found = store.files.find(kHome + relative);
    if (found == store.files.end()) return std::nullopt;
    return found->second;
  }
};

// File images built by hand, with the settings tests' helpers.
using settings::testing::appendInt32;
using settings::testing::appendText;

}  // namespace kesta::shell::testing
