// kesta-cli host: a small demo bulletin board over telnet on 127.0.0.1,
// with a board, a file library (ZMODEM both ways) and a chat room.
#include <csignal>
#include <cstdio>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/host/host_server.h"

namespace {

const char kUsage[] =
    "usage: kesta-cli host [--port N] [--code N] [--data DIR] [--max-upload MB]\n"
    "Runs a small demo bulletin board on 127.0.0.1 over telnet until stopped\n"
    "(Ctrl-C, SIGTERM): welcome screen, board, file library with ZMODEM\n"
    "downloads and uploads, chat room. One line per connection on standard error.\n"
    "  --port N    TCP port (default 2323; 0 picks a free one)\n"
    "  --code N    Hangul code of the screens, 1..9, 9 for UTF-8 (default 6, code page 949)\n"
    "  --data DIR  where posts, files/ and upload/ are kept (default kesta-host-data)\n"
    "  --max-upload MB  the most one upload session may bring (default 64)\n";

kesta::host::HostServer* running = nullptr;

void onStopSignal(int) {
  if (running) running->stop();
}

int runHost(int argc, char** argv) {
  kesta::cli::Args args({"--port", "--code", "--data", "--max-upload"}, {});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("host", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kesta::cli::kExitOk;
  }
  if (!args.positional().empty()) return kesta::cli::usageError("host", "unexpected argument " + args.positional()[0]);
  kesta::host::HostOptions options;
  long port = options.port, code = options.codeType;
  long mostUploadMb = static_cast<long>(options.limits.mostUploadBytes >> 20);
  if (!args.intValue("--port", 0, 65535, &port) || !args.intValue("--code", 1, 9, &code) ||
      !args.intValue("--max-upload", 1, 1 << 20, &mostUploadMb))
    return kesta::cli::usageError("host", args.error());
  options.port = static_cast<int>(port);
  options.codeType = static_cast<int>(code);
  options.limits.mostUploadBytes = static_cast<std::uintmax_t>(mostUploadMb) << 20;
  if (auto data = args.value("--data")) options.dataDirectory = *data;

  std::signal(SIGPIPE, SIG_IGN);
  kesta::host::HostServer server(options, stderr);
  std::string error;
  if (!server.start(&error)) {
    std::fprintf(stderr, "kesta-cli host: %s\n", error.c_str());
    return kesta::cli::kExitFailure;
  }
  running = &server;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::fprintf(stderr, "kesta-cli host: listening on 127.0.0.1:%d, code %d, data in %s\n", server.port(),
               options.codeType, options.dataDirectory.c_str());
  std::fflush(stderr);
  server.serve();
  running = nullptr;
  std::fprintf(stderr, "kesta-cli host: stopped\n");
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("host", "run a demo bulletin board over telnet on 127.0.0.1", runHost);
