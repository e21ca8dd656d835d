// kesta-cli sz FILE: sends one file with ZMODEM over standard input and
// output, progress on standard error.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "cli/args.h"
#include "cli/command.h"
#include "zlink/console_reporter.h"
#include "zlink/fd_channel.h"
#include "zlink/session.h"

namespace {

const char kUsage[] =
    "usage: kesta-cli sz [--telnet] [--timeout TENTHS] [--quiet] FILE\n"
    "Sends FILE with ZMODEM over standard input and output; progress goes to\n"
    "standard error. Exit status 0 only when the transfer succeeded.\n"
    "  --telnet          the stream follows the telnet byte rules (0xFF doubled)\n"
    "  --timeout TENTHS  character time-out in tenths of a second (default 1400)\n"
    "  --quiet           no progress, errors only\n";

int runSz(int argc, char** argv) {
  kesta::cli::Args args({"--timeout"}, {"--telnet", "--quiet"});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("sz", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kesta::cli::kExitOk;
  }
  if (args.positional().size() != 1) return kesta::cli::usageError("sz", "expected one FILE");
  long tenths = 1400;
  if (!args.intValue("--timeout", 1, 100000, &tenths)) return kesta::cli::usageError("sz", args.error());
  const std::string& path = args.positional()[0];
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    std::fprintf(stderr, "kesta-cli sz: %s is a directory\n", path.c_str());
    return kesta::cli::kExitFailure;
  }
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) {
    std::fprintf(stderr, "kesta-cli sz: cannot open %s\n", path.c_str());
    return kesta::cli::kExitFailure;
  }
  std::fclose(probe);

  std::signal(SIGPIPE, SIG_IGN);
  kesta::zlink::FdChannel channel(STDIN_FILENO, STDOUT_FILENO, args.has("--telnet"));
  kesta::zlink::ConsoleReporter reporter(stderr, args.has("--quiet"));
  kesta::zlink::SessionConfig config;
  config.channel = &channel;
  config.reporter = &reporter;
  config.telnet = args.has("--telnet");
  config.timing.waits = static_cast<int>(tenths);
  int result = kesta::zlink::sendFile(config, path);
  reporter.summary();
  if (result != kesta::zlink::kResultSuccess) {
    std::fprintf(stderr, "kesta-cli sz: transfer failed (result %d)\n", result);
    return kesta::cli::kExitFailure;
  }
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("sz", "send a file with ZMODEM over standard input and output", runSz);
