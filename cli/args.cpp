#include "cli/args.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "cli/command.h"

namespace kesta::cli {

Args::Args(std::set<std::string> valueOptions, std::set<std::string> flagOptions)
    : valueOptions_(std::move(valueOptions)), flagOptions_(std::move(flagOptions)) {
  flagOptions_.insert("--help");
  flagOptions_.insert("-h");
}

bool Args::parse(int argc, char** argv) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    if (flagOptions_.count(name)) {
      if (inlineValue) {
        error_ = name + " takes no value";
        return false;
      }
      values_[name] = "";
    } else if (valueOptions_.count(name)) {
      if (inlineValue) {
        values_[name] = *inlineValue;
      } else if (i + 1 < argc) {
        values_[name] = argv[++i];
      } else {
        error_ = name + " needs a value";
        return false;
      }
    } else {
      error_ = "unknown option " + name + " (try --help)";
      return false;
    }
  }
  return true;
}

bool Args::has(const std::string& name) const { return values_.count(name) != 0; }

std::optional<std::string> Args::value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

bool Args::intValue(const std::string& name, long lo, long hi, long* out) {
  auto v = value(name);
  if (!v) return true;
  errno = 0;
  char* end = nullptr;
  long n = std::strtol(v->c_str(), &end, 10);
  if (v->empty() || *end != '\0' || errno != 0 || n < lo || n > hi) {
    error_ = name + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi);
    return false;
  }
  *out = n;
  return true;
}

int usageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "kesta-cli %s: %s\n", command, message.c_str());
  return kExitUsage;
}

}  // namespace kesta::cli
