#include "cli/host/board_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <ctime>

namespace kesta::host {

namespace {

std::string escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool unescape(const std::string& text, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\': *out += '\\'; break;
      case 't': *out += '\t'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      default: return false;
    }
  }
  return true;
}

template <typename T>
bool parseNumber(const std::string& text, T* value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && *value >= 0;
}

// Holds an flock for as long as it lives.
class FileLock {
 public:
  FileLock(int fd, int operation) : fd_(fd) { locked_ = fd >= 0 && ::flock(fd, operation) == 0; }
  ~FileLock() {
    if (locked_) ::flock(fd_, LOCK_UN);
  }
  bool locked() const { return locked_; }

 private:
  int fd_;
  bool locked_;
};

std::vector<Post> readAll(int fd) {
  std::vector<Post> posts;
  std::string line;
  bool overlong = false;
  char buffer[8192];
  auto finishLine = [&] {
    Post post;
    if (!overlong && parsePost(line, &post)) {
      if (posts.size() == BoardStore::kMostPosts) posts.erase(posts.begin());
      posts.push_back(std::move(post));
    }
    line.clear();
    overlong = false;
  };
  ::lseek(fd, 0, SEEK_SET);
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] == '\n') {
        finishLine();
      } else if (line.size() < BoardStore::kLongestFileLine) {
        line += buffer[i];
      } else {
        overlong = true;
      }
    }
  }
  if (!line.empty()) finishLine();  // a last line without its "\n": parsed if whole
  return posts;
}

}  // namespace

std::string formatPost(const Post& post) {
  return std::to_string(post.number) + '\t' + std::to_string(post.seconds) + '\t' + escape(post.author) + '\t' +
         escape(post.title) + '\t' + escape(post.body);
}

bool parsePost(const std::string& line, Post* post) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos || fields.size() > 5) break;
    start = tab + 1;
  }
  if (fields.size() != 5) return false;
  Post p;
  if (!parseNumber(fields[0], &p.number) || p.number == 0 || !parseNumber(fields[1], &p.seconds)) return false;
  if (!unescape(fields[2], &p.author) || !unescape(fields[3], &p.title) || !unescape(fields[4], &p.body)) return false;
  *post = std::move(p);
  return true;
}

std::vector<Post> BoardStore::load() const {
  std::lock_guard guard(mutex_);
  int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::vector<Post> posts;
  {
    FileLock lock(fd, LOCK_SH);
    posts = readAll(fd);
  }
  ::close(fd);
  return posts;
}

bool BoardStore::add(Post& post) {
  std::lock_guard guard(mutex_);
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = false;
  {
    FileLock lock(fd, LOCK_EX);
    if (lock.locked()) {
      std::vector<Post> posts = readAll(fd);
      long highest = 0;
      for (const Post& p : posts) highest = std::max(highest, p.number);
      post.number = highest + 1;
      post.seconds = static_cast<long long>(std::time(nullptr));
      // A torn last line (a host killed while writing) must not swallow this post.
      std::string record;
      off_t size = ::lseek(fd, 0, SEEK_END);
      if (size > 0) {
        char last = 0;
        if (::pread(fd, &last, 1, size - 1) == 1 && last != '\n') record += '\n';
      }
      record += formatPost(post) + '\n';
      const char* data = record.data();
      std::size_t left = record.size();
      ok = true;
      while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
          ok = false;
          break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
      }
      if (ok) ok = ::fsync(fd) == 0;
    }
  }
  ::close(fd);
  return ok;
}

}  // namespace kesta::host
