// How a transfer shows its progress: a status line, the file fields, the
// counters and the two meters. A progress dialog, a console or a test
// implements it; every method but status() may be left as it is.
#pragma once

#include <string>
#include <string_view>

namespace kesta::zlink {

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;

  virtual void status(std::string_view text) = 0;
  virtual void fileName(std::string_view) {}
  virtual void fileSize(long) {}
  virtual void fileNumber(int /*number*/, int /*count*/) {}
  virtual void totalSize(long) {}
  virtual void thisFileBytes(long) {}           // done in this file
  virtual void allBytes(long) {}                // done in all files
  virtual void packetLength(long) {}            // bytes moved in the data phase
  virtual void subPacketLength(int) {}
  virtual void cps(int) {}
  virtual void errors(int /*consecutive*/, int /*total*/) {}
  virtual void elapsed(long /*seconds*/) {}
  virtual void estimated(long /*seconds*/) {}
  virtual void fileMeter(long /*range*/, long /*position*/) {}
  virtual void totalMeter(long /*range*/, long /*position*/) {}
};

// A reporter that shows nothing.
class SilentReporter : public ProgressReporter {
 public:
  void status(std::string_view) override {}
};

// "%02d:%02d.%02ld": hours, minutes, seconds.
std::string formatClock(long seconds);
// "%d/%d": consecutive and total errors.
std::string formatErrors(int consecutive, int total);
// "%d of %d".
std::string formatFileNumber(int number, int count);

}  // namespace kesta::zlink
