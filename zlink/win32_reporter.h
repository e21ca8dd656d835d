// The progress reporter of the dialog. The session thread only records
// the new texts and posts one message; the dialog's thread writes them into
// its fields. The session thread never waits for the dialog's thread, so a
// dialog busy with a Cancel cannot stall it (nor it the dialog).
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "zlink/progress.h"

namespace kesta::zlink {

inline constexpr UINT kProgressMessage = WM_APP + 0x10;

class DialogReporter : public ProgressReporter {
 public:
  explicit DialogReporter(HWND dialog) : dialog_(dialog) {}

  void status(std::string_view text) override;
  void fileName(std::string_view name) override;
  void fileSize(long size) override;
  void fileNumber(int number, int count) override;
  void totalSize(long size) override;
  void thisFileBytes(long bytes) override;
  void allBytes(long bytes) override;
  void packetLength(long bytes) override;
  void subPacketLength(int bytes) override;
  void cps(int value) override;
  void errors(int consecutive, int total) override;
  void estimated(long seconds) override;
  void fileMeter(long range, long position) override;
  void totalMeter(long range, long position) override;
  // The elapsed field is not the engine's: the dialog's 1-second timer alone
  // writes it, so it neither jumps between two clocks nor stands still
  // while the line is silent.

  // On the dialog's thread, for kProgressMessage: shows what changed.
  void apply(HWND fileMeterWindow, HWND totalMeterWindow);

 private:
  static constexpr int kFirstField = 1000;
  static constexpr int kFieldCount = 14;  // 1000 ... 1013
  struct Meter {
    long range = 0;
    long position = 0;
    bool changed = false;
  };

  void setField(int id, std::string text);
  void setMeter(Meter& meter, long range, long position);
  void notify();

  HWND dialog_;
  std::mutex lock_;
  std::array<std::string, kFieldCount> texts_;
  std::array<bool, kFieldCount> changed_{};
  Meter file_, total_;
  std::atomic<bool> posted_{false};
};

}  // namespace kesta::zlink
