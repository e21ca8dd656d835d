// The board's posts, kept in one UTF-8 file of the data directory, a post a
// line: "number TAB seconds TAB author TAB title TAB body", with backslash,
// tab and line breaks escaped. Posts are appended under an exclusive lock,
// so several hosts may share one data directory; a line that does not parse
// (a torn write, an edited file) is skipped, never fatal.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace kesta::host {

struct Post {
  long number = 0;
  long long seconds = 0;  // written at, seconds since 1970
  std::string author;
  std::string title;
  std::string body;  // lines separated by "\n"
};

// One post as a line of the file (without its "\n"), and back.
std::string formatPost(const Post& post);
bool parsePost(const std::string& line, Post* post);

class BoardStore {
 public:
  static constexpr std::size_t kLongestFileLine = 64 * 1024;
  static constexpr std::size_t kMostPosts = 1000;  // a listing holds the newest this many

  explicit BoardStore(std::string path) : path_(std::move(path)) {}

  // Every post that parses, oldest first (at most kMostPosts, the newest).
  std::vector<Post> load() const;
  // Appends a post numbered one above the highest; returns false when the
  // file cannot be written. The post's number and time are filled in.
  bool add(Post& post);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  mutable std::mutex mutex_;  // threads of this process; the file lock covers other processes
};

}  // namespace kesta::host
