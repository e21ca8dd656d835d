// A progress reporter for a console: each status text on a line of its own
// on a stream (standard error for kesta-cli), with the counters summed up
// at the end. Lines are gathered and written at most every tenth of a
// second (one write per sub-packet cost a receiver a tenth of its time).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "zlink/progress.h"

namespace kesta::zlink {

class ConsoleReporter : public ProgressReporter {
 public:
  explicit ConsoleReporter(std::FILE* out, bool quiet = false) : out_(out), quiet_(quiet) {}
  ~ConsoleReporter() override { flush(); }
  ConsoleReporter(const ConsoleReporter&) = delete;
  ConsoleReporter& operator=(const ConsoleReporter&) = delete;

  void status(std::string_view text) override;
  void fileName(std::string_view name) override;
  void fileSize(long size) override { fileSize_ = size; }
  void fileNumber(int number, int count) override;
  void packetLength(long bytes) override { moved_ = bytes; }
  void cps(int value) override { cps_ = value; }
  void errors(int consecutive, int total) override {
    consecutive_ = consecutive;
    total_ = total;
  }
  void elapsed(long seconds) override { elapsed_ = seconds; }

  // "N bytes, N CPS, errors n/m, elapsed hh:mm.ss".
  void summary();
  // Writes the lines gathered so far.
  void flush();

 private:
  void add(const char* format, ...) __attribute__((format(printf, 2, 3)));

  std::string pending_;
  std::chrono::steady_clock::time_point lastWrite_ = std::chrono::steady_clock::now();
  std::FILE* out_;
  bool quiet_;
  long fileSize_ = 0;
  long moved_ = 0;
  int cps_ = 0;
  int consecutive_ = 0;
  int total_ = 0;
  long elapsed_ = 0;
  std::string name_;
};

}  // namespace kesta::zlink
