#include "cli/host/file_library.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <fstream>

namespace kesta::host {

namespace fs = std::filesystem;

namespace {

// What a fresh library offers: a Korean text in the host's usual code and a
// binary file holding every byte value (0xFF included, which the telnet
// rules double on the way).
void writeFirstFiles(const fs::path& files) {
  std::ofstream text(files / "readme.txt", std::ios::binary);
  text << "케스타 시연 게시판의 자료실입니다.\r\n"
          "Kesta demo host: files to try the ZMODEM download with.\r\n";
  std::ofstream binary(files / "bytes.bin", std::ios::binary);
  for (int round = 0; round < 64; ++round)
    for (int b = 0; b < 256; ++b) binary.put(static_cast<char>((b + round) & 0xFF));
}

}  // namespace

FileLibrary::FileLibrary(fs::path dataDirectory)
    : data_(std::move(dataDirectory)), files_(data_ / "files"), uploads_(data_ / "upload") {}

bool FileLibrary::prepare(std::string* error) {
  std::error_code ec;
  fs::create_directories(data_, ec);
  bool fresh = !fs::exists(files_, ec);
  if (!ec) fs::create_directories(files_, ec);
  if (!ec) fs::create_directories(uploads_, ec);
  if (ec) {
    *error = "cannot make the data directory " + data_.string() + ": " + ec.message();
    return false;
  }
  if (fresh) writeFirstFiles(files_);
  return true;
}

std::vector<LibraryFile> FileLibrary::list() const {
  std::vector<LibraryFile> out;
  std::error_code ec;
  for (fs::directory_iterator it(files_, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code sizeError;
    if (!it->is_regular_file(sizeError)) continue;
    auto size = it->file_size(sizeError);
    if (sizeError) continue;
    out.push_back({name, size});
    if (out.size() >= kMostListed * 4) break;  // a huge folder is not read to its end
  }
  std::sort(out.begin(), out.end(), [](const LibraryFile& a, const LibraryFile& b) { return a.name < b.name; });
  if (out.size() > kMostListed) out.resize(kMostListed);
  return out;
}

fs::path FileLibrary::makeStaging(const std::string& tag) const {
  static std::atomic<unsigned> counter{0};
  fs::path staging =
      uploads_ / (".incoming-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + "-" + tag);
  std::error_code ec;
  fs::remove_all(staging, ec);
  fs::create_directories(staging, ec);
  return staging;
}

std::string freeName(const std::string& name, const std::function<bool(const std::string&)>& taken) {
  if (!taken(name)) return name;
  std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string::npos) dot = name.size();
  std::string stem = name.substr(0, dot), extension = name.substr(dot);
  for (int n = 1; n < 100000; ++n) {
    std::string candidate = stem + "." + std::to_string(n) + extension;
    if (!taken(candidate)) return candidate;
  }
  return stem + "." + std::to_string(::getpid()) + extension;
}

std::vector<std::string> FileLibrary::commit(const fs::path& staging) const {
  std::vector<std::string> names;
  std::error_code ec;
  std::vector<fs::path> received;
  for (fs::directory_iterator it(staging, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) received.push_back(it->path());
  }
  std::sort(received.begin(), received.end());
  for (const fs::path& from : received) {
    // link() fails rather than replace a file another host just put there;
    // then the next free name is tried.
    for (int attempt = 0; attempt < 16; ++attempt) {
      std::string name = freeName(from.filename().string(), [&](const std::string& candidate) {
        std::error_code existsError;
        return fs::exists(uploads_ / candidate, existsError) || existsError;
      });
      if (::link(from.c_str(), (uploads_ / name).c_str()) == 0) {
        names.push_back(name);
        break;
      }
      if (errno != EEXIST) break;
    }
  }
  discard(staging);
  return names;
}

void FileLibrary::discard(const fs::path& staging) const {
  std::error_code ec;
  fs::remove_all(staging, ec);
}

}  // namespace kesta::host
