// kesta-cli modem: a Hayes-style modem on a pseudo-terminal whose calls
// are telnet connections.
#include <csignal>
#include <cstdio>

#include "cli/args.h"
#include "cli/command.h"
#include "cli/modem/pty_modem.h"

namespace {

const char kUsage[] =
    "usage: kesta-cli modem --link PATH [--host HOST:PORT] [--numbers FILE]\n"
    "Emulates a Hayes modem on a pseudo-terminal, reached through the symbolic\n"
    "link PATH (for Wine: link dosdevices/com2 to it and name its device under\n"
    "HKLM\\Software\\Wine\\Ports, see docs/demo-host.md). AT commands are\n"
    "answered with OK or ERROR; ATDT NUMBER calls a telnet host and answers\n"
    "CONNECT 38400, then passes bytes both ways; +++ (with a second of silence\n"
    "around it) returns to commands, ATH hangs up with NO CARRIER, as do the\n"
    "host closing, the line speed set to 0 and the port closed. Runs until\n"
    "stopped (Ctrl-C, SIGTERM); one line per event on standard error.\n"
    "  --host HOST:PORT  where every number leads (unless the table has it)\n"
    "  --numbers FILE    a table of \"NUMBER HOST:PORT\" lines (# comments)\n"
    "A number of the form HOST:PORT (ATDT127.0.0.1:2323) is called as it is.\n";

kesta::modem::PtyModem* running = nullptr;

void onStopSignal(int) {
  if (running) running->stop();
}

int runModem(int argc, char** argv) {
  kesta::cli::Args args({"--link", "--host", "--numbers"}, {});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("modem", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kesta::cli::kExitOk;
  }
  if (!args.positional().empty())
    return kesta::cli::usageError("modem", "unexpected argument " + args.positional()[0]);
  auto link = args.value("--link");
  if (!link || link->empty()) return kesta::cli::usageError("modem", "--link PATH is required");
  kesta::modem::ModemOptions options;
  options.link = *link;
  if (auto host = args.value("--host")) {
    auto target = kesta::modem::parseHostPort(*host);
    if (!target) return kesta::cli::usageError("modem", "--host wants HOST:PORT, not " + *host);
    options.directory.setDefault(*target);
  }
  if (auto numbers = args.value("--numbers")) {
    std::string error;
    if (!options.directory.load(*numbers, &error)) return kesta::cli::usageError("modem", error);
  }

  std::signal(SIGPIPE, SIG_IGN);
  kesta::modem::PtyModem modem(std::move(options), stderr);
  std::string error;
  if (!modem.start(&error)) {
    std::fprintf(stderr, "kesta-cli modem: %s\n", error.c_str());
    return kesta::cli::kExitFailure;
  }
  running = &modem;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  modem.serve();
  running = nullptr;
  return kesta::cli::kExitOk;
}

}  // namespace

KESTA_CLI_COMMAND("modem", "emulate a Hayes modem on a pseudo-terminal, calling telnet hosts", runModem);
