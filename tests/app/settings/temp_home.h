// A fresh home directory per test: a temporary folder with "env" and "tel"
// inside, named by the profile the readers and writers consult.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/settings/file_store.h"
#include "app/settings/profile.h"
#include "app/settings/settings_files.h"

namespace kesta::settings::testing {

class TempHome : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("kesta-settings-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(root_ / "env");
    std::filesystem::create_directories(root_ / "tel");
    profile_.setHome(toSystemText(root_));
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // The host path turned into the system's own text (backslashes), as a
  // user would write it into the profile.
  static std::string toSystemText(const std::filesystem::path& p) {
    std::string s = p.string();
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }

  std::filesystem::path hostFile(const std::string& relativeWithSlashes) const { return root_ / relativeWithSlashes; }

  void putFile(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(hostFile(relative), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  std::optional<std::vector<std::uint8_t>> fileBytes(const std::string& relative) const {
    std::ifstream in(hostFile(relative), std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool exists(const std::string& relative) const { return std::filesystem::exists(hostFile(relative)); }

  std::filesystem::path root_;
  FixedHomeProfile profile_;
  HostFileStore store_;
  SettingsFiles files_{profile_, store_};
};

// Little-endian helpers for building expected file images by hand.
inline void appendInt32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void appendText(std::vector<std::uint8_t>& out, const std::string& text, std::size_t width) {
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), width - text.size(), 0);
}

}  // namespace kesta::settings::testing
