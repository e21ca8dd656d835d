#include "cli/modem/dial_directory.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace kesta::modem {

std::optional<HostPort> parseHostPort(const std::string& text) {
  std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return std::nullopt;
  int port = 0;
  const char* begin = text.data() + colon + 1;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(begin, end, port);
  if (error != std::errc() || stop != end || port < 1 || port > 65535) return std::nullopt;
  std::string host = text.substr(0, colon);
  for (char c : host)
    if (c == ' ' || c == '\t') return std::nullopt;
  return HostPort{host, port};
}

std::string normalizedNumber(const std::string& number) {
  std::string out;
  for (char c : number)
    if (c != ' ' && c != '-' && c != '(' && c != ')' && c != '.' && c != '\t') out += c;
  return out;
}

bool DialDirectory::parse(const std::string& text, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (line.size() > kLongestLine) {
      *error = "line " + std::to_string(lineNumber) + " is too long";
      return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    // The last field is the host; everything before it is the number, which
    // may be written with blanks ("02 123 4567 127.0.0.1:2323").
    std::size_t last = line.find_last_not_of(" \t");
    std::size_t split = line.find_last_of(" \t", last);
    std::string target = split == std::string::npos ? "" : line.substr(split + 1, last - split);
    std::string number = split == std::string::npos ? line : line.substr(0, split);
    auto host = parseHostPort(target);
    if (!host || normalizedNumber(number).empty()) {
      *error = "line " + std::to_string(lineNumber) + ": expected NUMBER HOST:PORT";
      return false;
    }
    if (entries_.size() >= kMostEntries) {
      *error = "more than " + std::to_string(kMostEntries) + " numbers";
      return false;
    }
    entries_[normalizedNumber(number)] = *host;
  }
  return true;
}

bool DialDirectory::load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::string text;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMostEntries * kLongestLine) {
      *error = path + " is too large for a number table";
      return false;
    }
  }
  if (!parse(text, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

std::optional<HostPort> DialDirectory::lookUp(const std::string& number) const {
  if (auto direct = parseHostPort(number)) return direct;
  auto it = entries_.find(normalizedNumber(number));
  if (it != entries_.end()) return it->second;
  return fallback_;
}

}  // namespace kesta::modem
