// A small option parser for subcommands: "--name value", "--name=value",
// boolean "--flag", and positional arguments, with one-line errors.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kesta::cli {

class Args {
 public:
  // valueOptions take a value ("--from 6"); flagOptions do not ("--trace").
  // "-h" and "--help" are always known flags.
  Args(std::set<std::string> valueOptions, std::set<std::string> flagOptions);

  // Parses argv[1..argc-1]. On a bad argument returns false and error() says why.
  bool parse(int argc, char** argv);

  bool has(const std::string& name) const;
  std::optional<std::string> value(const std::string& name) const;
  // An integer option in [lo, hi]; returns false (and sets error()) when the
  // value is present but not such an integer. Absent leaves *out unchanged.
  bool intValue(const std::string& name, long lo, long hi, long* out);
  const std::vector<std::string>& positional() const { return positional_; }
  bool wantsHelp() const { return has("--help") || has("-h"); }
  const std::string& error() const { return error_; }

 private:
  std::set<std::string> valueOptions_;
  std::set<std::string> flagOptions_;
  std::map<std::string, std::string> values_;
  std::vector<std::string> positional_;
  std::string error_;
};

// Prints "kesta-cli NAME: MESSAGE" to standard error and returns kExitUsage.
int usageError(const char* command, const std::string& message);

}  // namespace kesta::cli
