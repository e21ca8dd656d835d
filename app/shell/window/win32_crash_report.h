// A crash leaves a report in the program's folder ("kesta10.crash.txt"):
// the exception, where it happened and the return addresses of the stack,
// each as a module and an offset (addr2line on the build turns them into
// lines). A program that vanishes without a message can then be looked into.
#pragma once

namespace kesta::shell {

// Installs the report for unhandled exceptions; the default handling (the
// system's own report) still follows.
void installCrashReport();

}  // namespace kesta::shell
