// Where a dialled number leads: "host:port" as it stands, a number from a
// table file ("NUMBER HOST:PORT" a line, the number perhaps with blanks, "#"
// comments), or one host for any number. Numbers match with their blanks, dashes and brackets removed.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace kesta::modem {

struct HostPort {
  std::string host;
  int port = 23;
};

// "host:port" (port 1..65535 after the last ":"); nothing when it is not one.
std::optional<HostPort> parseHostPort(const std::string& text);

class DialDirectory {
 public:
  static constexpr std::size_t kMostEntries = 1000;
  static constexpr std::size_t kLongestLine = 1024;

  // Reads a table; false (with the line at fault in error) on a bad line.
  bool load(const std::string& path, std::string* error);
  // Parses the text of a table (see load).
  bool parse(const std::string& text, std::string* error);
  void setDefault(HostPort host) { fallback_ = std::move(host); }

  std::optional<HostPort> lookUp(const std::string& number) const;

 private:
  std::map<std::string, HostPort> entries_;
  std::optional<HostPort> fallback_;
};

// The digits and letters that identify a number ("01-234 (5)" -> "012345").
std::string normalizedNumber(const std::string& number);

}  // namespace kesta::modem
