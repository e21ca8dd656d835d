// A temporary folder for a fuzz target that writes files, made once per
// process and removed at its exit (a crash leaves it to look at). It is on
// /dev/shm when there is one: a disk's metadata updates would cut a target
// that makes and removes files for every input to a few hundred runs a second.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kesta::test {

inline std::filesystem::path& fuzzTempDirectoryPath() {
  static std::filesystem::path path;
  return path;
}

// The folder, named "kesta-NAME-XXXXXX"; only the first call's name counts.
inline const std::filesystem::path& fuzzTempDirectory(const char* name) {
  std::filesystem::path& path = fuzzTempDirectoryPath();
  if (!path.empty()) return path;
  const char* tmp = std::getenv("TMPDIR");
  for (std::string parent : {std::string("/dev/shm"), std::string(tmp && *tmp ? tmp : "/tmp")}) {
    std::string pattern = parent + "/kesta-" + name + "-XXXXXX";
    if (::access(parent.c_str(), W_OK) == 0 && ::mkdtemp(pattern.data())) {
      path = pattern;
      std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(fuzzTempDirectoryPath(), ignored);
      });
      return path;
    }
  }
  std::abort();
}

}  // namespace kesta::test
