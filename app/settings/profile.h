// The user's profile (WIN.INI on Windows): the one place the program reads
// its installation directory from. The Win32 face reads the real profile;
// tests and kesta-cli give their own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesta::settings {

class Profile {
 public:
  virtual ~Profile() = default;
  // The value of `key` in `section`, or `defaultValue` when there is none,
  // cut to at most bufferSize - 1 bytes (the caller's buffer keeps its NUL).
  virtual std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                 std::size_t bufferSize) const = 0;
};

// A profile whose "KESTA 20"/"PROGRAM" entry is a fixed text (or absent):
// what kesta-cli's --home option and the tests use.
class FixedHomeProfile : public Profile {
 public:
  FixedHomeProfile() = default;  // no entry: the default applies
  explicit FixedHomeProfile(std::string home) : home_(std::move(home)), present_(true) {}
  void setHome(std::string home) {
    home_ = std::move(home);
    present_ = true;
  }
  void clear() { present_ = false; }

  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue,
                         std::size_t bufferSize) const override;

 private:
  std::string home_;
  bool present_ = false;
};

}  // namespace kesta::settings
