#include "zlink/console_reporter.h"

namespace kesta::zlink {

void ConsoleReporter::status(std::string_view text) {
  if (quiet_) return;
  std::fprintf(out_, "%.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(out_);
}

void ConsoleReporter::fileName(std::string_view name) { name_.assign(name); }

void ConsoleReporter::fileNumber(int number, int count) {
  if (quiet_) return;
  std::fprintf(out_, "File Name : %s  File No. : %s\n", name_.c_str(), formatFileNumber(number, count).c_str());
}

void ConsoleReporter::summary() {
  if (quiet_) return;
  std::fprintf(out_, "Packet LEN : %ld bytes  CPS : %d CPS  Errors : %s  Elapsed T. : %s\n", moved_, cps_,
               formatErrors(consecutive_, total_).c_str(), formatClock(elapsed_).c_str());
}

}  // namespace kesta::zlink
