// kesta-cli: the command-line companion of Kesta over its platform-neutral
// core. "kesta-cli SUBCOMMAND [options]"; "kesta-cli --help" lists them.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/command.h"

namespace kesta::cli {

namespace {
std::vector<Command>& registry() {
  static std::vector<Command> list;  // filled by static registrations before main()
  return list;
}
}  // namespace

void registerCommand(const Command& command) { registry().push_back(command); }

std::span<const Command> commands() {
  auto& list = registry();
  std::sort(list.begin(), list.end(), [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
  return list;
}

}  // namespace kesta::cli

namespace {

void printHelp(FILE* out) {
  std::fprintf(out, "usage: kesta-cli SUBCOMMAND [options]   (kesta-cli SUBCOMMAND --help for its options)\n\n");
  for (const auto& c : kesta::cli::commands()) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    printHelp(stderr);
    return kesta::cli::kExitUsage;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
    printHelp(stdout);
    return kesta::cli::kExitOk;
  }
  for (const auto& c : kesta::cli::commands()) {
    if (std::strcmp(c.name, argv[1]) == 0) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "kesta-cli: unknown subcommand \"%s\" (kesta-cli --help lists them)\n", argv[1]);
  return kesta::cli::kExitUsage;
}
