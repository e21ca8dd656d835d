// kesta-cli rz [DIR]: receives files with ZMODEM over standard input and
// output into DIR (default: the current directory), progress on standard
// error.
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
    "usage: kesta-cli rz [--telnet] [--timeout TENTHS] [--quiet] [DIR]\n"
    "Receives files with ZMODEM over standard input and output into DIR (the\n"
    "current directory when none is given); an existing file is continued from\n"
    "its size. Progress goes to standard error. Exit status 0 only when the\n"
    "transfer succeeded.\n"
    "  --telnet          the stream follows the telnet byte rules (0xFF doubled)\n"
    "  --timeout TENTHS  character time-out in tenths of a second (default 1400)\n"
    "  --quiet           no progress, errors only\n";

int runRz(int argc, char** argv) {
  kesta::cli::Args args({"--timeout"}, {"--telnet", "--quiet"});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("rz", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kesta::cli::kExitOk;
  }
  if (args.positional().size() > 1) return kesta::cli::usageError("rz", "expected at most one DIR");
  long tenths = 1400;
  if (!args.intValue("--timeout", 1, 100000, &tenths)) return kesta::cli::usageError("rz", args.error());
  std::string directory = args.positional().empty() ? "." : args.positional()[0];
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error)) {
    std::fprintf(stderr, "kesta-cli rz: %s is not a directory\n", directory.c_str());
    return kesta::cli::kExitFailure;
  }

  std::signal(SIGPIPE, SIG_IGN);
  kesta::zlink::FdChannel channel(STDIN_FILENO, STDOUT_FILENO, args.has("--telnet"));
  kesta::zlink::ConsoleReporter reporter(stderr, args.has("--quiet"));
  kesta::zlink::SessionConfig config;
  config.channel = &channel;
  config.reporter = &reporter;
  config.telnet = args.has("--telnet");
  config.timing.waits = static_cast<int>(tenths);
  int result = kesta::zlink::receiveFiles(config, directory);
  reporter.summary();
  if (result != kesta::zlink::kResultSuccess) {
    std::fprintf(stderr, "kesta-cli rz: transfer failed (result %d)\n", result);
    return kesta::cli::kExitFailure;
  }
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("rz", "receive files with ZMODEM over standard input and output", runRz);
