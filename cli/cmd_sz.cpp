// kesta-cli sz FILE: sends one file with ZMODEM over standard input and
// output, progress on standard error.
#include <cstdio>
#include <filesystem>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/zmodem_stdio.h"

namespace {

const char kUsage[] =
    "usage: kesta-cli sz [--telnet] [--timeout TENTHS] [--quiet] [--no-stream] FILE\n"
    "Sends FILE with ZMODEM over standard input and output; progress goes to\n"
    "standard error. Exit status 0 only when the transfer succeeded.\n"
    "  --telnet          the stream follows the telnet byte rules (0xFF doubled)\n"
    "  --timeout TENTHS  character time-out in tenths of a second (default 1400)\n"
    "  --quiet           no progress, errors only\n"
    "  --no-stream       every sub-packet waits for its ZACK (by default a\n"
    "                    receiver that takes data while it answers gets a stream)\n"
    "  --stream          the default, accepted as before\n";

int runSz(int argc, char** argv) {
  kesta::cli::Args args({"--timeout"}, {"--telnet", "--quiet", "--stream", "--no-stream"});
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

  return kesta::cli::runStdioZmodem("sz", args.has("--telnet"), args.has("--quiet"), tenths,
                                     [&](kesta::zlink::SessionConfig& config) {
                                       config.stream = !args.has("--no-stream");
                                       return kesta::zlink::sendFile(config, path);
                                     });
}

}  // namespace

KESTA_CLI_COMMAND("sz", "send a file with ZMODEM over standard input and output", runSz);
