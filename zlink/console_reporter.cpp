#include "zlink/console_reporter.h"

#include <cstdarg>

namespace kesta::zlink {

namespace {
constexpr auto kWriteEvery = std::chrono::milliseconds(100);
constexpr size_t kMostGathered = 16384;
}  // namespace

void ConsoleReporter::add(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (n < 0) return;
  pending_.append(line, static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1);
  const auto now = std::chrono::steady_clock::now();
  if (pending_.size() >= kMostGathered || now - lastWrite_ >= kWriteEvery) flush();
}

void ConsoleReporter::flush() {
  lastWrite_ = std::chrono::steady_clock::now();
  if (pending_.empty()) return;
  std::fwrite(pending_.data(), 1, pending_.size(), out_);
  std::fflush(out_);
  pending_.clear();
}

void ConsoleReporter::status(std::string_view text) {
  if (quiet_) return;
  add("%.*s\n", static_cast<int>(text.size()), text.data());
}

void ConsoleReporter::fileName(std::string_view name) { name_.assign(name); }

void ConsoleReporter::fileNumber(int number, int count) {
  if (quiet_) return;
  add("File Name : %s  File No. : %s\n", name_.c_str(), formatFileNumber(number, count).c_str());
}

void ConsoleReporter::summary() {
  if (quiet_) return;
  add("Packet LEN : %ld bytes  CPS : %d CPS  Errors : %s  Elapsed T. : %s\n", moved_, cps_,
      formatErrors(consecutive_, total_).c_str(), formatClock(elapsed_).c_str());
  flush();
}

}  // namespace kesta::zlink
