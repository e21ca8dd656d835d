// The part of kesta-cli sz and rz they share: one ZMODEM session over
// standard input and output, progress on standard error.
#pragma once

#include <functional>

#include "zlink/session.h"

namespace kesta::cli {

// Sets up the channel (with the telnet byte rules when `telnet`), the console
// reporter and the character time-out, runs `session` and turns its result
// into the exit status, saying on standard error when the transfer failed.
int runStdioZmodem(const char* command, bool telnet, bool quiet, long timeoutTenths,
                   const std::function<int(zlink::SessionConfig&)>& session);

}  // namespace kesta::cli
