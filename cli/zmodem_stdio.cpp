#include "cli/zmodem_stdio.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "cli/command.h"
#include "zlink/console_reporter.h"
#include "zlink/fd_channel.h"

namespace kesta::cli {

int runStdioZmodem(const char* command, bool telnet, bool quiet, long timeoutTenths,
                   const std::function<int(zlink::SessionConfig&)>& session) {
  // A peer that goes away must end the session with a result, not a signal.
  std::signal(SIGPIPE, SIG_IGN);
  zlink::FdChannel channel(STDIN_FILENO, STDOUT_FILENO, telnet);
  zlink::ConsoleReporter reporter(stderr, quiet);
  zlink::SessionConfig config;
  config.channel = &channel;
  config.reporter = &reporter;
  config.telnet = telnet;
  config.timing.waits = static_cast<int>(timeoutTenths);
  const int result = session(config);
  reporter.summary();
  if (result != zlink::kResultSuccess) {
    std::fprintf(stderr, "kesta-cli %s: transfer failed (result %d)\n", command, result);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace kesta::cli
