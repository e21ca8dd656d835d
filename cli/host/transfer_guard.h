// What keeps a transfer of the demo host within bounds: a channel that
// reads as closed once the host is stopping (so a session waiting on a
// silent user ends at once), and a reporter that cancels an upload growing
// past its limit.
#pragma once

#include <atomic>
#include <cstdint>

#include "zlink/channel.h"
#include "zlink/progress.h"

namespace kesta::host {

class StoppableChannel : public zlink::ByteChannel {
 public:
  StoppableChannel(zlink::ByteChannel& inner, const std::atomic<bool>& stop) : inner_(inner), stop_(stop) {}
  int readByte(int waitMs) override { return stop_ ? kClosed : inner_.readByte(waitMs); }
  int readSome(uint8_t* buffer, int max, int waitMs) override {
    return stop_ ? kClosed : inner_.readSome(buffer, max, waitMs);
  }
  bool write(const uint8_t* data, size_t size) override { return !stop_ && inner_.write(data, size); }
  void discardInput() override { inner_.discardInput(); }
  void discardOutput() override { inner_.discardOutput(); }

 private:
  zlink::ByteChannel& inner_;
  const std::atomic<bool>& stop_;
};

class SizeLimitReporter : public zlink::ProgressReporter {
 public:
  // Sets `cancel` when the bytes announced or received pass `mostBytes`.
  SizeLimitReporter(std::uintmax_t mostBytes, std::atomic<bool>& cancel) : most_(mostBytes), cancel_(cancel) {}
  void status(std::string_view) override {}
  void fileSize(long size) override { check(size); }
  void totalSize(long size) override { check(size); }
  void allBytes(long done) override { check(done); }
  bool exceeded() const { return exceeded_; }

 private:
  void check(long bytes) {
    if (bytes > 0 && static_cast<std::uintmax_t>(bytes) > most_) {
      exceeded_ = true;
      cancel_ = true;
    }
  }
  std::uintmax_t most_;
  std::atomic<bool>& cancel_;
  bool exceeded_ = false;
};

}  // namespace kesta::host
