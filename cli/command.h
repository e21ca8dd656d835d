// The subcommand registry of kesta-cli. A subcommand file defines a run
// function and registers it with KESTA_CLI_COMMAND; main() dispatches.
#pragma once

#include <span>
#include <string_view>

namespace kesta::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// argv[0] is the subcommand's name; the rest are its arguments.
using CommandFn = int (*)(int argc, char** argv);

struct Command {
  const char* name;
  const char* summary;  // one line for "kesta-cli --help"
  CommandFn run;
};

void registerCommand(const Command& command);
std::span<const Command> commands();

struct Registration {
  Registration(const char* name, const char* summary, CommandFn run) { registerCommand({name, summary, run}); }
};

}  // namespace kesta::cli

#define KESTA_CLI_CONCAT2(a, b) a##b
#define KESTA_CLI_CONCAT(a, b) KESTA_CLI_CONCAT2(a, b)
// KESTA_CLI_COMMAND("convert", "convert between Hangul codes", runConvert);
#define KESTA_CLI_COMMAND(name, summary, fn) \
  static const ::kesta::cli::Registration KESTA_CLI_CONCAT(kestaCliRegistration_, __LINE__)(name, summary, fn)
