// kesta-cli rz [DIR]: receives files with ZMODEM over standard input and
// output into DIR (default: the current directory), progress on standard
// error.
#include <cstdio>
#include <filesystem>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/zmodem_stdio.h"

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

  return kesta::cli::runStdioZmodem("rz", args.has("--telnet"), args.has("--quiet"), tenths,
                                     [&](kesta::zlink::SessionConfig& config) { return kesta::zlink::receiveFiles(config, directory); });
}

}  // namespace

KESTA_CLI_COMMAND("rz", "receive files with ZMODEM over standard input and output", runRz);
