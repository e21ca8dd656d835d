// The file library of the data directory: "files/" holds what users may
// download, "upload/" what they sent. An upload is received into a staging
// folder of its own and moved into "upload/" only when the transfer
// succeeded, under a name that no other file has, so a broken or repeated
// upload never touches a file already there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kesta::host {

struct LibraryFile {
  std::string name;  // as on disk (UTF-8 on this system)
  std::uintmax_t size = 0;
};

class FileLibrary {
 public:
  static constexpr std::size_t kMostListed = 200;

  explicit FileLibrary(std::filesystem::path dataDirectory);

  // Creates the folders, and a first set of files to download when
  // "files/" did not exist. False when the directory cannot be made.
  bool prepare(std::string* error);

  // Regular files of "files/" (no hidden ones), sorted by name.
  std::vector<LibraryFile> list() const;
  std::filesystem::path downloadPath(const LibraryFile& file) const { return files_ / file.name; }

  // A fresh, empty staging folder for one upload.
  std::filesystem::path makeStaging(const std::string& tag) const;
  // Moves every regular file of the staging folder into "upload/" (renaming
  // "a.txt" to "a.1.txt" and so on when the name is taken), removes the
  // folder and returns the final names.
  std::vector<std::string> commit(const std::filesystem::path& staging) const;
  // Removes the staging folder and whatever a broken upload left in it.
  void discard(const std::filesystem::path& staging) const;

  const std::filesystem::path& uploadDirectory() const { return uploads_; }

 private:
  std::filesystem::path data_, files_, uploads_;
};

// "name", then "stem.N.ext" for N = 1, 2, ... until `taken` says no.
std::string freeName(const std::string& name, const std::function<bool(const std::string&)>& taken);

}  // namespace kesta::host
